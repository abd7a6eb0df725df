// The hidden master-mode dialog: the access code, the five switches, and
// the board's live options shown each time it opens.
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"
#include "tests/support/test_folders.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

QRect Centred(int height)
{
    const QPoint c = QGuiApplication::primaryScreen()->geometry().center();
    return QRect(c.x() - 170, c.y() - height / 2, 340, height);
}

QString LabelText(QDialog* dialog, const char* label) { return dialog->findChild<QLabel*>(label)->text(); }

void Click(QDialog* dialog, const char* button)
{
    QPushButton* b = dialog->findChild<QPushButton*>(button);
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
}

void EnterCode(QDialog* dialog, const QString& code)
{
    dialog->findChild<QLineEdit*>("lineEdit_Pass")->setText(code);
    Click(dialog, "Btn_Pass");
}

}  // namespace

class MasterModeTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<MasterModedlg> m_dialog;

    // Runs `inside` while the board's master-mode dialog is open, then closes it.
    static void WhileOpen(Dialog& board, const std::function<void(MasterModedlg*)>& inside)
    {
        MasterModedlg* dialog = board.m_masterModeDlg;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&poll, dialog, inside]() {
            if (!dialog->isVisible())
                return;
            poll.stop();
            inside(dialog);
            dialog->close();
        });
        poll.start(20);
        board.MasterDlg_Show();
        QVERIFY(!poll.isActive());
    }

private slots:
    void initTestCase() { qputenv("DRAVIK_NO_MODAL", "1"); }

    void init()
    {
        m_dialog = std::make_unique<MasterModedlg>();
        m_dialog->CenterOnScreen();
    }

    void cleanup() { m_dialog.reset(); }

    void accessCode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("height");
        QTest::newRow("the code") << "tulip4827." << 260;
        QTest::newRow("a wrong letter") << "tulip4828." << 60;
        QTest::newRow("another case") << "Tulip4827." << 60;
        QTest::newRow("an extra character") << "tulip4827.." << 60;
        QTest::newRow("one character short") << "tulip4827" << 60;
        QTest::newRow("nothing") << "" << 60;
    }

    // Each try starts with the rows open: a wrong code closes them again.
    void accessCode()
    {
        QFETCH(QString, code);
        QFETCH(int, height);
        QCOMPARE(m_dialog->geometry(), Centred(60));
        EnterCode(m_dialog.get(), "tulip4827.");
        QCOMPARE(m_dialog->geometry(), Centred(260));
        EnterCode(m_dialog.get(), code);
        QCOMPARE(m_dialog->geometry(), Centred(height));
        QVERIFY(m_dialog->findChild<QLineEdit*>("lineEdit_Pass")->text().isEmpty());
        QCOMPARE(m_dialog->findChild<QLineEdit*>("lineEdit_Pass")->echoMode(), QLineEdit::Password);
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Master Mode"));
    }

    void switches_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("signal");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("startsOn");
        QTest::newRow("debug") << "Btn_debug" << "label_Debug" << SIGNAL(Call_Debug(bool)) << "Debug mode" << false;
        QTest::newRow("packets") << "Btn_Coll" << "label_Coll" << SIGNAL(Call_Coll(bool)) << "Collaboration packet"
                                 << false;
        QTest::newRow("cursor") << "Btn_Cursor" << "label_Cursor" << SIGNAL(Call_Cursor(bool)) << "Cursor Img"
                                << false;
        QTest::newRow("interpolation") << "Btn_Interpolation" << "label_Interpolation"
                                       << SIGNAL(Call_Interpolation(bool)) << "Interpolation" << true;
        QTest::newRow("antialiasing") << "Btn_Antialiasing" << "label_Antialiasing"
                                      << SIGNAL(Call_Antialiasing(bool)) << "Antialiasing" << true;
    }

    // Each press sends one signal with the state its label now shows.
    void switches()
    {
        QFETCH(QString, button);
        QFETCH(QString, label);
        QFETCH(QString, signal);
        QFETCH(QString, name);
        QFETCH(bool, startsOn);
        auto shown = [&](bool on) { return name + (on ? " : ON" : " : OFF"); };
        QSignalSpy sent(m_dialog.get(), qPrintable(signal));
        QSignalSpy anySent(m_dialog.get(), SIGNAL(Call_Debug(bool)));
        QCOMPARE(LabelText(m_dialog.get(), qPrintable(label)), shown(startsOn));
        for (int press = 1; press <= 2; ++press) {
            Click(m_dialog.get(), qPrintable(button));
            const bool now = (press % 2 == 1) != startsOn;
            QCOMPARE(sent.count(), press);
            QCOMPARE(sent.last().at(0).toBool(), now);
            QCOMPARE(LabelText(m_dialog.get(), qPrintable(label)), shown(now));
        }
        if (button != "Btn_debug")
            QCOMPARE(anySent.count(), 0);
    }

    // Opened from the board, the dialog shows the board's options as they
    // are, and its switches reach the board.
    void opensOnTheLiveOptions()
    {
        ScopedFolderRoot root;
        QTemporaryDir noLibraries;
        ScopedLibraryFolder libraries(noLibraries.path());
        Dialog board;
        board.InitDialog(false);
        QVERIFY(board.m_masterModeDlg);
        QCOMPARE(board.m_masterModeDlg->geometry(), Centred(60));

        QStringList labels;
        auto readLabels = [&labels](MasterModedlg* d) {
            labels.clear();
            for (const char* l : {"label_Debug", "label_Coll", "label_Cursor", "label_Interpolation",
                                  "label_Antialiasing"})
                labels << LabelText(d, l);
        };
        WhileOpen(board, [&](MasterModedlg* d) {
            readLabels(d);
            Click(d, "Btn_Antialiasing");
            Click(d, "Btn_Coll");
            Click(d, "Btn_Cursor");
        });
        QCOMPARE(labels, (QStringList{"Debug mode : OFF", "Collaboration packet : OFF", "Cursor Img : OFF",
                                      "Interpolation : ON", "Antialiasing : ON"}));
        QVERIFY(!board.m_antialiasing);
        QVERIFY(board.m_collPacketLog);
        QVERIFY(board.m_cursorImage && board.m_cursorLabel);

        // Changed elsewhere since: the next opening shows the board's state,
        // not the last presses.
        board.OptAntialiasing(true);
        board.OptCursor(false);
        board.m_interpolation = false;
        WhileOpen(board, readLabels);
        QCOMPARE(labels, (QStringList{"Debug mode : OFF", "Collaboration packet : ON", "Cursor Img : OFF",
                                      "Interpolation : OFF", "Antialiasing : ON"}));
        QVERIFY(!board.m_masterModeDlg->isVisible());
    }
};

QTEST_MAIN(MasterModeTest)
#include "master_mode_test.moc"
