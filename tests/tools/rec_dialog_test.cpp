#include "tools/ui/rec.h"

#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

// The record type dialog: which choices the devices allow, the type it
// selects, and one start per confirmation.
class RecDialogTest : public QObject
{
    Q_OBJECT

private:
    QStringList m_selRecType{"Select Recording Type", "Audio", "Video", "Screen", "Input test"};
    QStringList m_common{"OK", "Cancel"};

    static QRadioButton* radio(rec& dialog, const char* name) { return dialog.findChild<QRadioButton*>(name); }
    static QPushButton* button(rec& dialog, const char* name) { return dialog.findChild<QPushButton*>(name); }

private slots:
    void choicesFollowTheDevices_data()
    {
        QTest::addColumn<int>("cameras");
        QTest::addColumn<int>("microphones");
        QTest::addColumn<bool>("video");
        QTest::addColumn<bool>("audio");
        QTest::newRow("no devices: only the screen") << 0 << 0 << false << false;
        QTest::newRow("a camera") << 1 << 0 << true << false;
        QTest::newRow("a microphone") << 0 << 2 << false << true;
        QTest::newRow("both") << 3 << 1 << true << true;
    }

    void choicesFollowTheDevices()
    {
        QFETCH(int, cameras);
        QFETCH(int, microphones);
        rec dialog;
        dialog.SetLanguageText(&m_selRecType, &m_common);
        dialog.SetButtonsEnabled(cameras, microphones);
        QTEST(radio(dialog, "video")->isEnabled(), "video");
        QTEST(radio(dialog, "audio")->isEnabled(), "audio");
        QVERIFY(radio(dialog, "screen")->isEnabled());
        // The form starts on video until a type is selected.
        QVERIFY(radio(dialog, "video")->isChecked());
        QCOMPARE(dialog.size(), QSize(481, 139));
        QCOMPARE(radio(dialog, "audio")->text(), QString("Audio"));
        QCOMPARE(button(dialog, "ok_btn")->text(), QString("OK"));
        QVERIFY(button(dialog, "input_test")->isHidden());
    }

    void selectedTypeIsTheOneStarted_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("started");
        QTest::newRow("video") << 0 << 0;
        QTest::newRow("audio") << 1 << 1;
        QTest::newRow("screen") << 2 << 2;
        QTest::newRow("ask each time changes nothing") << 3 << 1;
    }

    void selectedTypeIsTheOneStarted()
    {
        QFETCH(int, type);
        rec dialog;
        dialog.SetLanguageText(&m_selRecType, &m_common);
        dialog.SetButtonsEnabled(1, 1);
        dialog.SetRecType(1);
        dialog.SetRecType(type);
        QSignalSpy started(&dialog, &rec::CallRecStart);
        dialog.show();
        button(dialog, "ok_btn")->click();
        QTRY_COMPARE(started.count(), 1);
        QTEST(started.at(0).at(0).toInt(), "started");
        QTRY_VERIFY(!dialog.isVisible());
    }

    // The start arrives queued from the worker; a second press before it
    // does must not start a second recording. Shown again, the dialog can
    // be confirmed again.
    void twoQuickConfirmationsStartOnce()
    {
        rec dialog;
        dialog.SetLanguageText(&m_selRecType, &m_common);
        QSignalSpy started(&dialog, &rec::CallRecStart);
        dialog.show();
        button(dialog, "ok_btn")->click();
        button(dialog, "ok_btn")->click();
        QTRY_VERIFY(!dialog.isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(started.count(), 1, 5000);
        QTest::qWait(100);  // a second start that must not come gives no sign to wait for
        QCOMPARE(started.count(), 1);

        dialog.show();
        QVERIFY(button(dialog, "ok_btn")->isEnabled());
        QVERIFY(button(dialog, "cancel_btn")->isEnabled());
        button(dialog, "ok_btn")->click();
        QTRY_COMPARE(started.count(), 2);
    }

    void cancelStartsNothing()
    {
        rec dialog;
        dialog.SetLanguageText(&m_selRecType, &m_common);
        QSignalSpy started(&dialog, &rec::CallRecStart);
        dialog.show();
        button(dialog, "cancel_btn")->click();
        QVERIFY(!dialog.isVisible());
        QTest::qWait(100);  // a start that must not come gives no sign to wait for
        QCOMPARE(started.count(), 0);
    }
};

QTEST_MAIN(RecDialogTest)
#include "rec_dialog_test.moc"
