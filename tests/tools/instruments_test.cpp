// The three instrument windows driven through their handles as a pointer
// would: turning, lengthening, resizing, dragging, the menu at the pointer on
// a right release, the draw signals, and the painted shape that leaves the
// rest of the screen to the board.
#include "tools/ui/tooldlg_compass.h"
#include "tools/ui/tooldlg_protractor.h"
#include "tools/ui/tooldlg_ruler.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Sends a mouse event to `target` with the pointer at `global`, as the window
// system would: the cursor is there first, since the handles read it.
void Mouse(QWidget* target, QEvent::Type type, QPoint global, Qt::MouseButton button = Qt::LeftButton)
{
    QCursor::setPos(global);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, target->mapFromGlobal(global), global, button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// A press on `target` at `from`, a move to `to` and a release there.
void Drag(QWidget* target, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton)
{
    Mouse(target, QEvent::MouseButtonPress, from, button);
    Mouse(target, QEvent::MouseMove, to, button);
    Mouse(target, QEvent::MouseButtonRelease, to, button);
}

QLabel* Handle(QWidget* instrument, const char* name)
{
    return instrument->findChild<QLabel*>(QLatin1String(name));
}

QPoint GlobalCentre(QWidget* w)
{
    return w->mapToGlobal(w->rect().center());
}

QStringList MenuTexts(QWidget* instrument)
{
    QStringList texts;
    for (QAction* action : instrument->findChild<QMenu*>()->actions()) {
        if (!action->isSeparator())
            texts << action->text();
    }
    return texts;
}

}  // namespace

class InstrumentsTest : public QObject
{
    Q_OBJECT

    QStringList m_menuTexts;
    QStringList m_commonTexts{"c0", "c1", "c2", "Close"};

private slots:
    void initTestCase()
    {
        for (int i = 0; i < 32; ++i)
            m_menuTexts << QStringLiteral("m%1").arg(i);
    }

    void menus()
    {
        ToolDlg_Ruler ruler;
        ruler.CreateMenu(&m_menuTexts, &m_commonTexts);
        QCOMPARE(MenuTexts(&ruler), QStringList({"m25", "m26", "m27", "Close"}));
        ToolDlg_Compass compass;
        compass.CreateMenu(&m_menuTexts, &m_commonTexts);
        QCOMPARE(MenuTexts(&compass), QStringList({"m29", "m30", "m31", "Close"}));
        ToolDlg_Protractor protractor;
        protractor.CreateMenu(&m_menuTexts, &m_commonTexts);
        QCOMPARE(MenuTexts(&protractor), QStringList({"m28", "Close"}));
        // Short language lists leave captions empty rather than failing.
        QStringList none;
        ToolDlg_Compass bare;
        bare.CreateMenu(&none, &none);
        QCOMPARE(MenuTexts(&bare), QStringList({"", "", "", ""}));
    }

    void rulerTurnsLengthensAndDraws()
    {
        ToolDlg_Ruler ruler;
        ruler.CreateMenu(&m_menuTexts, &m_commonTexts);
        QVERIFY(!ruler.isVisible());
        ruler.show();
        const QRect start = ruler.InstrumentRect();
        QCOMPARE(start.size(), QSize(600, 100));
        const QPoint c = ruler.mapToGlobal(start.center());

        // Turning: the pointer straight right of the centre is 90 degrees.
        QLabel* turn = Handle(&ruler, "label_Angle");
        Drag(turn, GlobalCentre(turn), c + QPoint(200, 0));
        QCOMPARE(ruler.Angle(), 90);
        QCOMPARE(ruler.InstrumentRect(), start);

        // The top edge now runs straight down the screen.
        QSignalSpy lines(&ruler, &ToolDlg_Ruler::Ruler_DrawLine);
        ruler.findChild<QMenu*>()->actions().at(1)->trigger();
        QCOMPARE(lines.size(), 1);
        const QPoint from = lines.at(0).at(0).toPoint();
        const QPoint to = lines.at(0).at(1).toPoint();
        QCOMPARE(from.x(), to.x());
        QCOMPARE(to.y() - from.y(), 600 - 22);

        // Lengthening the turned ruler at its right end (now below) by 40 px
        // along it keeps its top end in place.
        QLabel* right = Handle(&ruler, "label_Right");
        const QPoint grab = GlobalCentre(right);
        // (Turned points are truncated, so the length may be a pixel either
        // way; an odd one would be skipped.)
        Mouse(right, QEvent::MouseButtonPress, grab);
        for (int dy = 38; dy <= 41; ++dy)
            Mouse(right, QEvent::MouseMove, grab + QPoint(3, dy));
        Mouse(right, QEvent::MouseButtonRelease, grab + QPoint(3, 41));
        const int longer = ruler.InstrumentRect().width();
        QVERIFY2(longer % 2 == 0 && longer >= 636 && longer <= 642, qPrintable(QString::number(longer)));
        ruler.OptMenu_DrawTopLine();
        QCOMPARE(lines.size(), 2);
        QVERIFY(qAbs(lines.at(1).at(0).toPoint().y() - from.y()) <= 1);
        QVERIFY(qAbs(lines.at(1).at(0).toPoint().x() - from.x()) <= 1);

        // Dragging the body moves it by the pointer's displacement.
        const QRect before = ruler.InstrumentRect();
        const QPoint body = ruler.mapToGlobal(before.center() + QPoint(-20, 0));
        Drag(&ruler, body, body + QPoint(30, -45));
        QCOMPARE(ruler.InstrumentRect(), before.translated(30, -45));
    }

