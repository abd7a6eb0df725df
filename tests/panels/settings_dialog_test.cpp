#include "app/ui/dialog.h"
#include "panels/ui/configdlg.h"
#include "panels/ui/mastermodedlg.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

// The main window as the second stage leaves it, in a private folder root
// without outside libraries.
struct Board {
    ScopedFolderRoot root;
    std::unique_ptr<Dialog> dialog;

    explicit Board(const QStringList& cameras = QStringList(), const QString& savedCamera = QString())
    {
        qputenv("DRAVIK_LIBRARY_DIR", root.path().toLocal8Bit());
        dialog = std::make_unique<Dialog>();
        dialog->m_cam_list = cameras;
        dialog->m_config.CamDevice = savedCamera;
        dialog->InitDialog(false);
        qunsetenv("DRAVIK_LIBRARY_DIR");
    }
    ~Board() { dialog.reset(); }

    ConfigDlg& settings() { return *dialog->m_configDlg; }
    template <typename T>
    T* child(const char* name) { return settings().findChild<T*>(name); }
    QString configFile() const { return dialog->m_configFilePath; }
};

}  // namespace

class SettingsDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void madeOnceAndPlacedOnTheCanvas();
    void confirmAppliesAndWritesTheFile();
    void resetThenCancelChangesNothing();
    void resetThenConfirmWritesTheDefaults();
    void updateButtonSavesFirstWhenThereAreChanges();
    void savedCameraIsChosenAtStart_data();
    void savedCameraIsChosenAtStart();
    void dialogSignalsReachTheWindow();
};

void SettingsDialogTest::initTestCase()
{
    qputenv("DRAVIK_NO_MODAL", "1");
    qputenv("DRAVIK_MIXER", "/nonexistent/amixer");
    qInstallMessageHandler(CollectLog);
    // A board closed by an earlier test would otherwise end the application
    // and every dialog run after it with it.
    QApplication::setQuitOnLastWindowClosed(false);
}

void SettingsDialogTest::init()
{
    g_log.clear();
}

void SettingsDialogTest::madeOnceAndPlacedOnTheCanvas()
{
    Board board;
    Dialog& window = *board.dialog;
    QVERIFY(window.m_configDlg);
    QCOMPARE(window.m_configDlg->parent(), &window);
    QVERIFY(window.m_configDlg->isHidden());
    QCOMPARE(window.findChildren<ConfigDlg*>().size(), 1);
    QVERIFY(!board.child<QPushButton>("info_updatebtn")->isEnabled());
    // The language list comes from the language folder beside the program.
    QCOMPARE(board.child<QComboBox>("opt_langcombo")->count(), 24);
    QVERIFY(!board.child<QComboBox>("opt_langcombo")->itemText(1).isEmpty());

    window.m_canvasWidth = 1920;
    window.m_canvasHeight = 1080;
    window.OptConfigDlgSetPos();
    QCOMPARE(window.m_configDlg->geometry(), QRect(735, 300, 452, 520));

    window.OptConfiguration();
    QVERIFY(window.m_configDlg->isVisible());
    QCOMPARE(window.m_configDlg->windowTitle(), QString("Settings"));
    QCOMPARE(board.child<QLineEdit>("folder_edit")->text(), window.m_config.proj);
    window.m_canvasWidth = 1280;
    window.m_canvasHeight = 800;
    window.m_configDlg->close();
    QCOMPARE(window.m_configDlg->geometry(), QRect(415, 160, 452, 520));
}

