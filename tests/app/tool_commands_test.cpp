#include "app/tool_commands.h"
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"
#include "app/ui/outside_libraries.h"
#include "board/event_kind.h"
#include "tests/support/debug_log.h"
#include "tests/support/dialog_fixture.h"
#include "tests/support/session_tap.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalMapper>
#include <QSignalSpy>
#include <QSlider>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The toolbar's tool commands, their rows and the page commands, on a window
// that went through its second stage without outside libraries.
class ToolCommandsTest : public DialogTestBase
{
    Q_OBJECT

    int Sent(const QString& text) const { return g_log.filter(text).size(); }

    // The slots whose tool is `kind`, as a list for readable failures.
    QList<int> SlotsWithTool(int kind) const
    {
        QList<int> found;
        for (int i = 0; i < kPointerSlotCount; ++i)
            if (board->m_board.slot[i].event_kind == kind)
                found << i;
        return found;
    }

    // What the launcher's centre shows.
    QString CentrePictureSheet() const
    {
        return board->m_floatingMain->findChild<QLabel*>("imgmain")->styleSheet();
    }

    static QList<int> Range(int first, int last)
    {
        QList<int> r;
        for (int i = first; i <= last; ++i)
            r << i;
        return r;
    }

private slots:
    void initTestCase() { StartDialogTests(); }

    void init()
    {
        QVERIFY(OpenBoard());
        g_log.clear();
    }

    void cleanup() { CloseBoard(); }

    // --- pure decisions ---

    void zoomSteps_data()
    {
        QTest::addColumn<int>("tool");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("action");
        QTest::addColumn<double>("target");
        QTest::newRow("fix 3") << int(ekZoomFix3) << 1.0 << int(ZoomStep::Fixed) << 3.0;
        QTest::newRow("in to the limit") << int(ekZoomIn) << 7.8 << int(ZoomStep::StepIn) << 8.0;
        QTest::newRow("in past the limit") << int(ekZoomIn) << 7.9 << int(ZoomStep::TooFar) << 8.1;
        QTest::newRow("out clamps to 1") << int(ekZoomOut) << 1.1 << int(ZoomStep::ClampOut) << 1.0;
        QTest::newRow("out steps") << int(ekZoomOut) << 2.0 << int(ZoomStep::StepOut) << 1.8;
        QTest::newRow("out at 1 does nothing") << int(ekZoomOut) << 1.0 << int(ZoomStep::None) << 1.0;
        QTest::newRow("rectangle") << int(ekZoomRect) << 2.0 << int(ZoomStep::Rectangle) << 2.0;
    }

    void zoomSteps()
    {
        QFETCH(int, tool);
        QFETCH(double, zoom);
        QFETCH(int, action);
        QFETCH(double, target);
        const ZoomStep step = ZoomStepFor(tool, zoom);
        QCOMPARE(int(step.action), action);
        QCOMPARE(step.target, target);
    }

    void arcPointsRunClockwiseFromTheTop()
    {
        QCOMPARE(ArcPoint(QPoint(200, 200), 100, 0), QPoint(200, 100));
        QCOMPARE(ArcPoint(QPoint(200, 200), 100, 90), QPoint(300, 200));
        const QVector<int> moves = ArcMoveAngles(0, 90);
        QCOMPARE(moves.size(), 28);
        QCOMPARE(moves.first(), 3);
        QCOMPARE(moves.last(), 84);
        QVERIFY(ArcMoveAngles(90, 0).isEmpty());
        // An absurd angle cannot flood the board with samples.
        QVERIFY(ArcMoveAngles(0, 1 << 30).size() < 2000);
    }

