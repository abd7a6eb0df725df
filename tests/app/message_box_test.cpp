#include "app/ui/message_box.h"

#include <QtTest>

// Boxes must never block an unattended run: with DRAVIK_NO_MODAL set they are
// logged and answer at once.
class MessageBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("DRAVIK_NO_MODAL", "1"); }

    void suppressedBoxIsLoggedAndAnswers_data()
    {
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("defaultButton");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("answer");
        QTest::newRow("critical ok") << int(QMessageBox::Critical) << int(QMessageBox::Ok)
                                     << int(QMessageBox::NoButton)
                                     << "message box critical:  | cannot load render module"
                                     << int(QMessageBox::Ok);
        QTest::newRow("question default no")
            << int(QMessageBox::Question) << int(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)
            << int(QMessageBox::No) << "message box question:  | cannot load render module"
            << int(QMessageBox::No);
        QTest::newRow("question first button")
            << int(QMessageBox::Question) << int(QMessageBox::Yes | QMessageBox::No)
            << int(QMessageBox::NoButton) << "message box question:  | cannot load render module"
            << int(QMessageBox::Yes);
    }

    void suppressedBoxIsLoggedAndAnswers()
    {
        QFETCH(int, icon);
        QFETCH(int, buttons);
        QFETCH(int, defaultButton);
        QFETCH(QString, line);
        QFETCH(int, answer);
        QTest::ignoreMessage(QtWarningMsg, line.toUtf8().constData());
        const auto result = ui::ShowMessageBox(QMessageBox::Icon(icon), nullptr, QString(),
                                               QStringLiteral("cannot load render module"),
                                               QMessageBox::StandardButtons(buttons),
                                               QMessageBox::StandardButton(defaultButton));
        QCOMPARE(int(result), answer);
    }

    void suppressedFileDialogCancels()
    {
        QTest::ignoreMessage(QtWarningMsg, "file dialog open: Open | /tmp");
        QVERIFY(ui::GetOpenFileName(nullptr, QStringLiteral("Open"), QStringLiteral("/tmp"),
                                    QStringLiteral("*.pdf"))
                    .isEmpty());
    }
};

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