void SettingsDialogTest::confirmAppliesAndWritesTheFile()
{
    Board board;
    Dialog& window = *board.dialog;
    window.m_config.upserver = "updates.example.org";  // carried through, never edited here
    window.m_config.ShowImportMsg = true;
    window.OptConfiguration();

    board.child<QToolButton>("pen_right_width2")->click();
    board.child<QComboBox>("note_colorcombo")->setCurrentText("blackboard color");
    board.child<QCheckBox>("opt_clearcheck")->setChecked(true);
    board.child<QComboBox>("rec_typeC")->setCurrentIndex(2);
    board.child<QLineEdit>("upload_lineEditID_Port")->setText("6100");
    board.child<QPushButton>("okbtn")->click();

    QVERIFY(window.m_configDlg->isHidden());
    QVERIFY(g_log.contains("ConfigDlg::SaveConfigData()"));
    QCOMPARE(window.m_config.FPenWidth2, 5);
    QCOMPARE(window.m_boardFillColor, window.m_blackboardColor);
    QCOMPARE(window.m_rec_type, 2);

    QSettings ini(board.configFile(), QSettings::IniFormat);
    QCOMPARE(ini.value("Pen/FPenWidth2").toInt(), 5);
    QCOMPARE(ini.value("Pen/FPenWidth4").toInt(), 10);
    QCOMPARE(ini.value("Note/color").toString(), QString("blackboard color"));
    QCOMPARE(ini.value("Option/erase").toBool(), true);
    QCOMPARE(ini.value("Record/Type").toInt(), 2);
    QCOMPARE(ini.value("Strova/Port").toString(), QString("6100"));
    QCOMPARE(ini.value("Option/upserver").toString(), QString("updates.example.org"));
    QCOMPARE(ini.value("Option/ShowImportMsg").toBool(), true);
    QCOMPARE(ini.value("Normal/proj").toString(), window.m_config.proj);
    QCOMPARE(ini.allKeys().size(), 42);
}