    void menuOpensOnRightReleaseOnly()
    {
        ToolDlg_Ruler ruler;
        ruler.CreateMenu(&m_menuTexts, &m_commonTexts);
        ruler.show();
        QMenu* menu = ruler.findChild<QMenu*>();
        const QPoint body = ruler.mapToGlobal(ruler.InstrumentRect().center() + QPoint(-150, 10));
        Mouse(&ruler, QEvent::MouseButtonPress, body, Qt::LeftButton);
        Mouse(&ruler, QEvent::MouseButtonRelease, body, Qt::LeftButton);
        QVERIFY(!menu->isVisible());
        Mouse(&ruler, QEvent::MouseButtonPress, body, Qt::RightButton);
        Mouse(&ruler, QEvent::MouseButtonRelease, body, Qt::RightButton);
        QVERIFY(menu->isVisible());
        // (The menu puts its frame a pixel or two beside the point.)
        QVERIFY((menu->pos() - body).manhattanLength() <= 4);
        menu->hide();
        // A right drag does not move the instrument.
        const QRect kept = ruler.InstrumentRect();
        Drag(&ruler, body, body + QPoint(40, 40), Qt::RightButton);
        QCOMPARE(ruler.InstrumentRect(), kept);
        menu->hide();

        // The menu button opens it on its release.
        QLabel* button = Handle(&ruler, "label_Right_menu");
        Mouse(button, QEvent::MouseButtonPress, GlobalCentre(button));
        QVERIFY(!menu->isVisible());
        Mouse(button, QEvent::MouseButtonRelease, GlobalCentre(button));
        QVERIFY(menu->isVisible());
        menu->hide();

        // Closing hides without a reset.
        ruler.OptMenu_Close();
        QVERIFY(!ruler.isVisible());
        ruler.show();
        QCOMPARE(ruler.InstrumentRect(), kept);
    }

    void shapeLeavesTheBoardFree()
    {
        ToolDlg_Ruler ruler;
        ruler.show();
        const QRect r = ruler.InstrumentRect();
        QVERIFY(ruler.mask().contains(r.center()));
        QVERIFY(ruler.mask().contains(Handle(&ruler, "label_Angle")->geometry().center()));
        QVERIFY(!ruler.mask().contains(QPoint(r.left() - 30, r.top() - 30)));
        QVERIFY(!ruler.mask().contains(QPoint(5, 5)));
        // The shape follows a move.
        const QPoint body = ruler.mapToGlobal(r.center());
        Drag(&ruler, body, body + QPoint(0, 150));
        QVERIFY(!ruler.mask().contains(r.center()));
        QVERIFY(ruler.mask().contains(r.center() + QPoint(0, 150)));
    }

