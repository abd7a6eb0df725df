// The toolbar: its button table and style sheets, the drawn pictures in the
// resource bundle, the layout at each position, the enabling by role and the
// button states.
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"

#include <QAction>
#include <QLabel>
#include <QMovie>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QtTest>

#include <memory>

namespace {

const int W = 1920;
const int H = 1080;

QString Sheet(const QString& group, QStringList images)
{
    QString out;
    for (int i = 0; i < images.size(); ++i) {
        const QString state = images[i].section('|', 0, 0);
        const QString image = images[i].section('|', 1);
        out += QStringLiteral("QPushButton%1 {border-image: url(:/%2/%3);}").arg(state, group, image);
    }
    return out;
}

int Gray(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y));
}

}  // namespace

class ToolbarTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> root;
    Dialog* board = nullptr;

    QWidget* Widget(const QString& name) const { return board->findChild<QWidget*>(name); }

    // The table and the start keys, as the second stage leaves them, with
    // the bar at `position`.
    void LayOut(int position)
    {
        board->m_toolbarPosition = position;
        board->SetModeButtonStates();
        board->SetToolbarPosition();
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(root->isValid());
    }

    void cleanupTestCase() { root.reset(); }

    void init()
    {
        ScopedLibraryFolder noLibraries(root->path());
        board = new Dialog;
        board->m_canvasWidth = W;
        board->m_canvasHeight = H;
        board->m_placement = MakeToolbarPlacement(W, H, 1.0f);
        board->m_lang.hint = QStringList();
        for (int key = 900; key <= 978; ++key)
            board->m_lang.hint << QStringLiteral("hint%1").arg(key);
        board->InitBoardModel();
        board->ResetBoard(false);
        board->SetButtons();
        board->SetButtonStates();
    }

    void cleanup()
    {
        delete board;
        board = nullptr;
    }

    // --- the table ---------------------------------------------------------

    void tableRowsAndLists()
    {
        QCOMPARE(board->ButtonTable.size(), 85);
        QSet<QString> keys;
        for (const ButtonRecord& r : board->ButtonTable)
            keys.insert(r.Key);
        QCOMPARE(keys.size(), 85);
        QCOMPARE(board->NoteSubBtnKeys.size(), 9);
        QCOMPARE(board->ColorSubBtnKeys.size(), 16);
        QCOMPARE(board->DrawSubBtnKeys.size(), 10);
        QCOMPARE(board->EraseSubBtnKeys.size(), 3);
        QCOMPARE(board->ObjectSubBtnKeys.size(), 2);
        QCOMPARE(board->ZoomSubBtnKeys.size(), 7);
        QCOMPARE(board->ViewLocationSubBtnKeys.size(), 4);
        QCOMPARE(board->NoteSubBtnKeys.mid(4), QStringList({"GraphNote", "ManuNote", "ClipArt", "LoadImage", "Office"}));
        QVERIFY(!board->DrawSubBtnKeys.contains("ekTrans"));
        // Every row names pictures in its own folder; AppendTextRecord checks
        // nothing, so a repeated key is stored as given.
        board->AppendTextRecord("ekFree", "", "", "", "", "");
        QCOMPARE(board->ButtonTable.size(), 86);
        QCOMPARE(board->ButtonTable.last().Image1, QStringLiteral("1"));
    }

    void tableRows_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("image1");
        QTest::addColumn<QString>("image6");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<QString>("disabledA");
        QTest::addColumn<QString>("disabledB");
        QTest::newRow("white board") << "WhiteBoard" << "Note" << "New1" << "New6" << "hint900" << "" << "";
        QTest::newRow("black note") << "BlackNote" << "Note" << "black1" << "black6" << "hint946" << "" << "";
        QTest::newRow("black colour") << "black" << "Color" << "black1" << "black6" << "hint905" << "" << "";
        QTest::newRow("pen width 10") << "Pwid10" << "Penwid" << "p10_1" << "p10_6" << "hint921 : 10" << "" << "";
        QTest::newRow("pen width 7, no hint") << "Pwid7" << "Penwid" << "p7_1" << "p7_6" << " : 7" << "" << "";
        QTest::newRow("free pen, no hint") << "ekFree" << "Draw" << "free1" << "free6" << "" << "" << "";
        QTest::newRow("highlighter") << "ekTrans" << "Draw" << "trans1" << "trans6" << "hint922" << "trans0" << "trans7";
        QTest::newRow("undo") << "undo" << "Object" << "undo1" << "undo6" << "hint975" << "undo0" << "undo7";
        QTest::newRow("shared hint") << "LeftBottom" << "Rec" << "lb1" << "lb6" << "hint959" << "" << "";
        QTest::newRow("literal") << "ViewVideo" << "Rec" << "viewvideo1" << "viewvideo6" << "viewvideo" << "" << "";
        QTest::newRow("separator") << "Separateleft" << "Separate" << "left1" << "left6" << "" << "" << "";
        QTest::newRow("upload") << "Strova" << "Coll" << "Strova1" << "Strova6" << "hint918" << "" << "";
    }

    void tableRows()
    {
        QFETCH(QString, key);
        // The language of this run lacks two keys.
        board->ButtonTable.clear();
        board->m_lang.hint[921 - 900] = "";
        board->m_lang.hint[923 - 900] = "";
        board->SetButtons();
        board->m_lang.hint[921 - 900] = "hint921";
        board->SetButtons();  // appended after the first 85: the first row wins
        const auto it = std::find_if(board->ButtonTable.cbegin(), board->ButtonTable.cend(),
                                     [&](const ButtonRecord& r) { return r.Key == key; });
        QVERIFY(it != board->ButtonTable.cend());
        QTEST(it->Group, "group");
        QTEST(it->Image1, "image1");
        QTEST(it->Image6, "image6");
        if (key == "Pwid10") {
            QCOMPARE(it->ToolTip, QStringLiteral(" : 10"));
            QCOMPARE(board->ButtonTable[it - board->ButtonTable.cbegin() + 85].ToolTip, QStringLiteral("hint921 : 10"));
        } else {
            QTEST(it->ToolTip, "tooltip");
        }
        QTEST(it->DisabledImageA, "disabledA");
        QTEST(it->DisabledImageB, "disabledB");
    }

    // --- style sheets ------------------------------------------------------

    void styleSheets_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("sheet");
        QTest::newRow("free pen, bottom")
            << "ekFree" << 0 << Sheet("Draw", {"|free1", ":hover|free2", ":pressed|free3", ":checked|free3"});
        QTest::newRow("free pen, left")
            << "ekFree" << 2 << Sheet("Draw", {"|free4", ":hover|free5", ":pressed|free6", ":checked|free3"});
        QTest::newRow("free pen, floating")
            << "ekFree" << 4 << Sheet("Draw", {"|free4", ":hover|free5", ":pressed|free6", ":checked|free3"});
        QTest::newRow("separator keeps its set")
            << "Separateleft" << 2
            << Sheet("Separate", {"|left1", ":hover|left2", ":pressed|left3", ":checked|left3"});
        QTest::newRow("record start: no checked rule")
            << "RecStart" << 1 << Sheet("Rec", {"|rec1", ":hover|rec2", ":pressed|rec3"});
        QTest::newRow("record stop")
            << "RecStop" << 1 << Sheet("Rec", {"|stop1", ":hover|stop2", ":pressed|stop3", ":checked|stop3"});
        QTest::newRow("highlighter, floating")
            << "ekTrans" << 4
            << Sheet("Draw", {"|trans4", ":hover|trans5", ":pressed|trans6", ":disabled|trans7", ":checked|trans3"});
        QTest::newRow("redo, top")
            << "redo" << 1 << Sheet("Object", {"|redo1", ":hover|redo2", ":pressed|redo3", ":disabled|redo0"});
        QTest::newRow("undo, right")
            << "undo" << 3 << Sheet("Object", {"|undo4", ":hover|undo5", ":pressed|undo6", ":disabled|undo7"});
        QTest::newRow("case differs") << "ekfree" << 0 << "";
        QTest::newRow("unknown") << "EkFree" << 2 << "";
    }

    void styleSheets()
    {
        QFETCH(QString, key);
        QFETCH(int, position);
        board->m_toolbarPosition = position;
        QString tooltip = "kept";
        QTEST(board->MakeButtonStyleSheet(key, tooltip), "sheet");
        QFETCH(QString, sheet);
        if (sheet.isEmpty())
            QCOMPARE(tooltip, QStringLiteral("kept"));
    }

    void setButtonStyle()
    {
        QPushButton button(board);
        button.setToolTip("before");
        button.setCursor(Qt::CrossCursor);
        board->SetButtonStyle(&button, 40, 36, "ekLine");
        QVERIFY(button.styleSheet().contains(":/Draw/line1"));
        QCOMPARE(button.toolTip(), QStringLiteral("hint924"));
        // Keys without a tooltip and keys without a row keep the tooltip;
        // an unknown key also drops the pictures.
        board->SetButtonStyle(&button, 40, 147, "UserList");
        QCOMPARE(button.toolTip(), QStringLiteral("hint924"));
        button.setCursor(Qt::CrossCursor);
        board->SetButtonStyle(&button, 33, 22, "nothing");
        QCOMPARE(button.styleSheet(), QString());
        QCOMPARE(button.size(), QSize(33, 22));
        QCOMPARE(button.toolTip(), QStringLiteral("hint924"));
        QCOMPARE(button.cursor().shape(), Qt::ArrowCursor);
        // Before the table exists no key has a row.
        board->ButtonTable.clear();
        board->SetButtonStyle(&button, 40, 36, "ekLine");
        QCOMPARE(button.styleSheet(), QString());
    }

    // --- pictures ----------------------------------------------------------

    void everyPictureIsInTheBundle()
    {
        QSet<QString> names;
        for (const ButtonRecord& r : board->ButtonTable) {
            for (const QString& image : {r.Image1, r.Image2, r.Image3, r.Image4, r.Image5, r.Image6, r.DisabledImageA,
                                         r.DisabledImageB})
                names.insert(":/" + r.Group + "/" + image);
        }
        // Rows that name pictures the bundle does not hold, by design.
        const QStringList threeOnly = {"Capture", "RectCapture", "UserList"};
        const QStringList firstOfEach = {"write_off", "write_on", "Tool_off", "Tool_on"};
        for (const ButtonRecord& r : board->ButtonTable) {
            QStringList held = {r.Image1, r.Image2, r.Image3, r.Image4, r.Image5, r.Image6};
            if (r.Group == "Separate" || threeOnly.contains(r.Key))
                held = held.mid(0, 3);
            else if (firstOfEach.contains(r.Key))
                held = QStringList{r.Image1, r.Image4};
            if (!r.DisabledImageA.isEmpty())
                held << r.DisabledImageA << r.DisabledImageB;
            QSize size(40, 36);
            if (r.Key == "UserList")
                size = QSize(76, 280);
            else if (r.Group == "Separate")
                size = (r.Key == "Separatebot" || r.Key == "Separatetop") ? QSize(11, 47) : QSize(47, 11);
            for (const QString& name : held) {
                const QImage image(":/" + r.Group + "/" + name);
                QVERIFY2(!image.isNull(), qPrintable(r.Group + "/" + name));
                if (r.Group == "Separate")
                    QVERIFY2(qAbs(image.width() - size.width()) <= 1 && qAbs(image.height() - size.height()) <= 1,
                             qPrintable(name));
                else
                    QCOMPARE(image.size(), size);
                // No flat colour field.
                QSet<QRgb> colours;
                for (int y = 0; y < image.height(); y += 2)
                    for (int x = 0; x < image.width(); x += 2)
                        colours.insert(image.pixel(x, y));
                QVERIFY2(colours.size() > 8, qPrintable(r.Group + "/" + name));
            }
        }
        for (const char* shell : {":/Bar/topbottom", ":/Bar/leftright", ":/Logo/topbottom", ":/Logo/leftright",
                                     ":/Cursor/pen", ":/Menu/new", ":/Menu/open", ":/Menu/save", ":/Menu/saveas",
                                     ":/Menu/notesave", ":/Menu/print", ":/Menu/tool", ":/Menu/toolpos",
                                     ":/Menu/config", ":/Menu/exit", ":/Window/panser1", ":/Etc/orbel", ":/Etc/splash"})
            QVERIFY2(!QImage(QString::fromLatin1(shell)).isNull(), shell);
        QMovie loading(":/Etc/Loding");
        QVERIFY(loading.isValid());
        QVERIFY(loading.frameCount() > 1);
    }

    void picturesDifferByRowAndState()
    {
        QHash<QByteArray, QString> normals;
        for (const ButtonRecord& r : board->ButtonTable) {
            const QImage n(":/" + r.Group + "/" + r.Image1);
            const QByteArray bytes(reinterpret_cast<const char*>(n.constBits()), int(n.sizeInBytes()));
            QVERIFY2(!normals.contains(bytes), qPrintable(r.Key + " looks like " + normals.value(bytes)));
            normals.insert(bytes, r.Key);
            if (r.Group == "Separate" || r.Key == "UserList" || r.Key.startsWith("write") || r.Key.startsWith("Tool_")
                || r.Key.endsWith("Capture"))
                continue;
            // Hover and pressed differ from normal in both sets.
            for (int set = 0; set < 2; ++set) {
                const QStringList states = set == 0 ? QStringList{r.Image1, r.Image2, r.Image3}
                                                    : QStringList{r.Image4, r.Image5, r.Image6};
                const QImage a(":/" + r.Group + "/" + states[0]), b(":/" + r.Group + "/" + states[1]),
                    c(":/" + r.Group + "/" + states[2]);
                QVERIFY2(a != b && a != c && b != c, qPrintable(r.Key));
            }
            // The two sets are shaded across each other: top to bottom, and
            // left to right, seen along the edges the symbols leave free.
            const QImage top(":/" + r.Group + "/" + r.Image1), side(":/" + r.Group + "/" + r.Image4);
            QVERIFY2(Gray(top, 2, 6) - Gray(top, 2, 29) > 15, qPrintable(r.Key));
            QVERIFY2(qAbs(Gray(top, 8, 2) - Gray(top, 29, 2)) < 6, qPrintable(r.Key));
            QVERIFY2(Gray(side, 6, 33) - Gray(side, 33, 33) > 15, qPrintable(r.Key));
            QVERIFY2(qAbs(Gray(side, 2, 8) - Gray(side, 2, 27)) < 6, qPrintable(r.Key));
            if (!r.DisabledImageA.isEmpty()) {
                const QImage greyed(":/" + r.Group + "/" + r.DisabledImageA);
                QVERIFY(greyed != top);
                QColor c = greyed.pixel(20, 18);
                if (r.Key == "ekTrans")
                    QVERIFY2(QImage(":/Draw/trans7") != side, "greyed side picture");
                else
                    QVERIFY2(qAbs(c.red() - c.blue()) < 12, qPrintable(r.Key));
            }
        }
        // The highlighter's disabled pictures carry a red prohibition sign.
        int red = 0;
        const QImage trans0(":/Draw/trans0");
        for (int y = 0; y < trans0.height(); ++y)
            for (int x = 0; x < trans0.width(); ++x) {
                const QColor c = trans0.pixel(x, y);
                red += c.red() > 180 && c.green() < 80 && c.blue() < 80 ? 1 : 0;
            }
        QVERIFY(red > 40);
    }

    // --- layout by position ------------------------------------------------

    void barLayout_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("bottom: bar") << 0 << "mainbar" << QRect(0, H - 45, W, 45);
        QTest::newRow("bottom: logo") << 0 << "logbtn" << QRect(0, H - 45, 96, 45);
        QTest::newRow("bottom: note") << 0 << "notebtn" << QRect(96, H - 41, 40, 36);
        QTest::newRow("bottom: separator") << 0 << "notesubbtn" << QRect(136, H - 45, 12, 44);
        QTest::newRow("bottom: window") << 0 << "windowbtn" << QRect(148, H - 41, 40, 36);
        QTest::newRow("bottom: colour") << 0 << "colorbtn" << QRect(188, H - 41, 40, 36);
        QTest::newRow("bottom: upload") << 0 << "btn_Strova" << QRect(952, H - 41, 40, 36);
        QTest::newRow("top: bar") << 1 << "mainbar" << QRect(0, 0, W, 45);
        QTest::newRow("top: logo") << 1 << "logbtn" << QRect(0, 0, 96, 45);
        QTest::newRow("top: note") << 1 << "notebtn" << QRect(96, 4, 40, 36);
        QTest::newRow("top: separator") << 1 << "notesubbtn" << QRect(136, 0, 12, 44);
        QTest::newRow("left: bar") << 2 << "mainbar" << QRect(0, 0, 48, H);
        QTest::newRow("left: logo") << 2 << "logbtn" << QRect(0, 0, 48, 70);
        QTest::newRow("left: note") << 2 << "notebtn" << QRect(4, 70, 40, 36);
        QTest::newRow("left: separator") << 2 << "notesubbtn" << QRect(0, 106, 48, 12);
        QTest::newRow("left: window") << 2 << "windowbtn" << QRect(4, 118, 40, 36);
        QTest::newRow("left: upload") << 2 << "btn_Strova" << QRect(4, 850, 40, 36);
        QTest::newRow("right: bar") << 3 << "mainbar" << QRect(W - 48, 0, 48, H);
        QTest::newRow("right: logo") << 3 << "logbtn" << QRect(W - 48, 0, 48, 70);
        QTest::newRow("right: note") << 3 << "notebtn" << QRect(W - 44, 70, 40, 36);
        QTest::newRow("right: separator") << 3 << "notesubbtn" << QRect(W - 48, 106, 48, 12);
        for (int p = 0; p < 4; ++p) {
            const QRect hs[] = {QRect(0, H - 65, W - 20, 20), QRect(0, H - 20, W - 20, 20),
                                QRect(48, H - 20, W - 68, 20), QRect(0, H - 20, W - 68, 20)};
            const QRect vs[] = {QRect(W - 20, 0, 20, H - 65), QRect(W - 20, 45, 20, H - 65),
                                QRect(W - 20, 0, 20, H - 20), QRect(W - 68, 0, 20, H - 20)};
            QTest::addRow("%d: horizontal scroll bar", p) << p << "horizontalScrollBar" << hs[p];
            QTest::addRow("%d: vertical scroll bar", p) << p << "verticalScrollBar" << vs[p];
        }
        QTest::newRow("bottom: page label") << 0 << "notelistLabel" << QRect(W - 75, 25, 100, 30);
        QTest::newRow("top: page label") << 1 << "notelistLabel" << QRect(W - 75, 70, 100, 30);
        QTest::newRow("top: time label") << 1 << "rectimeLabel" << QRect(W - 135, 105, 160, 30);
        QTest::newRow("right: page label") << 3 << "notelistLabel" << QRect(W - 148, 25, 100, 30);
        QTest::newRow("right: time label") << 3 << "rectimeLabel" << QRect(W - 208, 60, 160, 30);
    }

    void barLayout()
    {
        QFETCH(int, position);
        QFETCH(QString, name);
        LayOut(position);
        QTEST(Widget(name)->geometry(), "geometry");
        // The view buttons keep their places empty; without the capture or
        // collaboration library their buttons go too.
        for (const char* gone : {"viewbtn", "viewlocationbtn", "viewlocationsubbtn", "recbtn", "btn_show_IP",
                                 "btn_show_collconnectDlg", "btn_isWrite", "btn_isTool", "btn_show_userListDlg"})
            QVERIFY2(Widget(gone)->isHidden(), gone);
        QVERIFY(!board->ui->mainbar->isHidden());
        QVERIFY(!board->ui->drawbtn->isHidden());
        const bool horizontal = position <= 1;
        QVERIFY(board->ui->mainbar->styleSheet().contains(horizontal ? ":/Bar/topbottom" : ":/Bar/leftright"));
        QVERIFY(board->ui->drawbtn->styleSheet().contains(horizontal ? ":/Draw/free1" : ":/Draw/free4"));
        const char* separator[] = {":/Separate/bottom1", ":/Separate/top1", ":/Separate/left1", ":/Separate/right1"};
        QVERIFY(board->ui->zoomsubbtn->styleSheet().contains(separator[position]));
    }

    void otherPositionsLeaveTheBar()
    {
        LayOut(2);
        const QRect before = board->ui->mainbar->geometry();
        LayOut(7);
        QCOMPARE(board->ui->mainbar->geometry(), before);
        QCOMPARE(board->ui->horizontalScrollBar->geometry(), QRect(0, 0, 0, 0));
        // Floating hides the bar and all its buttons.
        LayOut(4);
        QVERIFY(board->ui->mainbar->isHidden());
        for (QWidget* b : qAsConst(board->m_toolbarButtons))
            QVERIFY(b->isHidden());
        QCOMPARE(board->ui->verticalScrollBar->geometry(), QRect(W - 20, 0, 20, H - 20));
    }

    void pageLabelWidths_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("width");
        QTest::newRow("9 of 12") << 8 << 12 << 92 << 100;
        QTest::newRow("10 of 12") << 9 << 12 << 109 << 100;
        QTest::newRow("100 of 120") << 99 << 120 << 143 << 134;
        QTest::newRow("1 of 1") << 0 << 1 << 75 << 100;
    }

    void pageLabelWidths()
    {
        QFETCH(int, index);
        QFETCH(int, count);
        QFETCH(int, offset);
        QFETCH(int, width);
        LayOut(0);
        board->SetPageLabelGeometry(true, index, count);
        QCOMPARE(board->ui->notelistLabel->geometry(), QRect(W - offset, 25, width, 30));
        QCOMPARE(board->ui->rectimeLabel->geometry(), QRect(W - 135, 60, width + 60, 30));
        // Without given values the label follows the current note.
        board->m_note_idx = index;
        board->m_note_cnt = count;
        board->SetPageLabelGeometry(false, 0, 0);
        QCOMPARE(board->ui->notelistLabel->x(), W - offset);
    }

    void subButtonRow_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QRect>("button");
        QTest::addColumn<QPoint>("first");
        QTest::addColumn<QPoint>("second");
        QTest::addColumn<QPoint>("inside");
        QTest::addColumn<QPoint>("outside");
        QTest::newRow("bottom: upwards") << 0 << QRect(188, H - 41, 40, 36) << QPoint(188, H - 82)
                                         << QPoint(188, H - 118) << QPoint(200, H - 100) << QPoint(260, H - 100);
        QTest::newRow("top: downwards") << 1 << QRect(188, 4, 40, 36) << QPoint(188, 43) << QPoint(188, 79)
                                        << QPoint(200, 100) << QPoint(200, 160);
        QTest::newRow("left: rightwards") << 2 << QRect(4, 150, 40, 36) << QPoint(47, 150) << QPoint(87, 150)
                                          << QPoint(100, 160) << QPoint(100, 200);
        QTest::newRow("right: leftwards") << 3 << QRect(W - 44, 150, 40, 36) << QPoint(W - 88, 150)
                                          << QPoint(W - 128, 150) << QPoint(W - 120, 160) << QPoint(W - 200, 160);
        QTest::newRow("floating: leftwards") << 4 << QRect(900, 500, 40, 36) << QPoint(856, 500) << QPoint(816, 500)
                                             << QPoint(820, 510) << QPoint(700, 510);
    }

    void subButtonRow()
    {
        QFETCH(int, position);
        QFETCH(QRect, button);
        board->m_toolbarPosition = position;
        QPushButton anchor(board);
        anchor.setGeometry(button);
        QList<QPushButton*> row;
        for (int i = 0; i < 3; ++i) {
            row << new QPushButton(board);
            row.last()->resize(40, 36);
            row.last()->hide();
        }
        board->m_subButtons = row;
        board->PlaceSubButtonRow(&anchor);
        QVERIFY(board->m_subButtonRowOpen);
        QTEST(row[0]->pos(), "first");
        QTEST(row[1]->pos(), "second");
        QVERIFY(!row[2]->isHidden());
        // The row area takes presses on the row and its button, not beside.
        QFETCH(QPoint, inside);
        QFETCH(QPoint, outside);
        QVERIFY(board->m_subButtonRowRect.contains(inside));
        QVERIFY(!board->m_subButtonRowRect.contains(outside));
        board->m_subButtons.clear();
        qDeleteAll(row);
    }

    // --- position commands -------------------------------------------------

    void positionCommands()
    {
        QAction bottom("bottom"), top("top"), left("left"), right("right"), floating("floating"), moveHere("here");
        QAction* actions[] = {&bottom, &top, &left, &right, &floating};
        for (int i = 0; i < 5; ++i)
            board->m_toolPosActions[i] = actions[i];
        board->m_moveHereAction = &moveHere;
        board->m_floatingMain = new floatingmain(board);
        board->m_floatingMain->InitDialog(&board->m_lang.hint, &board->m_lang.menu, W, H, false);
        board->m_floatingColor = new floatingcolor(board);
        board->m_floatingColor->InitDialog(&board->m_lang.hint, &board->m_lang.config);
        board->OptToolPosLeft();
        QCOMPARE(board->m_toolbarPosition, 2);
        QCOMPARE(board->ui->mainbar->geometry(), QRect(0, 0, 48, H));
        QVERIFY(!left.isEnabled());
        QVERIFY(bottom.isEnabled() && top.isEnabled() && right.isEnabled() && floating.isEnabled());
        QVERIFY(!moveHere.isVisible());
        QVERIFY(board->m_floatingMain->isHidden());

        // Floating: the bar goes, the launcher stands at the kept position
        // and a sub-panel open before the change is closed.
        board->m_floatingPosition = QPoint(300, 200);
        board->m_floatingColor->show();
        board->OptToolPosFloat();
        QCOMPARE(board->m_toolbarPosition, 4);
        QVERIFY(board->ui->mainbar->isHidden());
        QVERIFY(board->ui->drawbtn->isHidden());
        QVERIFY(!floating.isEnabled() && left.isEnabled() && top.isEnabled());
        QVERIFY(moveHere.isVisible());
        QVERIFY(!board->m_floatingMain->isHidden());
        QCOMPARE(board->m_floatingMain->geometry(), QRect(300, 200, 187, 187));
        QVERIFY(board->m_floatingColor->isHidden());
        QCOMPARE(board->m_floatingColor->pos(), QPoint(273, 173));

        // A drag of the launcher takes every sub-panel along.
        board->OptSubAlign(QPoint(500, 100));
        QCOMPARE(board->m_floatingColor->pos(), QPoint(473, 73));
        board->SaveConfigData();
        QCOMPARE(board->m_config.floatingX, 500);
        QCOMPARE(board->m_config.floatingY, 100);
        QCOMPARE(board->m_config.toolpos, 4);

        board->OptToolPosBottom();
        QVERIFY(board->m_floatingMain->isHidden());
        QVERIFY(!board->ui->mainbar->isHidden());
        QVERIFY(!board->ui->drawbtn->isHidden());
        QVERIFY(floating.isEnabled() && !bottom.isEnabled());
        QVERIFY(!moveHere.isVisible());
        for (int i = 0; i < 5; ++i)
            board->m_toolPosActions[i] = nullptr;
        board->m_moveHereAction = nullptr;
    }

    // A toolbar move shows the free pen on the draw button; the slots'
    // tools must follow it, or the line tool would draw under that picture.
    void toolbarMoveReturnsToTheFreePen()
    {
        for (PointerSlotState& slot : board->m_board.slot) {
            slot.m_curr_drawbtn = "ekLine";
            slot.event_kind = ekLine;
        }
        board->m_eraseKey = "ekSelEraser";
        board->m_noteKind = "MusicNote";
        board->ui->erasebtn->setChecked(true);
        board->OptToolPosRight();
        for (int i = 0; i < kPointerSlotCount - 1; ++i) {
            QCOMPARE(board->m_board.slot[i].m_curr_drawbtn, QStringLiteral("ekFree"));
            QCOMPARE(board->m_board.slot[i].event_kind, int(ekFree));
        }
        QCOMPARE(board->m_eraseKey, QStringLiteral("ekEraseAll"));
        QVERIFY(board->ui->drawbtn->isChecked());
        QVERIFY(!board->ui->erasebtn->isChecked());
        QVERIFY(board->ui->drawbtn->styleSheet().contains(":/Draw/free4"));
        QVERIFY(board->ui->notebtn->styleSheet().contains(":/Note/music4"));
    }

    // A move rebuilds every face; the colour and the width are not reset by
    // it, so their faces keep showing what the pen draws with.
    void toolbarMoveKeepsTheColourAndWidthFaces_data()
    {
        QTest::addColumn<int>("position");
        QTest::newRow("left") << 2;
        QTest::newRow("right") << 3;
        QTest::newRow("bottom") << 0;
        QTest::newRow("floating and back to the top") << 4;
    }

    void toolbarMoveKeepsTheColourAndWidthFaces()
    {
        QFETCH(int, position);
        LayOut(1);
        board->ClickColorBtn("red");
        board->ChangePenWidth(4, false);
        QCOMPARE(board->m_currentPenColor, QColor(Qt::red));
        const int width = board->m_penWidth;
        void (Dialog::*const move[])() = {&Dialog::OptToolPosBottom, &Dialog::OptToolPosTop, &Dialog::OptToolPosLeft,
                                          &Dialog::OptToolPosRight, &Dialog::OptToolPosFloat};
        (board->*move[position])();
        if (position == 4)
            board->OptToolPosTop();
        QCOMPARE(board->m_currentPenColor, QColor(Qt::red));
        QCOMPARE(board->m_penWidth, width);
        const QString colour = board->ui->colorbtn->styleSheet();
        QVERIFY2(colour.contains(":/Color/red") && !colour.contains(":/Color/black"), qPrintable(colour));
        const QString widthFace = board->ui->pwidthbtn->styleSheet();
        QVERIFY2(widthFace.contains(":/Penwid/p4_") && !widthFace.contains(":/Penwid/p1_"), qPrintable(widthFace));
    }

    // --- enabling rules ----------------------------------------------------

    void freePenMode_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("allSlots");
        QTest::addColumn<bool>("ownSlots");
        QTest::addColumn<bool>("peerSlot");
        QTest::newRow("alone") << 0 << false << true << false;
        QTest::newRow("viewer") << 1 << false << false << false;
        QTest::newRow("writer") << 2 << false << false << true;
        QTest::newRow("host") << 3 << false << true << false;
        QTest::newRow("viewer, all slots") << 1 << true << true << true;
        QTest::newRow("writer, all slots") << 2 << true << true << true;
    }

    void freePenMode()
    {
        QFETCH(int, level);
        QFETCH(bool, allSlots);
        QFETCH(bool, ownSlots);
        QFETCH(bool, peerSlot);
        for (PointerSlotState& slot : board->m_board.slot) {
            slot.m_curr_drawbtn = "ekRect";
            slot.event_kind = ekRect;
        }
        board->ui->transbtn->setEnabled(false);
        board->ui->zoombtn->setChecked(true);
        board->m_floatingMain = new floatingmain(board);
        board->m_floatingMain->InitDialog(&board->m_lang.hint, &board->m_lang.menu, W, H, false);
        board->m_floatingMain->SetPenButtonImage("ekSelEraser", false);
        board->m_collUserLevel = level;
        board->SetFreePenMode(allSlots);
        board->m_collUserLevel = 0;
        QCOMPARE(board->m_board.slot[0].event_kind == ekFree, ownSlots);
        QCOMPARE(board->m_board.slot[9].m_curr_drawbtn == "ekFree", ownSlots);
        QCOMPARE(board->m_board.slot[10].event_kind == ekFree, peerSlot);
        QVERIFY(board->ui->transbtn->isEnabled());
        QVERIFY(board->ui->drawbtn->isChecked());
        QVERIFY(!board->ui->zoombtn->isChecked());
        // The launcher's centre shows the free pen wherever a slot went back
        // to it; a viewer's keeps what it showed.
        const QString centre = board->m_floatingMain->findChild<QLabel*>("imgmain")->styleSheet();
        QCOMPARE(centre.contains("f_s_m_pen"), ownSlots || peerSlot);
        QCOMPARE(centre.contains("f_s_m_eraser_select"), !ownSlots && !peerSlot);
    }

    void pageNavigation_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("previous");
        QTest::addColumn<bool>("next");
        QTest::newRow("one page") << 0 << 1 << false << false;
        QTest::newRow("one page, stray index") << 3 << 1 << false << false;
        QTest::newRow("first") << 0 << 5 << false << true;
        QTest::newRow("last") << 4 << 5 << true << false;
        QTest::newRow("middle") << 2 << 5 << true << true;
    }

    void pageNavigation()
    {
        QFETCH(int, index);
        QFETCH(int, count);
        board->SetPageNaviEnable(index, count);
        QTEST(board->ui->prebtn->isEnabled(), "previous");
        QTEST(board->ui->postbtn->isEnabled(), "next");
    }

    void noteNavigation()
    {
        board->m_note_list = QVector<NoteInfo>(3);
        board->m_note_idx = 1;
        board->SetNoteNaviEnable();
        QCOMPARE(board->m_note_cnt, 3);
        QVERIFY(board->ui->prebtn->isEnabled() && board->ui->postbtn->isEnabled());
        // A host who handed the tool right on leaves the pages alone.
        board->m_collUserLevel = 3;
        board->m_ownId = "[10.0.0.1]_host";
        board->m_toolRightHolder = "[10.0.0.2]_pupil";
        board->SetNoteNaviEnable();
        QVERIFY(!board->ui->prebtn->isEnabled() && !board->ui->postbtn->isEnabled());
        board->m_toolRightHolder = board->m_ownId;
        board->SetNoteNaviEnable();
        QVERIFY(board->ui->prebtn->isEnabled());
        board->m_collUserLevel = 0;
        board->m_note_list = QVector<NoteInfo>(1);
        board->SetNoteNaviEnable();
        QVERIFY(!board->ui->prebtn->isEnabled() && !board->ui->postbtn->isEnabled());
    }

    void undoRedoButtons_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("toolRight");
        QTest::addColumn<int>("hostIndex");
        QTest::addColumn<int>("hostSize");
        QTest::addColumn<bool>("undo");
        QTest::addColumn<bool>("redo");
        // The local list holds two entries with one undone.
        QTest::newRow("alone") << 0 << false << -1 << 0 << true << true;
        QTest::newRow("host with the tool right") << 3 << true << -1 << 0 << true << true;
        QTest::newRow("host without it") << 3 << false << -1 << 0 << false << false;
        QTest::newRow("writer, host list 0 of 1") << 2 << true << 0 << 1 << true << false;
        QTest::newRow("writer, host list -1 of 2") << 2 << true << -1 << 2 << false << true;
        QTest::newRow("writer without the tool right") << 2 << false << 0 << 2 << false << false;
        QTest::newRow("viewer") << 1 << true << 0 << 2 << false << false;
    }

    void undoRedoButtons()
    {
        QFETCH(int, level);
        QFETCH(bool, toolRight);
        QFETCH(int, hostIndex);
        QFETCH(int, hostSize);
        board->m_undo.URList.resize(2);
        board->m_undo.URIndex = 0;
        board->m_collUserLevel = level;
        board->m_ownId = "me";
        board->m_toolRightHolder = toolRight ? "me" : "other";
        board->m_hostUndoIndex = hostIndex;
        board->m_hostUndoSize = hostSize;
        QAction undo("undo"), redo("redo");
        board->m_undoAction = &undo;
        board->m_redoAction = &redo;
        board->UpdatePrevNextButtons();
        board->m_undoAction = board->m_redoAction = nullptr;
        board->m_collUserLevel = 0;
        QTEST(board->ui->undobtn->isEnabled(), "undo");
        QTEST(board->ui->redobtn->isEnabled(), "redo");
        QTEST(undo.isEnabled(), "undo");
        QTEST(redo.isEnabled(), "redo");
    }

    void emptyUndoListWithIndexZero()
    {
        board->m_undo.URList.clear();
        board->m_undo.URIndex = 0;
        board->UpdatePrevNextButtons();
        QVERIFY(!board->ui->undobtn->isEnabled());
        QVERIFY(!board->ui->redobtn->isEnabled());
    }

    void editActions_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("enabled");  // Cut..Reset, one character each
        QTest::newRow("menu made") << 0 << "000000000000";
        QTest::newRow("after a cut") << 1 << "001000000000";
        QTest::newRow("after a copy") << 2 << "001010000000";
        QTest::newRow("unknown") << 5 << "000000000000";
    }

    void editActions()
    {
        QFETCH(int, state);
        QFETCH(QString, enabled);
        std::vector<std::unique_ptr<QAction>> actions;
        for (int i = 0; i < 12; ++i) {
            actions.push_back(std::make_unique<QAction>(QString::number(i)));
            board->m_editActions << actions.back().get();
        }
        board->SetEditActionEnable(state);
        QString seen;
        for (auto& a : actions)
            seen += a->isEnabled() ? '1' : '0';
        board->m_editActions.clear();
        QCOMPARE(seen, enabled);
    }

    void shiftNoteIndexes()
    {
        board->m_rec_note_index = {0, 2, 5};
        board->m_note_idx = 2;
        board->ShiftNoteIndexes();
        QCOMPARE(board->m_rec_note_index, QVector<int>({0, 2, 6}));
    }

    // --- the role table ----------------------------------------------------

    void roleTable_data()
    {
        QTest::addColumn<bool>("library");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("toolRight");
        QTest::addColumn<bool>("floating");
        QTest::addColumn<bool>("force");
        // Enabled, starting from all disabled: notebtn, colorbtn, transbtn,
        // erasebtn, objectbtn, zoombtn, notelistbtn, recbtn, scroll bars.
        QTest::addColumn<QString>("enabled");
        // Shown, starting from all hidden: user list, IP, connect, write
        // indicator, tool indicator.
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("indicators");  // write and tool images
        QTest::addColumn<bool>("fileActions");    // New .. Save As, starting enabled
        QTest::addColumn<bool>("selectReset");

        QTest::newRow("no library, any level") << false << 2 << false << false << true << "111111111" << "00000" << ""
                                               << true << false;
        QTest::newRow("alone") << true << 0 << false << false << true << "110111111" << "00000" << "" << true << false;
        QTest::newRow("viewer") << true << 1 << false << false << true << "000000000" << "00111"
                                << "write_off Tool_off" << false << true;
        QTest::newRow("writer, tool right") << true << 2 << true << false << true << "011110000" << "00111"
                                            << "write_on Tool_on" << false << true;
        QTest::newRow("writer, no tool right") << true << 2 << false << false << true << "011000000" << "00111"
                                               << "write_on Tool_off" << false << true;
        QTest::newRow("host, tool right") << true << 3 << true << false << true << "111110111" << "11111"
                                          << "write_on Tool_on" << true << true;
        QTest::newRow("host, no tool right") << true << 3 << false << false << true << "000000001" << "11111"
                                             << "write_on Tool_off" << true << false;
        QTest::newRow("viewer, layout call") << true << 1 << false << false << false << "000000000" << "00111"
                                             << "write_off Tool_off" << true << true;
        QTest::newRow("alone, floating") << true << 0 << false << true << false << "110111101" << "00000" << ""
                                         << true << false;
        QTest::newRow("writer, floating") << true << 2 << true << true << false << "011110000" << "00000" << ""
                                          << true << true;
        QTest::newRow("host, floating") << true << 3 << true << true << false << "111110111" << "10000" << "" << true
                                        << true;
    }

    void roleTable()
    {
        QFETCH(bool, library);
        QFETCH(int, level);
        QFETCH(bool, toolRight);
        QFETCH(bool, floating);
        QFETCH(bool, force);
        const QList<QWidget*> controls = {board->ui->notebtn,  board->ui->colorbtn,    board->ui->transbtn,
                                          board->ui->erasebtn, board->ui->objectbtn,   board->ui->zoombtn,
                                          board->ui->notelistbtn, board->ui->recbtn, board->ui->verticalScrollBar};
        const QList<QWidget*> shown = {board->ui->btn_show_userListDlg, board->ui->btn_show_IP,
                                       board->ui->btn_show_collconnectDlg, board->ui->btn_isWrite,
                                       board->ui->btn_isTool};
        for (QWidget* w : controls)
            w->setEnabled(false);
        for (QWidget* w : shown)
            w->hide();
        std::vector<std::unique_ptr<QAction>> files;
        for (int i = 0; i < 4; ++i) {
            files.push_back(std::make_unique<QAction>(QString::number(i)));
            board->m_fileActions << files.back().get();
        }
        board->m_selectKey = "ekMoveAll";
        board->m_collLibraryLoaded = library;
        board->m_ownId = "[10.0.0.1]_me";
        board->m_toolRightHolder = toolRight ? board->m_ownId : QStringLiteral("[10.0.0.2]_other");
        board->m_toolbarPosition = floating ? 4 : 1;
        board->SetToolbarByRole(level, force);
        board->m_fileActions.clear();
        board->m_collLibraryLoaded = false;

        QString enabled;
        for (QWidget* w : controls)
            enabled += w->isEnabled() ? '1' : '0';
        QTEST(enabled, "enabled");
        QString visible;
        for (QWidget* w : shown)
            visible += w->isHidden() ? '0' : '1';
        QTEST(visible, "shown");
        QFETCH(QString, indicators);
        if (!indicators.isEmpty()) {
            QVERIFY(board->ui->btn_isWrite->styleSheet().contains("/" + indicators.section(' ', 0, 0) + "1)"));
            QVERIFY(board->ui->btn_isTool->styleSheet().contains("/" + indicators.section(' ', 1, 1) + "1)"));
            QCOMPARE(board->ui->btn_isWrite->size(), QSize(40, 36));
        }
        QTEST(files[0]->isEnabled(), "fileActions");
        QTEST(board->m_selectKey == "ekSelect", "selectReset");
    }

    // The launcher's sub-panels follow the bar buttons they stand for.
    void floatingPanelsFollowTheRole_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("toolRight");
        QTest::addColumn<bool>("floating");
        // Enabled, starting from all enabled: colour, eraser, zoom, note panel.
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<bool>("pagesOff");  // the launcher's page buttons forced off
        QTest::newRow("alone") << 0 << false << false << "1111" << false;
        QTest::newRow("viewer") << 1 << false << true << "0000" << true;
        QTest::newRow("writer without tool right") << 2 << false << false << "1100" << true;
        QTest::newRow("writer without tool right, floating") << 2 << false << true << "1011" << true;
        QTest::newRow("host without tool right") << 3 << false << true << "1011" << false;
    }

    void floatingPanelsFollowTheRole()
    {
        QFETCH(int, level);
        QFETCH(bool, toolRight);
        QFETCH(bool, floating);
        board->m_floatingMain = new floatingmain(board);
        board->m_floatingMain->InitDialog(&board->m_lang.hint, &board->m_lang.menu, W, H, true);
        board->m_floatingColor = new floatingcolor(board);
        board->m_floatingEraser = new floatingeraser(board);
        board->m_floatingZoom = new floatingzoom(board);
        board->m_floatingNote = new floatingnote(board);
        const QList<QWidget*> panels = {board->m_floatingColor, board->m_floatingEraser, board->m_floatingZoom,
                                        board->m_floatingNote};
        board->m_collLibraryLoaded = true;
        board->m_ownId = "[10.0.0.1]_me";
        board->m_toolRightHolder = toolRight ? board->m_ownId : QStringLiteral("[10.0.0.2]_other");
        board->m_toolbarPosition = floating ? 4 : 1;
        board->SetToolbarByRole(level, false);
        board->m_collLibraryLoaded = false;
        QString enabled;
        for (QWidget* w : panels)
            enabled += w->isEnabled() ? '1' : '0';
        QTEST(enabled, "enabled");
        QFETCH(bool, pagesOff);
        if (pagesOff) {
            QVERIFY(!board->m_floatingMain->findChild<QPushButton*>("btnPrev")->isEnabled());
            QVERIFY(!board->m_floatingMain->findChild<QPushButton*>("btnNext")->isEnabled());
        }
    }

    void outOfRangeLevelChangesNothing()
    {
        board->m_collLibraryLoaded = true;
        board->ui->notebtn->setEnabled(false);
        board->SetToolbarByRole(7, true);
        board->m_collLibraryLoaded = false;
        QVERIFY(!board->ui->notebtn->isEnabled());
    }

    void loadingAnimation()
    {
        board->resize(800, 600);
        board->ShowLoading();
        QPointer<QMovie> first = board->m_loadingMovie;
        QVERIFY(first);
        QVERIFY(first->isValid());
        QCOMPARE(first->state(), QMovie::Running);
        QCOMPARE(board->ui->label_gif->movie(), first.data());
        QVERIFY(!board->ui->label_gif->isHidden());
        QCOMPARE(board->ui->label_gif->geometry(), QRect(100, 100, 600, 400));
        QCOMPARE(board->ui->label_gif->alignment(), Qt::AlignCenter);
        // A second call lets the first animation go.
        board->ShowLoading();
        QTRY_VERIFY(first.isNull());
        QCOMPARE(board->m_loadingMovie->state(), QMovie::Running);
    }
};

QTEST_MAIN(ToolbarTest)
#include "toolbar_test.moc"
