#include "app/screen_layout.h"
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"
#include "app/ui/outside_libraries.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <memory>

namespace {

enum class Needs { A, Cap, Col };

struct Row {
    int row;
    const char* sender;
    const char* signal;
    const char* slot;
    Needs needs;
};

// The connection table as the window must make it: sender, signal, slot.
const Row kRows[] = {
    {1, "NoteDialog", "SelectItem(QString)", "ChangeNote(QString)", Needs::A},
    {2, "NoteDialog", "DeleteItem(QString)", "DeleteNote(QString)", Needs::A},
    {3, "NoteDialog", "CloseDialog()", "CloseNoteListDialog()", Needs::A},
    {4, "clipart", "InsertImage(QString)", "InsertClipArtImage(QString)", Needs::A},
    {5, "clipart", "InsertBackGroundImage(QString)", "BackGroundClipArtImage(QString)", Needs::A},
    {6, "NoteSave", "CallVirtualKeyboard()", "OptVirtureKeyboard()", Needs::A},
    {7, "NoteSave", "CallNoteSavePrintOperation(QString,QString,int,int)", "NoteSavePrintOperation(QString,QString,int,int)", Needs::A},
    {8, "ConfigDlg", "CallVirtualKeyboard()", "OptVirtureKeyboard()", Needs::A},
    {9, "ConfigDlg", "CallSaveConfigData(ConfigInfomation)", "SaveConfigData(ConfigInfomation)", Needs::A},
    {10, "ConfigDlg", "CallChangedCam(QString)", "OptChangedCam(QString)", Needs::A},
    {11, "ConfigDlg", "CallChangedMic(QString)", "OptChangedMic(QString)", Needs::A},
    {12, "ConfigDlg", "configdlg_setPos()", "OptConfigDlgSetPos()", Needs::A},
    {13, "ConfigDlg", "Config_Init()", "Config_InitAll()", Needs::A},
    {14, "ConfigDlg", "SavePrj_Update()", "Config_savePrj_Update()", Needs::A},
    {15, "ConfigDlg", "Call_MasterDlg()", "MasterDlg_Show()", Needs::A},
    {16, "ShowImportMsg", "CallSetCheck(bool)", "SetDocumentOpenOption(bool)", Needs::A},
    {17, "ShowImportMsg", "CallDocuments()", "OpenDocuments()", Needs::A},
    {18, "ImportDlg", "CallAddDocuments(QString,bool,bool)", "AddDocuments(QString,bool,bool)", Needs::A},
    {19, "ImportDlg", "CallAddFinished()", "AddFinished()", Needs::A},
    {20, "navi", "CallScrollBarPositionChange(int,int)", "ChangeScrollBar(int,int)", Needs::A},
    {21, "navi", "CallScrollBarPositionChange_Release()", "ChangeScrollBar_release()", Needs::A},
    {22, "floatingmain", "CallOptMenuBtn()", "OptMenuBtn()", Needs::A},
    {23, "floatingmain", "CallSubAlign(QPoint)", "OptSubAlign(QPoint)", Needs::A},
    {24, "floatingmain", "CallOptColorDialog()", "OptColorDialog()", Needs::A},
    {25, "floatingmain", "CallOptEraserDialog()", "OptEraserDialog()", Needs::A},
    {26, "floatingmain", "CallOptFigureDialog()", "OptFigureDialog()", Needs::A},
    {27, "floatingmain", "CallOptNoteDialog()", "OptNoteDialog()", Needs::A},
    {28, "floatingmain", "CallOptChangeDialog()", "OptChangeDialog()", Needs::A},
    {29, "floatingmain", "CallOptRecDialog()", "OptRecDialog()", Needs::A},
    {30, "floatingmain", "CallOptZoomDialog()", "OptZoomDialog()", Needs::A},
    {31, "floatingmain", "CallOptPrev()", "OptPreNoteBtn()", Needs::A},
    {32, "floatingmain", "CallOptNext()", "OptPostNoteBtn()", Needs::A},
    {33, "floatingcolor", "CallOptColorChange(QString)", "ClickColorBtn(QString)", Needs::A},
    {34, "floatingcolor", "CallOptPenWidthChange(int)", "ChangePenWidth(int)", Needs::A},
    {35, "floatingeraser", "CallOptEraserChange(QString)", "ClickEraseBtn(QString)", Needs::A},
    {36, "floatingfigure", "CallOptFigureChange(QString)", "ClickDrawBtn(QString)", Needs::A},
    {37, "floatingfigure", "CallOptUndo()", "OptUndo()", Needs::A},
    {38, "floatingfigure", "CallOptRedo()", "OptRedo()", Needs::A},
    {39, "floatingfigure", "CallOptTransChange(bool)", "OptTransBtnCheck(bool)", Needs::A},
    {40, "floatingnote", "CallOptNoteChange(QString)", "ClickNoteBtn(QString)", Needs::A},
    {41, "floatingnote", "CallOptNoteList()", "OptNoteListBtn()", Needs::A},
    {42, "floatingchangemode", "CallOptSelectChange(QString)", "ClickObjectBtn(QString)", Needs::A},
    {43, "floatingchangemode", "CallOptWinMode()", "OptWinBtn()", Needs::A},
    {44, "floatingchangemode", "coll_Connect()", "OptCollconnectDlgBtn()", Needs::Col},
    {45, "floatingchangemode", "coll_Ip()", "OptIpBtn()", Needs::Col},
    {46, "floatingchangemode", "Call_Strova()", "OptStrovaBtn()", Needs::A},
    {47, "floatingzoom", "CallOptZoomChange(QString)", "ClickZoomBtn_setData_Contents(QString)", Needs::A},
    {48, "floatingrec", "CallOptRec(int)", "OptRecBtn(int)", Needs::Cap},
    {49, "floatingrec", "CallOptView(int)", "OptViewBtn(int)", Needs::Cap},
    {50, "logbtn", "pressed()", "OptMenuBtn()", Needs::A},
    {51, "notebtn", "pressed()", "OptNoteBtn()", Needs::A},
    {52, "windowbtn", "clicked()", "OptWinBtn()", Needs::A},
    {53, "colorbtn", "pressed()", "OptColorBtn()", Needs::A},
    {54, "pwidthbtn", "pressed()", "OptPenWidthBtn()", Needs::A},
    {55, "transbtn", "pressed()", "OptTransBtn()", Needs::A},
    {56, "drawbtn", "pressed()", "OptDrawBtn()", Needs::A},
    {57, "erasebtn", "pressed()", "OptEraseBtn()", Needs::A},
    {58, "prebtn", "pressed()", "OptPreNoteBtn()", Needs::A},
    {59, "postbtn", "pressed()", "OptPostNoteBtn()", Needs::A},
    {60, "objectbtn", "pressed()", "OptObjectBtn()", Needs::A},
    {61, "zoombtn", "pressed()", "OptZoomBtn_SetData_Contents()", Needs::A},
    {62, "notelistbtn", "clicked()", "OptNoteListBtn()", Needs::A},
    {63, "undobtn", "clicked()", "OptUndo()", Needs::A},
    {64, "redobtn", "clicked()", "OptRedo()", Needs::A},
    {65, "recbtn", "clicked()", "OptRecBtn()", Needs::Cap},
    {66, "viewbtn", "clicked()", "OptViewBtn()", Needs::A},
    {67, "viewlocationbtn", "clicked()", "OptViewLocationBtn()", Needs::A},
    {68, "horwidthslider", "valueChanged(int)", "ChangePenWidth(int)", Needs::A},
    {69, "verwidthslider", "valueChanged(int)", "ChangePenWidth(int)", Needs::A},
    {70, "btn_show_collconnectDlg", "clicked()", "OptCollconnectDlgBtn()", Needs::Col},
    {71, "btn_show_IP", "clicked()", "OptIpBtn()", Needs::Col},
    {72, "btn_show_userListDlg", "clicked()", "OptUserListDlgBtn()", Needs::Col},
    {73, "CollConnectDlg", "coll_startserver(QString,QString,QString)", "OptStartServer(QString,QString,QString)", Needs::Col},
    {74, "CollConnectDlg", "coll_connect(QString,QString,QString,int)", "OptConnect(QString,QString,QString,int)", Needs::Col},
    {75, "CollConnectDlg", "coll_disconnectToServer()", "OptServerClose()", Needs::Col},
    {76, "CollConnectDlg", "coll_disconnectToClient()", "OptDisconnect()", Needs::Col},
    {77, "CollConnectDlg", "CallVirtualKeyboard()", "OptVirtureKeyboard()", Needs::Col},
    {78, "CollUserListDlg", "coll_SetUserLevel(QString)", "OptSetUserLevel(QString)", Needs::Col},
    {79, "CollUserListDlg", "coll_SetUseTool(QString)", "OptSetUseTool(QString)", Needs::Col},
    {80, "btn_Strova", "clicked()", "OptStrovaBtn()", Needs::A},
    {81, "StrovaDlg", "StrovaWindowClose(QString,int)", "StrovaSaveInfo(QString,int)", Needs::A},
    {82, "StrovaDlg", "CallVirtualKeyboard()", "OptVirtureKeyboard()", Needs::A},
    {83, "notesubbtn", "pressed()", "CreateNoteSubBtn()", Needs::A},
    {84, "colorsubbtn", "pressed()", "CreateColorSubBtn()", Needs::A},
    {85, "pwidthsubbtn", "pressed()", "ShowPenWidthSlider()", Needs::A},
    {86, "drawsubbtn", "pressed()", "CreateDrawSubBtn()", Needs::A},
    {87, "erasesubbtn", "pressed()", "CreateEraseSubBtn()", Needs::A},
    {88, "objectsubbtn", "pressed()", "CreateObjectSubBtn()", Needs::A},
    {89, "zoomsubbtn", "pressed()", "CreateZoomSubBtn()", Needs::A},
    {90, "viewlocationsubbtn", "pressed()", "CreateViewLocationSubBtn()", Needs::A},
    {91, "horizontalScrollBar", "valueChanged(int)", "ChangeZoomMaphor(int)", Needs::A},
    {92, "verticalScrollBar", "valueChanged(int)", "ChangeZoomMapver(int)", Needs::A},
    {93, "rec", "CallRecStart(int)", "OptRecStart(int)", Needs::A},
    {94, "m_ThreadSave", "finished()", "ThreadSaveFinished()", Needs::A},
    {95, "m_ThreadRecTime", "finished()", "ThreadRecTimeFinished()", Needs::A},
    {96, "Dialog", "CallDrawRecTime()", "DrawRecTime()", Needs::A},
    {97, "Dialog", "SetProgress(QString,int)", "SetProgressValue(QString,int)", Needs::A},
    {98, "Dialog", "SetNotePrint(QString,QImage)", "NotePrintProcess(QString,QImage)", Needs::A},
    {99, "m_ThreadPrjLoad", "finished()", "ThreadPrjLoadFinished()", Needs::A},
    {100, "m_ThreadPrjSave", "finished()", "ThreadPrjSaveFinished()", Needs::A},
    {101, "ToolDlg_Ruler", "Ruler_DrawLine(QPoint,QPoint)", "OptTool_DrawLine(QPoint,QPoint)", Needs::A},
    {102, "ToolDlg_Protractor", "Protractor_DrawLine(QPoint,QPoint)", "OptTool_DrawLine(QPoint,QPoint)", Needs::A},
    {103, "ToolDlg_Protractor", "Protractor_DrawArc(QRect,int,int)", "OptTool_DrawArc(QRect,int,int)", Needs::A},
    {104, "ToolDlg_Compass", "Compass_DrawEllipse(QRect)", "OptTool_DrawEllipse(QRect)", Needs::A},
    {105, "ToolDlg_Compass", "Compass_DrawArc(QRect,int,int)", "OptTool_DrawArc(QRect,int,int)", Needs::A},
    {106, "NotePrint", "CallNoteSavePrintOperation(QString,QString,int,int)", "NoteSavePrintOperation(QString,QString,int,int)", Needs::A},
    {107, "m_ThreadNoteSave", "finished()", "ThreadNoteSaveFinished()", Needs::A},
    {108, "MasterModedlg", "Call_Debug(bool)", "OptDebug(bool)", Needs::A},
    {109, "MasterModedlg", "Call_Coll(bool)", "OptColl(bool)", Needs::A},
    {110, "MasterModedlg", "Call_Cursor(bool)", "OptCursor(bool)", Needs::A},
    {111, "MasterModedlg", "Call_Interpolation(bool)", "OptInterpolation(bool)", Needs::A},
    {112, "MasterModedlg", "Call_Antialiasing(bool)", "OptAntialiasing(bool)", Needs::A},
};

QObject* SenderOf(Dialog* d, const QString& name)
{
    const QHash<QString, QObject*> members = {
        {"NoteDialog", d->m_noteDialog},
        {"clipart", d->m_clipart},
        {"NoteSave", d->m_noteSave},
        {"NotePrint", d->m_notePrint},
        {"ConfigDlg", d->m_configDlg},
        {"ShowImportMsg", d->m_showImportMsg},
        {"ImportDlg", d->m_importDlg},
        {"navi", d->m_navi},
        {"floatingmain", d->m_floatingMain},
        {"floatingcolor", d->m_floatingColor},
        {"floatingeraser", d->m_floatingEraser},
        {"floatingfigure", d->m_floatingFigure},
        {"floatingnote", d->m_floatingNote},
        {"floatingchangemode", d->m_floatingChangeMode},
        {"floatingrec", d->m_floatingRec},
        {"floatingzoom", d->m_floatingZoom},
        {"CollConnectDlg", d->m_collConnectDlg},
        {"CollUserListDlg", d->m_collUserListDlg},
        {"StrovaDlg", d->m_strovaDlg},
        {"rec", d->m_recDlg},
        {"ToolDlg_Ruler", d->m_ruler},
        {"ToolDlg_Protractor", d->m_protractor},
        {"ToolDlg_Compass", d->m_compass},
        {"MasterModedlg", d->m_masterModeDlg},
        {"Dialog", d},
        {"m_ThreadSave", &d->m_ThreadSave},
        {"m_ThreadRecTime", &d->m_ThreadRecTime},
        {"m_ThreadPrjLoad", &d->m_ThreadPrjLoad},
        {"m_ThreadPrjSave", &d->m_ThreadPrjSave},
        {"m_ThreadNoteSave", &d->m_ThreadNoteSave},
    };
    if (members.contains(name))
        return members.value(name);
    return d->findChild<QObject*>(name);
}

// How many connections leave a signal of an object.
int ReceiverCount(QObject* object, const QByteArray& signal)
{
    struct Peek : QObject {
        static int Count(QObject* o, const char* s) { return static_cast<Peek*>(o)->receivers(s); }
    };
    return Peek::Count(object, signal.constData());
}

QByteArray SignalText(const char* signature)
{
    return QByteArray("2") + signature;
}

QByteArray SlotText(const char* signature)
{
    return QByteArray("1") + signature;
}

}  // namespace

class SecondStageTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;

    // A window after its second stage, with the given libraries: the fake
    // collaboration library when asked, no others.
    std::unique_ptr<Dialog> MakeWindow(bool collaboration, bool capture)
    {
        ScopedLibraryFolder libraries(collaboration ? BuiltProgramFolder() + "/fake_bridges" : m_noLibraries->path());
        auto dialog = std::make_unique<Dialog>();
        dialog->m_bCaptureLibLoaded = capture;
        dialog->InitDialog(false);
        return dialog;
    }

private slots:
    void initTestCase()
    {
        qInstallMessageHandler(CollectLog);
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_noLibraries = std::make_unique<QTemporaryDir>();
    }


    void init() { g_log.clear(); }

    void canvasFollowsTheScreens_data()
    {
        QTest::addColumn<QVector<QRect>>("screens");
        QTest::addColumn<int>("primary");
        QTest::addColumn<bool>("dual");
        QTest::addColumn<QSize>("canvas");
        const QRect a(0, 0, 1920, 1080);
        const QRect b(1920, 0, 1920, 1080);
        QTest::newRow("two equal, dual") << QVector<QRect>{a, b} << 0 << true << QSize(3840, 1080);
        QTest::newRow("two equal, dual off") << QVector<QRect>{a, b} << 0 << false << QSize(1920, 1080);
        QTest::newRow("three equal, dual") << QVector<QRect>{a, b, QRect(3840, 0, 1920, 1080)} << 1 << true
                                           << QSize(3840, 1080);
        QTest::newRow("unequal sizes") << QVector<QRect>{a, QRect(1920, 0, 1280, 1024)} << 0 << true
                                       << QSize(1920, 1080);
        QTest::newRow("negative left edge") << QVector<QRect>{a, QRect(-1920, 0, 1920, 1080)} << 0 << true
                                            << QSize(1920, 1080);
        QTest::newRow("lower second screen") << QVector<QRect>{a, QRect(1920, 100, 1920, 1080)} << 0 << true
                                             << QSize(1920, 1080);
        QTest::newRow("one screen, dual") << QVector<QRect>{QRect(0, 0, 1280, 800)} << 0 << true << QSize(1280, 800);
        QTest::newRow("second is primary") << QVector<QRect>{QRect(0, 0, 1280, 800), QRect(1280, 0, 1920, 1080)}
                                           << 1 << false << QSize(1920, 1080);
    }

    void canvasFollowsTheScreens()
    {
        QFETCH(QVector<QRect>, screens);
        QFETCH(int, primary);
        QFETCH(bool, dual);
        QFETCH(QSize, canvas);
        QCOMPARE(CanvasSizeForScreens(screens, primary, dual), canvas);
    }

    // The stage lines come in their order, with the library lines between.
    void stagesAreReportedInOrder()
    {
        ScopedLibraryFolder libraries(m_noLibraries->path());
        Dialog dialog;
        QSignalSpy stages(&dialog, &Dialog::MainDlg_DebugDisplaySize);
        QSignalSpy geometry(&dialog, &Dialog::MainDlgSetGeometry);
        g_log.clear();
        dialog.InitDialog(true);

        QList<int> numbers;
        for (const QList<QVariant>& stage : qAsConst(stages))
            numbers << stage.at(0).toInt();
        QCOMPARE(numbers, QList<int>({1, 2, 3, 4, 5, 6, 8, 9, 10}));
        QCOMPARE(stages.at(0).at(1).toString(), QStringLiteral("cursor set next."));
        QCOMPARE(stages.last().at(1).toString(), QStringLiteral("device_cam set next."));
        QCOMPARE(geometry.count(), 2);

        const int konnexa = g_log.indexOf("exe : error load Konnexa.dll");
        QVERIFY(konnexa > 0);
        QVERIFY(g_log.indexOf(QRegularExpression("^primaryScreenIndex:")) < konnexa);
        QVERIFY(g_log.indexOf(QRegularExpression("^InitDialog\\(\\)")) > konnexa);
        QVERIFY(!dialog.m_collConnectDlg && !dialog.m_collUserListDlg && !dialog.m_collIpDlg);
        QVERIFY(dialog.m_strovaDlg);
        QCOMPARE(dialog.m_toolbarPosition, 1);
    }

    void everyRowReachesItsSlotOnce_data()
    {
        QTest::addColumn<bool>("collaboration");
        QTest::addColumn<bool>("capture");
        QTest::newRow("no outside libraries") << false << false;
        QTest::newRow("capture library") << false << true;
        QTest::newRow("collaboration library") << true << false;
    }

    // For every row: the sender's signal has exactly one connection and it
    // leads to the named slot; rows of a missing library are not made.
    void everyRowReachesItsSlotOnce()
    {
        QFETCH(bool, collaboration);
        QFETCH(bool, capture);
        std::unique_ptr<Dialog> dialog = MakeWindow(collaboration, capture);
        // A second run makes nothing twice.
        dialog->ConnectSignals();

        for (const Row& row : kRows) {
            const bool made = row.needs == Needs::A || (row.needs == Needs::Cap && capture)
                              || (row.needs == Needs::Col && collaboration);
            QObject* sender = SenderOf(dialog.get(), row.sender);
            const QString where = QStringLiteral("row %1 (%2)").arg(row.row).arg(row.sender);
            if (!sender) {
                QVERIFY2(!made && row.needs == Needs::Col, qPrintable(where + " has no sender"));
                continue;
            }
            QCOMPARE(ReceiverCount(sender, SignalText(row.signal)), made ? 1 : 0);
            if (made) {
                QVERIFY2(QObject::disconnect(sender, SignalText(row.signal), dialog.get(), SlotText(row.slot)),
                         qPrintable(where + " leads elsewhere"));
            }
        }
        QCOMPARE(dialog->m_floatingRec->isHidden(), true);
        QCOMPARE(dialog->ui->recbtn->isHidden(), !capture);
        QCOMPARE(dialog->m_collConnectDlg != nullptr, collaboration);
        if (collaboration) {
            QCOMPARE(dialog->ui->btn_show_userListDlg->geometry(),
                     QRect(dialog->width() - 40, dialog->height() / 2 - 73, 40, 147));
            QVERIFY(g_log.contains("exe : Success load Konnexa.dll"));
        }
    }

    // A press on a toolbar button runs its command's slot, once.
    void aButtonPressReachesItsCommand()
    {
        std::unique_ptr<Dialog> dialog = MakeWindow(false, false);
        g_log.clear();
        dialog->ui->drawbtn->setChecked(false);
        dialog->ui->zoombtn->setChecked(true);
        emit dialog->ui->drawbtn->pressed();
        QVERIFY(dialog->ui->drawbtn->isChecked());
        QVERIFY(!dialog->ui->zoombtn->isChecked());
        // The only page has no next one.
        emit dialog->m_floatingMain->CallOptNext();
        QCOMPARE(g_log.filter("exe : no page 2 of 1").size(), 1);
    }

    void menusAreBuiltInOrder()
    {
        std::unique_ptr<Dialog> dialog = MakeWindow(false, false);
        const QList<QAction*> entries = dialog->m_mainMenu->actions();
        QCOMPARE(entries.size(), 14);
        const QList<int> separators = {4, 7, 10, 12};
        for (int i = 0; i < entries.size(); ++i)
            QCOMPARE(entries.at(i)->isSeparator(), separators.contains(i));
        const LanguageTexts& texts = dialog->m_lang;
        QCOMPARE(entries.at(0)->text(), texts.menu.at(0));   // 800
        QCOMPARE(entries.at(3)->text(), texts.menu.at(3));   // 803
        QCOMPARE(entries.at(8)->text(), texts.menu.at(6));   // 806
        QCOMPARE(entries.at(9)->text(), texts.menu.at(10));  // 807
        QCOMPARE(entries.at(11)->text(), texts.menu.at(16)); // 810
        QCOMPARE(entries.at(13)->text(), texts.menu.at(17)); // 811
        QVERIFY(entries.at(8)->menu() && entries.at(9)->menu());
        QCOMPARE(entries.at(8)->menu()->actions().size(), 3);
        QCOMPARE(entries.at(9)->menu()->actions().size(), 6);
        QCOMPARE(entries.at(9)->menu()->actions().at(0)->text(), texts.menu.at(11));  // 8071
        QVERIFY(!texts.menu.at(0).isEmpty());

        const QList<QAction*> edit = dialog->m_editMenu->actions();
        QCOMPARE(edit.size(), 19);
        QCOMPARE(edit.first(), dialog->m_moveHereAction);
        QVERIFY(!dialog->m_moveHereAction->isVisible());
        QCOMPARE(dialog->m_editActions.size(), 12);
        QCOMPARE(dialog->m_editActions.at(0)->text(), texts.popup.at(0));   // cut
        QCOMPARE(dialog->m_editActions.at(11)->text(), texts.popup.at(9));  // reset
        QCOMPARE(dialog->m_undoAction->text(), texts.hint.at(75));
        QVERIFY(!dialog->m_undoAction->isEnabled() && !dialog->m_redoAction->isEnabled());
        for (int i = 5; i < 11; ++i)
            QVERIFY(!edit.contains(dialog->m_editActions.at(i)));
        QCOMPARE(dialog->m_roleActions,
                 QList<QAction*>({dialog->m_rulerAction, dialog->m_protractorAction, dialog->m_compassAction}));

        QVERIFY(!dialog->m_trayIcon->isVisible());
        QCOMPARE(dialog->m_trayMenu->actions().size(), 5);
        QCOMPARE(dialog->m_trayIcon->toolTip(), texts.hint.at(51));
    }

    // The exit entry really ends the program.
    void exitEntryClosesTheWindow()
    {
        std::unique_ptr<Dialog> dialog = MakeWindow(false, false);
        QSignalSpy close(dialog.get(), &Dialog::MainDlgClose);
        dialog->m_mainMenu->actions().at(13)->trigger();
        QCOMPARE(close.count(), 1);
    }

    void trayClicksOpenTheTrayMenu_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<bool>("opens");
        QTest::newRow("click") << int(QSystemTrayIcon::Trigger) << true;
        QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick) << true;
        QTest::newRow("context") << int(QSystemTrayIcon::Context) << false;
        QTest::newRow("middle") << int(QSystemTrayIcon::MiddleClick) << false;
    }

    void trayClicksOpenTheTrayMenu()
    {
        QFETCH(int, reason);
        QFETCH(bool, opens);
        std::unique_ptr<Dialog> dialog = MakeWindow(false, false);
        dialog->slotTrayActivated(QSystemTrayIcon::ActivationReason(reason));
        QCOMPARE(dialog->m_trayMenu->isVisible(), opens);
        dialog->m_trayMenu->hide();
    }

    void cameraChoice_data()
    {
        QTest::addColumn<QStringList>("cameras");
        QTest::addColumn<QStringList>("microphones");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("camera");
        QTest::addColumn<QString>("microphone");
        const QStringList cams = {"Cam A", "Cam B"};
        const QStringList mics = {"Mic A", "Mic B"};
        QTest::newRow("saved camera present") << cams << mics << "Cam B" << "Cam B" << "Mic A";
        QTest::newRow("saved camera gone") << cams << mics << "Cam C" << "Cam A" << "Mic A";
        QTest::newRow("no cameras") << QStringList() << mics << "Cam A" << "" << "Mic A";
        QTest::newRow("no microphones") << cams << QStringList() << "Cam A" << "Cam A" << "";
    }

    // The saved camera when it is still there, else the first; an empty
    // list chooses nothing.
    void cameraChoice()
    {
        QFETCH(QStringList, cameras);
        QFETCH(QStringList, microphones);
        QFETCH(QString, saved);
        QFETCH(QString, camera);
        QFETCH(QString, microphone);
        ScopedLibraryFolder libraries(m_noLibraries->path());
        Dialog dialog;
        dialog.m_cam_list = cameras;
        dialog.m_mic_list = microphones;
        dialog.m_config.CamDevice = saved;
        dialog.CreatePanels();
        dialog.ConnectSignals();
        dialog.ChooseCameraFromList();
        QCOMPARE(dialog.m_cam_name, camera);
        QCOMPARE(dialog.m_mic_name, microphone);
    }

    void updateAnswer_data()
    {
        QTest::addColumn<bool>("autoUpdate");
        QTest::addColumn<bool>("available");
        QTest::addColumn<bool>("nextTime");
        QTest::addColumn<bool>("indicator");
        QTest::addColumn<int>("updaterStarts");
        QTest::newRow("auto off, available") << false << true << false << true << 0;
        QTest::newRow("auto off, none") << false << false << false << false << 0;
        QTest::newRow("auto on, available, ask now") << true << true << false << true << 1;
        QTest::newRow("auto on, available, later") << true << true << true << true << 0;
        QTest::newRow("auto on, none") << true << false << false << false << 0;
    }

    // The bridge answers from its own thread, here before the window has
    // started the check: the answer waits, then lands on the GUI thread.
    void updateAnswer()
    {
        QFETCH(bool, autoUpdate);
        QFETCH(bool, available);
        QFETCH(bool, nextTime);
        QFETCH(bool, indicator);
        QFETCH(int, updaterStarts);
        static int started = 0;
        static bool nextTimeAnswer = false;
        started = 0;
        nextTimeAnswer = nextTime;

        ScopedLibraryFolder libraries(m_noLibraries->path());
        Dialog dialog;
        dialog.ExecuteManager = [] { ++started; return true; };
        dialog.NextTimeCheck = [] { return nextTimeAnswer; };
        QThread* bridge = QThread::create([available] { UpdateCheckCallback(available); });
        bridge->start();
        QVERIFY(bridge->wait(5000));
        delete bridge;
        QCoreApplication::processEvents();
        QVERIFY(dialog.m_updateAnswerPending);

        dialog.InitDialog(autoUpdate);
        QPushButton* button = dialog.m_configDlg->findChild<QPushButton*>("info_updatebtn");
        QVERIFY(button);
        QCOMPARE(button->isEnabled(), indicator);
        QCOMPARE(started, updaterStarts);

        // A later answer from the thread lands the same way.
        QThread* again = QThread::create([] { UpdateCheckCallback(false); });
        again->start();
        QVERIFY(again->wait(5000));
        delete again;
        QTRY_VERIFY(!button->isEnabled());
    }
};

QTEST_MAIN(SecondStageTest)
#include "second_stage_test.moc"