    void compassArmsAndCorners()
    {
        ToolDlg_Compass compass;
        compass.CreateMenu(&m_menuTexts, &m_commonTexts);
        compass.show();
        const QRect start = compass.InstrumentRect();
        QCOMPARE(start.size(), QSize(301, 301));
        const QPoint c = compass.mapToGlobal(start.center());
        QSignalSpy ellipses(&compass, &ToolDlg_Compass::Compass_DrawEllipse);
        QSignalSpy arcs(&compass, &ToolDlg_Compass::Compass_DrawArc);

        // The second arm opened a quarter to the right.
        QLabel* second = Handle(&compass, "label_Angle_sub");
        Drag(second, GlobalCentre(second), c + QPoint(200, 0));
        QCOMPARE(compass.SecondAngle(), 90);
        compass.OptMenu_DrawArc();
        compass.OptMenu_DrawArc_reverse();
        compass.OptMenu_DrawEllipse();
        QCOMPARE(arcs.size(), 2);
        QCOMPARE(arcs.at(0), QVariantList({start, 0, 90}));
        QCOMPARE(arcs.at(1), QVariantList({start, 90, 360}));
        QCOMPARE(ellipses.size(), 1);
        QCOMPARE(ellipses.at(0).at(0).toRect(), start);

        // Turning the first arm carries the second with it.
        QLabel* first = Handle(&compass, "label_Angle");
        Drag(first, GlobalCentre(first), c + QPoint(0, 200));
        QCOMPARE(compass.FirstAngle(), 180);
        QCOMPARE(compass.SecondAngle(), 90);
        QVERIFY(compass.mask().contains(compass.mapFromGlobal(GlobalCentre(second))));
        compass.OptMenu_DrawArc();
        QCOMPARE(arcs.at(2), QVariantList({start, 180, 270}));

        // A corner cannot take it below 161 px; a drag outward grows it.
        QLabel* corner = Handle(&compass, "label_BottomRight");
        const QPoint grab = GlobalCentre(corner);
        // Turned 180 degrees, the bottom-right handle sits at the top-left.
        Drag(corner, grab, grab + QPoint(200, 200));
        QCOMPARE(compass.InstrumentRect().width(), 301);
        Drag(corner, grab, grab - QPoint(20, 20));
        QCOMPARE(compass.InstrumentRect().width(), 321);
    }

    void protractorDrawsArmsAndArc()
    {
        ToolDlg_Protractor protractor;
        protractor.CreateMenu(&m_menuTexts, &m_commonTexts);
        protractor.show();
        const QRect circle = protractor.InstrumentRect();
        const QPoint c = circle.center();
        QSignalSpy lines(&protractor, &ToolDlg_Protractor::Protractor_DrawLine);
        QSignalSpy arcs(&protractor, &ToolDlg_Protractor::Protractor_DrawArc);
        protractor.OptMenu_DrawLine();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(0), QVariantList({c, QPoint(c.x(), circle.top())}));
        QCOMPARE(lines.at(1), QVariantList({c, QPoint(c.x(), circle.top())}));
        QCOMPARE(arcs.size(), 1);
        QCOMPARE(arcs.at(0).at(0).toRect().center(), c);
        QCOMPARE(arcs.at(0).at(0).toRect().width(), 75);

        // Zero direction to the right, the arm a further quarter: down.
        const QPoint gc = protractor.mapToGlobal(c);
        QLabel* turn = Handle(&protractor, "label_Angle");
        Drag(turn, GlobalCentre(turn), gc + QPoint(200, 0));
        QLabel* arm = Handle(&protractor, "label_Angle_sub");
        Drag(arm, GlobalCentre(arm), gc + QPoint(0, 200));
        QCOMPARE(protractor.Angle(), 90);
        QCOMPARE(protractor.ArmAngle(), 90);
        protractor.OptMenu_DrawLine();
        QCOMPARE(lines.size(), 4);
        const QPoint zeroEnd = lines.at(2).at(1).toPoint() - QPoint(c.x() + 150, c.y());
        const QPoint armEnd = lines.at(3).at(1).toPoint() - QPoint(c.x(), c.y() + 150);
        QVERIFY(zeroEnd.manhattanLength() <= 2);
        QVERIFY(armEnd.manhattanLength() <= 2);
        QCOMPARE(arcs.at(1).mid(1), QVariantList({90, 180}));

        // 180 px refused, 181 accepted, by the top-left corner.
        QLabel* corner = Handle(&protractor, "label_TopLeft");
        const QPoint grab = GlobalCentre(corner);
        // Turned 90 degrees, the top-left handle sits at the top-right and
        // the protractor's own x axis points down the screen.
        // (Turned points are truncated, so stay a pixel off the floor.)
        Drag(corner, grab, grab + QPoint(-125, 125));
        QCOMPARE(protractor.InstrumentRect().width(), 301);
        Drag(corner, grab, grab + QPoint(-100, 100));
        QVERIFY(qAbs(protractor.InstrumentRect().width() - 201) <= 1);
        QCOMPARE(protractor.InstrumentRect().height(), protractor.InstrumentRect().width());
    }
};

QTEST_MAIN(InstrumentsTest)
#include "instruments_test.moc"
