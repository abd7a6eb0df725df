#include "tests/support/patchora_driver.h"
#include "tests/support/test_folders.h"
#include "tests/support/zip_fixture.h"

#include <QDir>
#include <QFile>
#include <QRect>
#include <QtTest>

#include <memory>

#include <signal.h>

// The real updater at start-up: what it does to the parameter file, its
// single-instance guard and its question window.
class PatchoraStartTest : public QObject
{
    Q_OBJECT

private:
    static QByteArray parameters(const QString& root, const QByteArray& eol)
    {
        QByteArray text = "; written by the update bridge" + eol + "[Keep]" + eol + "ManagerParam1=untouched" + eol + eol
                          + "[AutoUpdate]" + eol;
        const QList<QByteArray> values = {"http://127.0.0.1:9/", (root + QStringLiteral("/work/")).toUtf8(), "NORVANE",
                                          "Dravik", "5.0", "Windows", "5.0.0.32",
                                          (root + QStringLiteral("/install/")).toUtf8(), "Dravik", "ENU"};
        for (int n = 1; n <= values.size(); ++n)
            text += "ManagerParam" + QByteArray::number(n) + "=" + values.at(n - 1) + eol;
        text += "NextAskDate=2026-01-01" + eol + "BackgroudDownload=false" + eol + "BackgroudDownloadVersion=" + eol;
        return text;
    }
    static QByteArray blanked(const QByteArray& eol)
    {
        QByteArray text = "; written by the update bridge" + eol + "[Keep]" + eol + "ManagerParam1=untouched" + eol + eol
                          + "[AutoUpdate]" + eol;
        for (int n = 1; n <= 10; ++n)
            text += "ManagerParam" + QByteArray::number(n) + "=" + eol;
        text += "NextAskDate=2026-01-01" + eol + "BackgroudDownload=false" + eol + "BackgroudDownloadVersion=" + eol;
        return text;
    }

private slots:
    void nothingOfferedBlanksOnlyTheParameters_data()
    {
        QTest::addColumn<QByteArray>("eol");
        QTest::addColumn<QByteArray>("inf");
        QTest::newRow("CRLF, empty version") << QByteArray("\r\n") << QByteArray("[Update]\r\nNewVersion=\r\n");
        QTest::newRow("LF, no description file") << QByteArray("\n") << QByteArray();
    }
    void nothingOfferedBlanksOnlyTheParameters()
    {
        QFETCH(QByteArray, eol);
        QFETCH(QByteArray, inf);
        ScopedFolderRoot root;
        const QString ini = root.path() + QStringLiteral("/params.ini");
        WriteTestFile(ini, parameters(root.path(), eol));
        QDir().mkpath(root.path() + QStringLiteral("/work"));
        if (!inf.isEmpty())
            WriteTestFile(root.path() + QStringLiteral("/work/UpdateVersion.inf"), inf);

        PatchoraRun run({ini});
        bool dialogSeen = false;
        QVERIFY(WaitUntil([&] {
            dialogSeen = dialogSeen || !run.visibleWindows(QStringLiteral("Select Update Action")).isEmpty();
            return run.waitForExit(50);
        }, 20000));
        QCOMPARE(run.exitCode(), 0);
        QVERIFY(!dialogSeen);
        QVERIFY2(!run.log().contains("message:"), run.log().constData());
        QCOMPARE(ReadTestFile(ini), blanked(eol));
    }

    void noArgumentEndsAtOnce()
    {
        ScopedFolderRoot root;
        PatchoraRun run({});
        QVERIFY(run.waitForExit(10000));
        QCOMPARE(run.exitCode(), 1);
        QVERIFY(run.visibleWindows(QStringLiteral("Patchora")).isEmpty());
    }

    // A second updater is refused while the first asks; a killed updater does
    // not block the next one. The question stays open under Escape and Alt+F4.
    void singleInstanceAndQuestionWindow()
    {
        ScopedFolderRoot root;
        const QString ini = root.path() + QStringLiteral("/params.ini");
        WriteTestFile(root.path() + QStringLiteral("/work/UpdateVersion.inf"),
                  "[Update]\nNewVersion=5.0.0.33\n[UpdateFile]\nFileName=u.zip\n");
        WriteTestFile(ini, parameters(root.path(), "\n"));

        auto first = std::make_unique<PatchoraRun>(QStringList{ini});
        const QString question = first->waitForWindow(QStringLiteral("Select Update Action"), 15000);
        QVERIFY(!question.isEmpty());
        QRect geometry;
        QVERIFY(first->windowGeometry(question, &geometry));
        first->pressKey(question, QStringLiteral("Escape"));
        first->pressKey(question, QStringLiteral("alt+F4"));
        first->pressKey(question, QStringLiteral("Return"));
        // A window that stays gives no sign to wait for: the keys are given
        // the moment they take to arrive.
        QTest::qWait(500);
        QCOMPARE(first->visibleWindows(QStringLiteral("Select Update Action")), QStringList{question});

        WriteTestFile(ini, parameters(root.path(), "\n"));
        PatchoraRun second({ini});
        // Left unanswered for longer than the updater's start countdown, the
        // refused copy's box stays the only thing it shows: a question of its
        // own would take the answer meant for the box.
        QVERIFY(WaitUntil([&] { return second.messageCount(QStringLiteral("Patchora is already running.")) > 0; },
                          60000));
        QVERIFY2(second.waitForWindow(QStringLiteral("Select Update Action"), 3000).isEmpty(),
                 "the refused second updater asked about the update behind its box");
        QVERIFY(second.answerMessage(QStringLiteral("Patchora is already running.")));
        QVERIFY2(second.waitForExit(20000), "the refused second updater did not end once its box was answered");
        QCOMPARE(second.exitCode(), 1);
        QCOMPARE(ReadTestFile(ini), blanked("\n"));

        ::kill(static_cast<pid_t>(first->pid()), SIGKILL);
        QVERIFY(first->waitForExit(5000));
        first.reset();
        WriteTestFile(ini, parameters(root.path(), "\n"));
        PatchoraRun third({ini});
        QVERIFY(!third.waitForWindow(QStringLiteral("Select Update Action"), 15000).isEmpty());
        QCOMPARE(third.messageCount(QStringLiteral("Patchora is already running.")), 0);
    }
};

QTEST_MAIN(PatchoraStartTest)
#include "patchora_start_xtest.moc"