void SettingsDialogTest::resetThenCancelChangesNothing()
{
    Board board;
    Dialog& window = *board.dialog;
    ConfigInfomation edited = window.m_config;
    edited.color = "navy";
    edited.FPenWidth1 = 3;
    window.SaveConfigData(edited);
    const QByteArray fileBefore = [&] {
        QFile file(board.configFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    QVERIFY(!fileBefore.isEmpty());

    window.OptConfiguration();
    QCOMPARE(board.child<QComboBox>("note_colorcombo")->currentText(), QString("navy"));
    board.child<QPushButton>("Btn_Init")->click();
    QVERIFY(g_log.contains("Config_InitAll"));
    // The dialog shows the defaults ...
    QCOMPARE(board.child<QComboBox>("note_colorcombo")->currentText(), QString("white"));
    QCOMPARE(board.child<QTextEdit>("pen_text_width1")->toPlainText(), QString("1"));
    // ... while the board and its settings wait for the confirmation.
    QCOMPARE(window.m_config.color, QString("navy"));
    QCOMPARE(window.m_boardFillColor, QColor("navy"));

    board.child<QPushButton>("cancelbtn")->click();
    QCOMPARE(window.m_config.color, QString("navy"));
    QCOMPARE(window.m_config.FPenWidth1, 3);
    QFile file(board.configFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), fileBefore);
    file.close();

    // The window's own close writes what it holds: still not the defaults.
    window.SaveConfigData();
    QSettings ini(board.configFile(), QSettings::IniFormat);
    QCOMPARE(ini.value("Note/color").toString(), QString("navy"));

    // Opening the settings again shows the live record, not the reset.
    window.OptConfiguration();
    QCOMPARE(board.child<QComboBox>("note_colorcombo")->currentText(), QString("navy"));
}

void SettingsDialogTest::resetThenConfirmWritesTheDefaults()
{
    Board board;
    Dialog& window = *board.dialog;
    window.m_config.language = 2;
    window.m_config.FPenWidth3 = 2;
    window.m_config.cursor = false;
    window.m_config.ShowImportMsg = true;
    window.m_config.upserver = "updates.example.org";
    window.m_config.ID = "teacher";
    window.m_config.SaveID = 1;
    window.m_config.CamDevice = "Integrated Camera";
    window.m_config.proj = board.root.path() + "/Elsewhere";
    window.m_currentProjectFolder = window.m_config.proj;

    window.OptConfiguration();
    g_log.clear();
    board.child<QPushButton>("Btn_Init")->click();
    // The chosen language is kept, so no language question comes up.
    QVERIFY(g_log.filter("The change takes effect").isEmpty());
    board.child<QPushButton>("okbtn")->click();

    QSettings ini(board.configFile(), QSettings::IniFormat);
    QCOMPARE(ini.value("Normal/language").toInt(), 2);
    QCOMPARE(ini.value("Pen/FPenWidth3").toInt(), 7);
    QCOMPARE(ini.value("Option/cursor").toBool(), true);
    QCOMPARE(ini.value("Option/ShowImportMsg").toBool(), false);
    QCOMPARE(ini.value("Option/upserver").toString(), QString());
    QCOMPARE(ini.value("Strova/ID").toString(), QString("teacher"));
    QCOMPARE(ini.value("Strova/SaveID").toInt(), 1);
    QCOMPARE(ini.value("Record/Type").toInt(), 3);
    QCOMPARE(ini.value("Record/ViewPos").toInt(), 3);
    QVERIFY(ini.value("Normal/proj").toString().endsWith("Dravik_Prj"));
    QCOMPARE(window.m_currentProjectFolder, ini.value("Normal/proj").toString());
    // Without a capture library the camera list is empty: the dialog saves
    // the camera it shows, none.
    QCOMPARE(ini.value("Record/CamDevice").toString(), QString());
}

void SettingsDialogTest::updateButtonSavesFirstWhenThereAreChanges()
{
    Board board;
    Dialog& window = *board.dialog;
    window.m_lang.messages[3] = "Save the lesson before the update?";
    window.OptConfiguration();
    // Disabled until an update check finds something.
    board.child<QPushButton>("info_updatebtn")->click();
    QVERIFY(!g_log.contains("exe : the update bridge is not loaded"));
    window.m_configDlg->SetUpdateBtnEnabled(true);

    board.child<QPushButton>("info_updatebtn")->click();
    QVERIFY(g_log.filter("message box question").isEmpty());
    QVERIFY(g_log.contains("exe : the update bridge is not loaded"));
    QCOMPARE(window.m_afterProjectSave, 0);

    // Yes asks for a file name; a save that never happened (the dialog
    // cancelled) does not hand the lesson over to the updater.
    g_log.clear();
    window.m_boardModified = true;
    board.child<QPushButton>("info_updatebtn")->click();
    QCOMPARE(g_log.filter("message box question: Confirm | Save the lesson before the update?").size(), 1);
    QCOMPARE(g_log.filter("file dialog save: Save project file").size(), 1);
    QVERIFY(!g_log.contains("exe : the update bridge is not loaded"));
    QVERIFY(window.m_boardModified);
}

void SettingsDialogTest::savedCameraIsChosenAtStart_data()
{
    QTest::addColumn<QStringList>("cameras");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("saved camera listed") << QStringList{"Front", "Document"} << "Document" << "Document";
    QTest::newRow("saved camera gone") << QStringList{"Front", "Document"} << "Old" << "Front";
    QTest::newRow("no cameras") << QStringList() << "Front" << "";
}

void SettingsDialogTest::savedCameraIsChosenAtStart()
{
    QFETCH(QStringList, cameras);
    QFETCH(QString, saved);
    QFETCH(QString, chosen);
    Board board(cameras, saved);
    QCOMPARE(board.dialog->m_cam_name, chosen);
    QCOMPARE(board.child<QComboBox>("rec_camdeviceC")->currentText(), chosen);
}

void SettingsDialogTest::dialogSignalsReachTheWindow()
{
    Board board;
    Dialog& window = *board.dialog;
    window.OptConfiguration();
    board.child<QTabWidget>("tabwidget")->setCurrentIndex(7);

    // The hidden label asks for the master-mode dialog; the board runs it
    // modally, so it is closed as soon as it shows.
    MasterModedlg* master = window.m_masterModeDlg;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [master]() {
        if (master->isVisible())
            master->close();
    });
    poll.start(20);
    QSignalSpy asked(window.m_configDlg, SIGNAL(Call_MasterDlg()));
    QTest::mouseDClick(board.child<QLabel>("label_MasterMode"), Qt::LeftButton);
    QCOMPARE(asked.count(), 1);
    master->close();

    if (QStandardPaths::findExecutable("onboard").isEmpty()) {
        board.child<QPushButton>("keybtn")->click();
        QVERIFY(g_log.contains("error keyboard"));
    }

    // The language menu's question belongs to the settings dialog.
    QAction english("English");
    window.m_languageActions = {nullptr, &english};
    window.OptLanguageType(&english);
    QCOMPARE(window.m_config.language, 1);
    window.m_languageActions.clear();
}

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
