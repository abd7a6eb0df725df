// The settings dialog worked as a person would, with xdotool under a private
// X server: opened from the main menu, edited, cancelled, reset and confirmed,
// and read back from the settings file and the dialog after a restart.
#include "app/tool_commands.h"
#include "app/ui/dialog.h"
#include "panels/ui/configdlg.h"
#include "storage/language_file.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"
#include "ui_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QMap>
#include <QMenu>
#include <QPushButton>
#include <QRect>
#include <QElapsedTimer>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

QString N(int v) { return QString::number(v); }

// The program reads the clicks in the order they are sent: a click needs no
// wait unless what it starts is awaited.
void Click(QPoint p)
{
    Xdotool({"mousemove", N(p.x()), N(p.y()), "click", "1"});
}

// One value of the settings file as written, read without any cache.
QString IniValue(const QString& path, const QString& group, const QString& key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("<no file>");
    QString current;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')))
            current = line.mid(1, line.indexOf(QLatin1Char(']')) - 1);
        else if (current == group && line.startsWith(key + QLatin1Char('=')))
            return line.mid(key.size() + 1);
    }
    return QStringLiteral("<no key>");
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class SettingsProgramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    QString m_configPath;
    RunningProgram m_board;
    QPoint m_logo;          // the logo button on the screen
    QPoint m_menuAt;        // where the main menu opens for a click on the logo
    QPoint m_settingsItem;  // the settings entry within the menu
    QMap<QString, QPoint> m_inDialog;  // widget centres within the settings dialog
    // The tab bar scrolls: each tab's centre within the dialog once the tabs
    // are scrolled back to the start and then `scrolls` steps on.
    struct TabPlace {
        int scrolls;
        QPoint centre;
    };
    QVector<TabPlace> m_tabs;
    QPoint m_scrollBack, m_scrollOn;
    QPoint m_dialogAt;

    bool Start()
    {
        QProcessEnvironment environment;
        environment.insert("DRAVIK_LIBRARY_DIR", BuiltProgramFolder() + "/fake_bridges");
        if (!StartWhiteboard(m_board, {"/noAutoUpdate"}, environment)) {
            qWarning("the whiteboard's window did not come up");
            return false;
        }
        // The splash lies over the board until its timer closes it.
        if (m_board.waitForLine("time Done", 20000) < 0) {
            qWarning("the splash did not close");
            return false;
        }
        return true;
    }

    // The main menu's settings entry, then the dialog's place on the screen.
    // A click on the entry before the menu is on the screen would land on
    // the board, so the menu's own window is awaited first; a click on the
    // logo while the board is still busy after its start opens nothing and
    // is given again.
    bool OpenSettings()
    {
        if (!ChooseFromPopup(m_board.pid(), m_logo, 1, m_menuAt + m_settingsItem, 3000))
            return false;
        const QStringList windows = WaitForXWindows("^Settings$", 10000, m_board.pid());
        if (windows.isEmpty()) {
            qWarning("the settings dialog did not open");
            return false;
        }
        const QRect placed = WaitForXWindowGeometry(windows.first());
        if (placed.isEmpty())
            return false;
        m_dialogAt = placed.topLeft();
        return true;
    }

    void ClickIn(const QString& widget) { Click(m_dialogAt + m_inDialog.value(widget)); }
    void ClickTab(int index)
    {
        for (int i = 0; i < m_tabs.size(); ++i) {
            Xdotool({"mousemove", N(m_dialogAt.x() + m_scrollBack.x()), N(m_dialogAt.y() + m_scrollBack.y()),
                     "click", "1"});
        }
        for (int i = 0; i < m_tabs.at(index).scrolls; ++i) {
            Xdotool({"mousemove", N(m_dialogAt.x() + m_scrollOn.x()), N(m_dialogAt.y() + m_scrollOn.y()),
                     "click", "1"});
        }
        Click(m_dialogAt + m_tabs.at(index).centre);
    }

    bool SettingsClosed()
    {
        QElapsedTimer clock;
        clock.start();
        while (!FindXWindows("^Settings$", m_board.pid()).isEmpty()) {
            if (clock.elapsed() > 10000) {
                qWarning("the settings dialog did not close within 10 s");
                return false;
            }
            QTest::qWait(100);
        }
        return true;
    }

    QString Value(const char* group, const char* key) { return IniValue(m_configPath, group, key); }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        qputenv("LC_ALL", "C.UTF-8");
        // Neither the program nor this test may move the machine's volume.
        qputenv("DRAVIK_MIXER", "/bin/false");
        QTemporaryDir noLibraries;
        {
            // The same layout code on the same screen gives the places the
            // program shows; its settings go to a folder of their own.
            ScopedFolderRoot layoutRoot;
            ScopedLibraryFolder libraries(noLibraries.path());
            Dialog layout;
            layout.InitDialog(false);
            QPushButton* logo = layout.ui->logbtn;
            m_logo = logo->mapTo(&layout, logo->rect().center()) + QPoint(layout.m_canvasLeft, 0);
            const QSize menu = layout.m_mainMenu->sizeHint();
            m_menuAt = MainMenuPosition(layout.m_toolbarPosition, m_logo, menu.width(), menu.height(),
                                        layout.m_view_height, logo->height());
            // Entry 11 of the main menu is the settings.
            m_settingsItem = layout.m_mainMenu->actionGeometry(layout.m_mainMenu->actions().at(11)).center();
        }
        {
            // The settings form with the recording page, as the program shows
            // it with the capture library bound.
            const QString languages = BuiltProgramFolder() + "/Language/";
            LanguageTexts texts = ReadLanguageFile(languages + "ENU.lng");
            QStringList none;
            ConfigDlg form;
            form.InitDialog(1, languages, -1, &none, &none, true);
            form.SetLanguageText(&texts.common, &texts.config, &texts.menu, true);
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            auto* tabs = form.findChild<QTabWidget*>("tabwidget");
            QCOMPARE(tabs->count(), 9);
            QTabBar* bar = tabs->tabBar();
            QToolButton* back = nullptr;
            QToolButton* on = nullptr;
            for (QToolButton* arrow : bar->findChildren<QToolButton*>())
                (arrow->arrowType() == Qt::LeftArrow ? back : on) = arrow;
            QVERIFY(back && on);
            m_scrollBack = back->mapTo(&form, back->rect().center());
            m_scrollOn = on->mapTo(&form, on->rect().center());
            const int visibleRight = qMin(back->x(), on->x());
            for (int i = 0; i < tabs->count(); ++i) {
                while (back->isEnabled())
                    back->click();
                int scrolls = 0;
                while (bar->tabRect(i).right() >= visibleRight && on->isEnabled() && scrolls < tabs->count()) {
                    on->click();
                    ++scrolls;
                }
                QVERIFY(bar->tabRect(i).left() >= 0 && bar->tabRect(i).right() < visibleRight);
                m_tabs << TabPlace{scrolls, bar->mapTo(&form, bar->tabRect(i).center())};
            }
            for (const char* name : {"okbtn", "cancelbtn", "Btn_Init", "pen_right_width1", "opt_langcombo",
                                     "rec_FileNameC"}) {
                auto* widget = form.findChild<QWidget*>(name);
                QVERIFY2(widget, name);
                m_inDialog.insert(name, widget->mapTo(&form, widget->rect().center()));
            }
            // A check box is ticked on its box, not on its text's far end.
            auto* box = form.findChild<QCheckBox*>("rec_FileNameC");
            m_inDialog["rec_FileNameC"] = box->mapTo(&form, QPoint(8, box->height() / 2));
        }
        m_root = std::make_unique<ScopedFolderRoot>();
        m_configPath = m_root->path() + "/ProgramData/Norvane/Dravik/Config.ini";
        QVERIFY(Start());
    }

    void cleanupTestCase()
    {
        m_board.kill();
        m_root.reset();
    }

    void cancelKeepsEverything()
    {
        QVERIFY(OpenSettings());
        ClickTab(1);
        ClickIn("pen_right_width1");
        ClickIn("pen_right_width1");
        ClickIn("cancelbtn");
        QVERIFY(SettingsClosed());
        QVERIFY(!QFile::exists(m_configPath));

        // Shown again, the dialog holds the live values: OK writes width 1.
        const int from = m_board.lines().size();
        QVERIFY(OpenSettings());
        ClickIn("okbtn");
        QVERIFY(m_board.waitForLine("ConfigDlg::SaveConfigData()", 10000, from) >= 0);
        QVERIFY(SettingsClosed());
        QCOMPARE(Value("Pen", "FPenWidth1"), QString("1"));
        QCOMPARE(Value("Normal", "language"), QString("-1"));
        QCOMPARE(Value("Record", "Name"), QString("false"));
    }

    void confirmWritesPenLanguageAndRecording()
    {
        const int from = m_board.lines().size();
        QVERIFY(OpenSettings());
        ClickTab(1);
        ClickIn("pen_right_width1");
        ClickIn("pen_right_width1");
        ClickTab(7);
        // The list opens (keys sent before it shows would reach the dialog);
        // its third entry is Japanese.
        const QStringList before = MappedWindowIds(m_board.pid());
        ClickIn("opt_langcombo");
        QVERIFY2(!WaitForNewXWindow(m_board.pid(), before, 10000).isEmpty(), "the language list did not open");
        Xdotool({"key", "Home", "Down", "Down", "Return"});
        QVERIFY(m_board.waitForLine("message box question: Confirm | The change takes effect", 10000, from) >= 0);
        ClickTab(4);
        ClickIn("rec_FileNameC");
        ClickIn("okbtn");
        QVERIFY(m_board.waitForLine("ConfigDlg::SaveConfigData()", 10000, from) >= 0);
        QVERIFY(SettingsClosed());
        QCOMPARE(Value("Pen", "FPenWidth1"), QString("3"));
        QCOMPARE(Value("Normal", "language"), QString("2"));
        QCOMPARE(Value("Record", "Name"), QString("true"));
    }

    void resetAsksAndOnlyOkWrites()
    {
        const QByteArray before = FileBytes(m_configPath);
        const int from = m_board.lines().size();
        QVERIFY(OpenSettings());
        ClickIn("Btn_Init");
        QVERIFY(m_board.waitForLine("message box question: Confirm | Do you want to reset", 10000, from) >= 0);
        QVERIFY(m_board.waitForLine("Config_InitAll", 10000, from) >= 0);
        ClickIn("cancelbtn");
        QVERIFY(SettingsClosed());
        QCOMPARE(FileBytes(m_configPath), before);
    }

    void restartShowsTheNewValues()
    {
        QCOMPARE(CloseWhiteboard(m_board), 0);
        QCOMPARE(Value("Pen", "FPenWidth1"), QString("3"));
        QCOMPARE(Value("Normal", "language"), QString("2"));
        QCOMPARE(Value("Record", "Name"), QString("true"));

        QVERIFY(Start());
        QVERIFY(m_board.hasLine("language JPN "));
        // OK writes what the dialog shows: one step up from the width it
        // shows, and the language and recording option as they stand.
        const int from = m_board.lines().size();
        QVERIFY(OpenSettings());
        ClickTab(1);
        ClickIn("pen_right_width1");
        ClickIn("okbtn");
        QVERIFY(m_board.waitForLine("ConfigDlg::SaveConfigData()", 10000, from) >= 0);
        QVERIFY(SettingsClosed());
        QCOMPARE(Value("Pen", "FPenWidth1"), QString("4"));
        QCOMPARE(Value("Normal", "language"), QString("2"));
        QCOMPARE(Value("Record", "Name"), QString("true"));
    }

    void resetThenOkWritesTheDefaults()
    {
        const int from = m_board.lines().size();
        QVERIFY(OpenSettings());
        ClickIn("Btn_Init");
        QVERIFY(m_board.waitForLine("Config_InitAll", 10000, from) >= 0);
        ClickIn("okbtn");
        QVERIFY(m_board.waitForLine("ConfigDlg::SaveConfigData()", 10000, from) >= 0);
        QVERIFY(SettingsClosed());
        QCOMPARE(Value("Pen", "FPenWidth1"), QString("1"));
        QCOMPARE(Value("Record", "Name"), QString("false"));
        // The chosen language survives a reset.
        QCOMPARE(Value("Normal", "language"), QString("2"));
        QCOMPARE(CloseWhiteboard(m_board), 0);
    }
};

QTEST_MAIN(SettingsProgramTest)
#include "settings_program_xtest.moc"