    void widthSliderBesideItsButton_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("rightToLeft");
        QTest::addColumn<QRect>("area");
        // Button (100, 500)-(139, 535), vertical slider 200 high, horizontal 200 wide, offset 40.
        QTest::newRow("bottom") << 0 << true << QPoint(100, 296) << false << QRect(QPoint(100, 340), QPoint(139, 535));
        QTest::newRow("top") << 1 << true << QPoint(100, 540) << true << QRect(QPoint(100, 535), QPoint(139, 535));
        QTest::newRow("left") << 2 << false << QPoint(143, 500) << false << QRect(QPoint(139, 500), QPoint(139, 535));
        QTest::newRow("right") << 3 << false << QPoint(-104, 500) << true << QRect(QPoint(100, 500), QPoint(-60, 535));
    }

    void widthSliderBesideItsButton()
    {
        QFETCH(int, position);
        QFETCH(bool, vertical);
        QFETCH(QPoint, at);
        QFETCH(bool, rightToLeft);
        QFETCH(QRect, area);
        const WidthSliderPlacement p = PlaceWidthSlider(position, 100, 500, 139, 535, 200, 200, 40);
        QCOMPARE(p.vertical, vertical);
        QCOMPARE(p.position, at);
        QCOMPARE(p.rightToLeft, rightToLeft);
        QCOMPARE(QRect(p.areaFrom, p.areaTo), area);
    }

    // --- the long press, through the real buttons ---

    void longPressTiming_data()
    {
        // How many of the button's polls find it still down before it is let
        // go; the second opens the row.
        QTest::addColumn<int>("pollsHeld");
        QTest::addColumn<bool>("rowOpens");
        QTest::newRow("released before the first poll") << 0 << false;
        QTest::newRow("released between the polls") << 1 << false;
        QTest::newRow("held past the second poll") << 2 << true;
    }

    void longPressTiming()
    {
        QFETCH(int, pollsHeld);
        QFETCH(bool, rowOpens);
        // Polls a second apart: a busy machine still lets go between them.
        board->m_longPressDelay = 1000;
        board->ui->drawbtn->setChecked(false);
        board->ui->zoombtn->setChecked(true);
        QTest::mousePress(board->ui->drawbtn, Qt::LeftButton);
        // No action on the press itself.
        QVERIFY(board->ui->zoombtn->isChecked());
        QCOMPARE(board->m_longPressCount, 1);
        // Let go once the polls have seen it held (the press counted one).
        if (pollsHeld == 1)
            QTRY_COMPARE_WITH_TIMEOUT(board->m_longPressCount, 2, 10000);
        else if (pollsHeld == 2)
            QTRY_COMPARE_WITH_TIMEOUT(board->m_subButtons.size(), 10, 10000);
        QTest::mouseRelease(board->ui->drawbtn, Qt::LeftButton);
        // The next poll finds it up: a tap takes the draw tool, a hold has
        // already opened its row.
        QTRY_VERIFY_WITH_TIMEOUT(board->m_longPressCount == 0 && (rowOpens || !board->ui->zoombtn->isChecked()), 10000);
        QCOMPARE(board->m_subButtons.size(), rowOpens ? 10 : 0);
        // The tap selects the draw tool on a poll; the hold changes no tool.
        QCOMPARE(board->ui->zoombtn->isChecked(), rowOpens);
        QCOMPARE(board->m_longPressCount, 0);
    }

    void twoButtonsShareTheCounter()
    {
        // The draw button held, then the colour button: the draw button's
        // first poll already finds the limit reached and opens its row.
        board->ui->drawbtn->setDown(true);
        emit board->ui->drawbtn->pressed();
        board->ui->colorbtn->setDown(true);
        emit board->ui->colorbtn->pressed();
        QCOMPARE(board->m_longPressCount, 2);
        QTRY_COMPARE_WITH_TIMEOUT(board->m_subButtons.size(), 10, 350);
        board->ui->drawbtn->setDown(false);
        board->ui->colorbtn->setDown(false);
        // The colour button's poll then runs its click action.
        QTRY_COMPARE(board->m_longPressCount, 0);
    }

    // --- the rows ---

    void rowsHoldTheirKeysInOrder_data()
    {
        QTest::addColumn<QString>("builder");
        QTest::addColumn<int>("level");
        QTest::addColumn<QStringList>("keys");
        const QStringList draw = {"ekFree", "ekBrush", "ekLine", "ekRect", "ekFillRect",
                                  "ekEllipse", "ekFillEllipse", "ekBArrow", "ekEArrow", "ekSmart"};
        QStringList drawNoSmart = draw;
        drawNoSmart.removeLast();
        QTest::newRow("colour") << "CreateColorSubBtn" << 0
                                << QStringList{"black", "maroon", "green", "olive", "navy", "purple", "teal", "gray",
                                               "silver", "red", "lime", "yellow", "blue", "fuchsia", "aqua", "white"};
        QTest::newRow("draw alone") << "CreateDrawSubBtn" << 0 << draw;
        QTest::newRow("draw host") << "CreateDrawSubBtn" << 3 << draw;
        QTest::newRow("draw writer") << "CreateDrawSubBtn" << 2 << drawNoSmart;
        QTest::newRow("draw viewer") << "CreateDrawSubBtn" << 1 << drawNoSmart;
        QTest::newRow("erase") << "CreateEraseSubBtn" << 0 << QStringList{"ekEraseAll", "ekSelEraser", "ekAreaEraser"};
        QTest::newRow("note") << "CreateNoteSubBtn" << 0
                              << QStringList{"WhiteBoard", "BlackNote", "MusicNote", "EngNote", "GraphNote",
                                             "ManuNote", "ClipArt", "LoadImage", "Office"};
        QTest::newRow("object") << "CreateObjectSubBtn" << 0 << QStringList{"ekSelect", "ekMoveAll"};
        QTest::newRow("zoom") << "CreateZoomSubBtn" << 0
                              << QStringList{"ekZoomIn", "ekZoomOut", "ekZoomRect", "ekZoomFix1", "ekZoomFix2",
                                             "ekZoomFix3", "ekZoomFix4"};
        QTest::newRow("view location") << "CreateViewLocationSubBtn" << 0
                                       << QStringList{"LeftTop", "LeftBottom", "RightTop", "RightBottom"};
    }

    void rowsHoldTheirKeysInOrder()
    {
        QFETCH(QString, builder);
        QFETCH(int, level);
        QFETCH(QStringList, keys);
        board->m_collUserLevel = level;
        QVERIFY(QMetaObject::invokeMethod(board.get(), qPrintable(builder)));
        QVERIFY(board->m_subButtonRowOpen);
        QCOMPARE(board->m_subButtons.size(), keys.size());
        for (int i = 0; i < keys.size(); ++i) {
            QCOMPARE(board->m_rowMapper->mapping(keys.at(i)), static_cast<QObject*>(board->m_subButtons.at(i)));
            QVERIFY(board->m_subButtons.at(i)->isVisible());
        }
        // Opening another row closes this one.
        QPointer<QPushButton> first = board->m_subButtons.first();
        board->CreateObjectSubBtn();
        QCOMPARE(board->m_subButtons.size(), 2);
        QVERIFY(!first || first->isHidden());
        QTRY_VERIFY(!first);  // released, not kept
    }

    void rowsStandBesideTheBarAtEachPosition_data()
    {
        QTest::addColumn<int>("position");
        for (int p = 0; p < 4; ++p)
            QTest::newRow(qPrintable(QString::number(p))) << p;
    }

    void rowsStandBesideTheBarAtEachPosition()
    {
        QFETCH(int, position);
        const char* commands[] = {"OptToolPosBottom", "OptToolPosTop", "OptToolPosLeft", "OptToolPosRight"};
        QVERIFY(QMetaObject::invokeMethod(board.get(), commands[position]));
        board->CreateZoomSubBtn();
        const QRect button = board->ui->zoombtn->geometry();
        for (QPushButton* b : board->m_subButtons) {
            QVERIFY(board->rect().contains(b->geometry()));
            QVERIFY(!button.intersects(b->geometry()));
            // The row area a press outside of closes the row covers the row.
            QVERIFY(board->m_subButtonRowRect.normalized().adjusted(-1, -1, 1, 1).intersects(b->geometry()));
        }
    }

    void pressingARowButtonChoosesItsKey()
    {
        board->CreateDrawSubBtn();
        QTest::mousePress(board->m_subButtons.at(3), Qt::LeftButton);  // ekRect
        QVERIFY(!board->m_subButtonRowOpen);
        QCOMPARE(SlotsWithTool(ekRect), Range(0, 9));
        QCOMPARE(board->m_board.slot[10].event_kind, int(ekFree));
        QVERIFY(board->ui->drawbtn->isChecked());
        QVERIFY(CentrePictureSheet().contains("f_s_m_rectangle"));
    }

    void brushTurnsTransparencyOff()
    {
        board->OptTransBtnCheck(true);
        QCOMPARE(board->m_board.slot[0].pen.color().alpha(), 127);
        board->ClickDrawBtn("ekBrush");
        QVERIFY(!board->ui->transbtn->isEnabled());
        QVERIFY(!board->ui->transbtn->isChecked());
        QVERIFY(!board->m_board.slot[0].highlight);
        QVERIFY(!board->m_floatingFigure->transEnabled());
        QCOMPARE(board->m_board.slot[0].pen.color().alpha(), 255);
        board->ClickDrawBtn("ekLine");
        QVERIFY(board->ui->transbtn->isEnabled());
        QVERIFY(board->m_floatingFigure->transEnabled());
    }

    void aViewersChoiceChangesNoTool()
    {
        board->m_collUserLevel = 1;
        board->CreateDrawSubBtn();
        board->ClickDrawBtn("ekRect");
        QVERIFY(!board->m_subButtonRowOpen);
        QCOMPARE(SlotsWithTool(ekRect), QList<int>());
        QCOMPARE(board->m_board.slot[0].m_curr_drawbtn, QStringLiteral("ekFree"));
    }

    void onlyTheRowMarksAZoomForTheRecording()
    {
        // The zoom-rectangle key changes no zoom, so the flag stays to be seen.
        board->CreateZoomSubBtn();
        QTest::mousePress(board->m_subButtons.at(2), Qt::LeftButton);
        QVERIFY(board->m_recordZoom);
        QCOMPARE(board->m_zoomKey, QStringLiteral("ekZoomRect"));
        board->ClickZoomBtn("ekZoomRect");
        QVERIFY(!board->m_recordZoom);
    }

    void clearingWithNoRowOpenChangesNothing()
    {
        board->ui->horwidthslider->show();
        QVERIFY(!board->m_subButtonRowOpen);
        board->ClearSubBtn();
        QVERIFY(!board->ui->horwidthslider->isHidden());
    }

    void widthSliderOpensAndApplies()
    {
        board->OptToolPosBottom();
        board->ChangePenWidth(4);
        board->ShowPenWidthSlider();
        QVERIFY(board->m_subButtonRowOpen);
        QVERIFY(!board->ui->verwidthslider->isHidden());
        QCOMPARE(board->ui->verwidthslider->value(), 4);
        board->ui->verwidthslider->setValue(7);
        QCOMPARE(board->m_penWidth, 8);
        QCOMPARE(board->m_board.slot[3].pen.width(), 8);
        board->ClearSubBtn();
        QVERIFY(board->ui->verwidthslider->isHidden());
    }

    // --- effects by level ---

    void effectsByLevel_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("level");
        QTest::addColumn<QList<int>>("changed");
        QTest::addColumn<QString>("message");
        const QList<int> own = Range(0, 9);
        const QList<int> writer = {10};
        const QList<int> none;
        QTest::newRow("colour alone") << "colour" << 0 << own << "";
        QTest::newRow("colour viewer") << "colour" << 1 << writer << "";
        QTest::newRow("colour writer") << "colour" << 2 << writer << "PENCOLOR_SET(255,0,0,255,2)";
        QTest::newRow("colour host") << "colour" << 3 << own << "PENCOLOR_SET(255,0,0,255,3)";
        QTest::newRow("draw alone") << "draw" << 0 << own << "";
        QTest::newRow("draw viewer") << "draw" << 1 << none << "";
        QTest::newRow("draw writer") << "draw" << 2 << writer << "PENTYPE_SET(ekLine,2)";
        QTest::newRow("draw host") << "draw" << 3 << own << "PENTYPE_SET(ekLine,3)";
        QTest::newRow("trans alone") << "trans" << 0 << own << "";
        QTest::newRow("trans viewer") << "trans" << 1 << none << "";
        QTest::newRow("trans writer") << "trans" << 2 << writer << "PENHIGHLIGHT_SET(1,2)";
        QTest::newRow("trans host") << "trans" << 3 << own << "PENHIGHLIGHT_SET(1,3)";
        QTest::newRow("erase alone") << "erase" << 0 << own << "";
        QTest::newRow("erase viewer") << "erase" << 1 << none << "";
        QTest::newRow("erase writer") << "erase" << 2 << writer << "";
        QTest::newRow("erase host") << "erase" << 3 << own << "";
        QTest::newRow("object alone") << "object" << 0 << own << "";
        QTest::newRow("object viewer") << "object" << 1 << none << "";
        QTest::newRow("object writer") << "object" << 2 << writer << "";
        QTest::newRow("object host") << "object" << 3 << own << "";
    }

    void effectsByLevel()
    {
        QFETCH(QString, command);
        QFETCH(int, level);
        QFETCH(QList<int>, changed);
        QFETCH(QString, message);
        SessionTap tap(board.get(), level, level != 0);
        QList<int> got;
        if (command == "colour") {
            board->ClickColorBtn("red");
            for (int i = 0; i < kPointerSlotCount; ++i)
                if (board->m_board.slot[i].pen.color() == QColor(255, 0, 0))
                    got << i;
        } else if (command == "draw") {
            for (auto& s : board->m_board.slot)
                s.m_curr_drawbtn = "ekLine";
            board->OptDrawBtn();
            got = SlotsWithTool(ekLine);
            // A viewer's draw click sets the keys' tools of slots 0-9, which
            // still hold the key it was given; only the message is kept back.
            if (level == 1) {
                QCOMPARE(got, Range(0, 9));
                got.clear();
            }
        } else if (command == "trans") {
            board->OptTransBtn();
            for (int i = 0; i < kPointerSlotCount; ++i)
                if (board->m_board.slot[i].highlight)
                    got << i;
        } else if (command == "erase") {
            board->m_eraseKey = "ekSelEraser";
            board->OptEraseBtn();
            got = SlotsWithTool(ekSelEraser);
        } else if (command == "object") {
            board->m_selectKey = "ekSelect";
            board->OptObjectBtn();
            got = SlotsWithTool(ekSelect);
        }
        QCOMPARE(got, changed);
        if (message.isEmpty())
            QCOMPARE(tap.Lines().filter("_SET(").size(), 0);
        else
            QCOMPARE(tap.Count(message), 1);
    }

    void colourTakesTheAlphaOfTransparency()
    {
        SessionTap tap(board.get(), 3);
        board->m_toolRightHolder = board->m_ownId;
        board->OptTransBtnCheck(true);
        tap.Forget();
        board->ClickColorBtn("blue");
        QCOMPARE(board->m_board.slot[5].pen.color(), QColor(0, 0, 255, 127));
        QCOMPARE(board->m_board.slot[10].pen.color().alpha(), 255);
        QCOMPARE(tap.Count("PENCOLOR_SET(0,0,255,127,3)"), 1);
    }

    void eraseAll_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("ask");
        QTest::addColumn<bool>("send");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("erased");
        QTest::addColumn<bool>("realtime");
        QTest::newRow("alone, no question") << 0 << false << true << false << true << false;
        QTest::newRow("alone, asked") << 0 << true << true << true << true << false;
        QTest::newRow("host never asked") << 3 << true << true << false << true << true;
        QTest::newRow("viewer's own click") << 1 << false << true << false << false << false;
        QTest::newRow("viewer replaying the host") << 1 << false << false << false << true << false;
        QTest::newRow("writer") << 2 << false << true << false << true << true;
    }

    void eraseAll()
    {
        QFETCH(int, level);
        QFETCH(bool, ask);
        QFETCH(bool, send);
        QFETCH(bool, asked);
        QFETCH(bool, erased);
        QFETCH(bool, realtime);
        board->m_board.slot[0].event_kind = ekLine;
        board->PointerPress(0, 100, 100, true, false);
        board->PointerMove(0, 300, 100, true, false);
        board->PointerRelease(0, 300, 100, true, false);
        SessionTap tap(board.get(), level);
        board->m_config.erase = ask;
        for (auto& s : board->m_board.slot)
            s.event_kind = ekLine;
        board->m_eraseKey = "ekEraseAll";
        board->OptEraseBtn(send);
        QCOMPARE(g_log.filter("message box question: Confirm").size(), asked ? 1 : 0);
        QCOMPARE(board->m_board.slot[0].records.findDetail(0)->Deleted, quint8(erased ? 1 : 0));
        QCOMPARE(tap.Count("REALTIME_EVENT(15)"), realtime ? 1 : 0);
        // Erase all is never left behind as a tool.
        QCOMPARE(SlotsWithTool(ekEraseAll), QList<int>());
    }

    void zoomCommands()
    {
        board->ClickZoomBtn("ekZoomFix2");
        QCOMPARE(board->m_zoom, 2.0);
        QVERIFY(!board->ui->horizontalScrollBar->isHidden());
        QVERIFY(board->ui->zoombtn->isChecked());
        QCOMPARE(board->m_board.slot[0].event_kind, int(ekFree));

        board->ClickZoomBtn("ekZoomOut");
        QCOMPARE(board->m_zoom, 1.8);

        // Past the limit the zoom stays and a warning says why.
        board->m_zoom = 7.9;
        board->ClickZoomBtn("ekZoomIn");
        QCOMPARE(board->m_zoom, 7.9);
        QCOMPARE(g_log.filter("message box warning: Zoom").size(), 1);
    }

    void noteKindsMakeTheirPages_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("page");
        QTest::newRow("white") << "WhiteBoard" << "WhiteBoard";
        QTest::newRow("black") << "BlackNote" << "BlackBoard";
        QTest::newRow("music") << "MusicNote" << "MusicNote";
        QTest::newRow("english") << "EngNote" << "EnglishNote";
        QTest::newRow("graph") << "GraphNote" << "GraphNote";
        QTest::newRow("manuscript") << "ManuNote" << "ManuScriptH";
    }

    void noteKindsMakeTheirPages()
    {
        QFETCH(QString, kind);
        QFETCH(QString, page);
        SessionTap tap(board.get(), 3);
        board->ClickNoteBtn(kind);
        QCOMPARE(board->m_note_list.size(), 2);
        QCOMPARE(board->m_curr_note.name, page);
        QVERIFY(QFileInfo::exists(board->m_curr_note.imagePath));
        const QStringList sent = tap.Lines().filter(QRegularExpression("^NOTE(BTN|DATA|IDX)_SET\\("));
        QCOMPARE(sent.size(), 3);
        QCOMPARE(sent[0], "NOTEBTN_SET(0,," + kind + ")");
        QVERIFY2(sent[1].startsWith("NOTEDATA_SET(0,," + page + ",") && sent[1].endsWith(",1)"), qPrintable(sent[1]));
        QCOMPARE(sent[2], QStringLiteral("NOTEIDX_SET(0,,1,2)"));
    }

    void arcIsReplayedAsAFreePenStroke()
    {
        board->m_board.slot[0].event_kind = ekRect;
        board->m_board.slot[0].m_curr_drawbtn = "ekRect";
        board->OptTool_DrawArc(QRect(100, 100, 200, 200), 0, 90);
        const auto& masters = board->m_board.slot[0].records.masters();
        QCOMPARE(masters.size(), 1);
        QCOMPARE(masters.first().Kind, int(ekFree));
        const QVector<FreePenPoint> points = board->m_board.FreePenMap.value("0-0");
        QVERIFY(points.size() >= 30);
        // The rectangle's centre is (199, 199) by Qt's inclusive corners.
        QCOMPARE(points.first().S, QPointF(199, 99));
        QCOMPARE(points.last().S, QPointF(299, 199));
        QCOMPARE(board->m_board.slot[0].event_kind, int(ekRect));
        QCOMPARE(board->m_board.slot[0].m_curr_drawbtn, QStringLiteral("ekRect"));
    }

    void instrumentLineTellsPeersTheTool()
    {
        SessionTap tap(board.get(), 3);
        board->OptTool_DrawLine(QPoint(10, 10), QPoint(200, 50));
        QCOMPARE(board->m_board.slot[0].records.masters().first().Kind, int(ekLine));
        // The tool state goes out before and after the figure, and the
        // host's undo list tells its new position.
        QCOMPARE(tap.Keywords().filter("DATAINFO_SET").size(), 2);
        QCOMPARE(tap.Keywords().filter("URdata_SET").size(), 1);
    }

    // The instruments show from their menu slots, draw on the board through
    // the wiring table, step aside for an area capture and hide on a reset.
    void instrumentsShowDrawAndHideOnReset()
    {
        QWidget* instruments[3] = {board->m_ruler, board->m_protractor, board->m_compass};
        board->OptMenuRuler();
        board->OptMenuProtractor();
        board->OptMenuCompass();
        for (QWidget* w : instruments) {
            QVERIFY2(w->isVisible(), w->metaObject()->className());
            QVERIFY(board->m_floatingTools.contains(w));
        }
        QVERIFY(!Sent("is not available yet"));

        board->m_ruler->OptMenu_DrawTopLine();
        board->m_compass->OptMenu_DrawEllipse();
        const auto& masters = board->m_board.slot[0].records.masters();
        QCOMPARE(masters.size(), 2);
        QCOMPARE(masters.at(0).Kind, int(ekLine));
        QCOMPARE(masters.at(1).Kind, int(ekEllipse));

        board->ShowCaptureOverlays(false);
        for (QWidget* w : instruments)
            QVERIFY(!w->isVisible());
        board->HideCaptureOverlays();
        for (QWidget* w : instruments)
            QVERIFY(w->isVisible());

        board->ResetBoard(false);
        for (QWidget* w : instruments)
            QVERIFY2(!w->isVisible(), w->metaObject()->className());
    }

    void pageSteps()
    {
        // One page: neither step goes anywhere, whoever asks.
        board->OptPostNoteBtn(true);
        board->OptPreNoteBtn(true);
        QCOMPARE(board->m_note_idx, 0);
        QCOMPARE(Sent("exe : no page"), 2);

        board->CreateNotePage(1, "WhiteBoard", "", false);
        QCOMPARE(board->m_note_idx, 1);
        const QString second = board->m_curr_note.create_data;
        board->OptPreNoteBtn();
        QCOMPARE(board->m_note_idx, 0);
        board->OptPostNoteBtn();
        QCOMPARE(board->m_curr_note.create_data, second);

        // A host waits for the writer's pointer before it changes the page.
        SessionTap tap(board.get(), 3);
        board->m_board.slot[10].pressed = true;
        g_log.clear();
        board->OptPreNoteBtn();
        QCOMPARE(board->m_note_idx, 1);
        QCOMPARE(tap.Count("MouseRelease_SET(0,,1)"), 1);

        // A writer with the tool right asks the host.
        board->m_board.slot[10].pressed = false;
        board->m_collUserLevel = 2;
        board->OptPreNoteBtn();
        QCOMPARE(board->m_note_idx, 1);
        QCOMPARE(tap.Count("ChangeNote_SET(0,,1)"), 1);
    }

    // Without a tray window mode still leaves the desktop to the user, with
    // a window of its own as the way back.
    void withoutATrayWindowModeStillWorks()
    {
        if (QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("this display has a system tray");
        QSignalSpy display(board.get(), SIGNAL(MainDlgDisplay(int)));
        board->OptWinBtn();
        QVERIFY(!board->isVisible());
        QCOMPARE(display.size(), 1);
        QVERIFY(board->m_windowModeWindow && board->m_windowModeWindow->isVisible());
    }

    // --- document and note commands ---

    void penWidths_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("companion");
        QTest::newRow("thinnest") << 1 << 2 << 7;
        QTest::newRow("widest") << 10 << 11 << 16;
    }

    void penWidths()
    {
        QFETCH(int, index);
        QFETCH(int, width);
        QFETCH(int, companion);
        board->ChangePenWidth(index);
        QCOMPARE(board->m_penWidth, width);
        QCOMPARE(board->m_companionWidth, companion);
        QCOMPARE(board->m_strokeMargin, width / 2 + 2);
        QCOMPARE(board->m_board.slot[9].pen.width(), width);
        QString tooltip;
        QCOMPARE(board->ui->pwidthbtn->styleSheet(),
                 board->MakeButtonStyleSheet(QStringLiteral("Pwid%1").arg(index), tooltip));
        QVERIFY(CentrePictureSheet().contains("f_s_m_pen"));
    }

    void pageChangeIsRecorded()
    {
        const QString a = board->m_curr_note.create_data;
        board->CreateNotePage(1, "BlackBoard", "", false);
        const QString b = board->m_curr_note.create_data;
        board->ChangeNote(a);
        board->m_bRecording = true;
        board->m_rec_time.start();
        const int before = board->m_board.slot[0].records.masters().size();
        board->ChangeNote(b);
        const auto& masters = board->m_board.slot[0].records.masters();
        QCOMPARE(masters.size(), before + 1);
        QCOMPARE(masters.last().Kind, int(ekNoteChange));
        QCOMPARE(masters.last().NoteName, a);
        QCOMPARE(board->m_rec_note_names.last(), QStringLiteral("BlackBoard"));
        QCOMPARE(board->m_rec_note_stamps.last(), b);
        QCOMPARE(board->m_rec_note_index.last(), 1);
        board->m_bRecording = false;
    }

    void hostPushesTheShownPage()
    {
        board->CreateNotePage(1, "BlackBoard", "", false);
        SessionTap tap(board.get(), 3);
        board->OptPreNoteBtn();
        tap.Forget();
        board->OptPostNoteBtn();
        QCOMPARE(tap.Count("NOTEBTN_SET(0,,BlackNote)"), 1);
        QCOMPARE(tap.Count("REDRAW_SET(0,,FromEventData)"), 1);
    }

    void clipArtBecomesTheBackground()
    {
        board->m_board.slot[0].pen = QPen(QBrush(QColor(220, 0, 0)), 8);
        board->PointerPress(0, 100, 100, true, false);
        board->PointerMove(0, 150, 100, true, false);
        board->PointerRelease(0, 200, 100, true, false);
        const QString stamp = board->m_curr_note.create_data;
        QTemporaryDir dir;
        const QString picture = dir.filePath("art.png");
        QImage art(400, 300, QImage::Format_RGB32);
        art.fill(QColor(0, 0, 200));
        QVERIFY(art.save(picture));

        board->BackGroundClipArtImage(picture);
        const NoteInfo entry = board->m_note_list.first();
        QCOMPARE(entry.type, 2);
        QCOMPARE(entry.name, QStringLiteral("ClipartImage"));
        QCOMPARE(entry.create_data, stamp);
        QCOMPARE(entry.path, picture);
        const QColor ink = board->m_viewImage.pixelColor(150, 100);
        QVERIFY2(ink.red() > 150 && ink.blue() < 100, qPrintable(ink.name()));
        QVERIFY(QImage(entry.imagePath).pixelColor(150, 100).red() > 150);
    }

    void scrollingCutsTheViewFromThePage()
    {
        board->ClickZoomBtn("ekZoomFix2");
        SessionTap tap(board.get(), 3);
        board->ui->horizontalScrollBar->setValue(300);
        const QRect visible(300, board->ui->verticalScrollBar->value(), board->m_view_width, board->m_view_height);
        QCOMPARE(board->m_viewImage, board->m_canvasImage.copy(visible));
        board->ChangeScrollBar(120, 40);
        QCOMPARE(board->ui->horizontalScrollBar->value(), 120);
        QCOMPARE(board->m_viewImage, board->m_canvasImage.copy(QRect(120, 40, board->m_view_width,
                                                                       board->m_view_height)));
        board->ChangeScrollBar_release();
        const QString v = QString::number(board->ui->verticalScrollBar->maximum());
        const QString h = QString::number(board->ui->horizontalScrollBar->maximum());
        QCOMPARE(tap.Lines(), QStringList({"HEIGHTSCROLLBAR_SET(0,NULL,40," + v + ")",
                                           "WIDTHSCROLLBAR_SET(0,NULL,120," + h + ")"}));
    }

    // The colour ring opens over the launcher showing the pen, and its
    // choices reach the pen.
    void colourRingChoosesThePen()
    {
        board->OptSubAlign(QPoint(300, 200));
        board->OptColorDialog();
        floatingcolor* ring = board->m_floatingColor;
        QVERIFY(ring->isVisible());
        QCOMPARE(ring->pos(), QPoint(273, 173));
        QVERIFY(ring->findChild<QPushButton*>("btnBlack")->isChecked());
        QVERIFY(ring->findChild<QPushButton*>("btnPenWidth1")->isChecked());
        QTest::mouseClick(ring->findChild<QPushButton*>("btnRed"), Qt::LeftButton);
        QCOMPARE(board->m_board.slot[0].pen.color(), QColor(Qt::red));
        QTest::mouseClick(ring->findChild<QPushButton*>("btnPenWidth4"), Qt::LeftButton);
        QCOMPARE(board->m_penWidth, 11);
        QCOMPARE(board->m_board.slot[0].pen.width(), 11);
        // Opening the ring again shows what was chosen.
        board->OptColorDialog();
        QVERIFY(ring->findChild<QPushButton*>("btnRed")->isChecked());
        QVERIFY(ring->findChild<QPushButton*>("btnPenWidth4")->isChecked());
        // Another panel closes it.
        board->OptEraserDialog();
        QVERIFY(ring->isHidden());
    }

    void resetReturnsTheToolbarToItsDefaults()
    {
        board->ClickNoteBtn("BlackNote");
        board->ChangePenWidth(6);
        board->OptTransBtnCheck(true);
        board->ClickZoomBtn("ekZoomFix3");
        board->CreateColorSubBtn();
        board->OptColorDialog();
        QVERIFY(board->m_floatingColor->isVisible());
        board->ResetBoard(true);
        QVERIFY(board->m_floatingColor->isHidden());
        QCOMPARE(board->m_noteKind, QStringLiteral("WhiteBoard"));
        QCOMPARE(board->m_penWidth, 2);
        QVERIFY(!board->ui->transbtn->isChecked());
        QCOMPARE(board->m_zoom, 1.0);
        QCOMPARE(board->m_zoomKey, QStringLiteral("ekZoomFix1"));
        QVERIFY(!board->m_subButtonRowOpen);
    }
};

QTEST_MAIN(ToolCommandsTest)
#include "tool_commands_test.moc"
