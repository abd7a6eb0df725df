// Under X11 the instruments' full-screen windows take the pointer only where
// they paint: a click beside the ruler reaches the window below it, a drag on
// its body moves the ruler and reaches nothing below.
#include "tests/support/xdotool.h"
#include "tools/ui/tooldlg_ruler.h"

#include <QMouseEvent>
#include <QScreen>
#include <QtTest>

namespace {

// Stands in for the board: remembers where it was pressed.
class Board : public QWidget
{
public:
    QList<QPoint> presses;

protected:
    void mousePressEvent(QMouseEvent* event) override { presses << event->globalPos(); }
};

QString N(int v)
{
    return QString::number(v);
}

}  // namespace

class InstrumentsPassThroughTest : public QObject
{
    Q_OBJECT

private slots:
    void onlyThePaintedRulerTakesThePointer()
    {
        Board board;
        board.setGeometry(QGuiApplication::primaryScreen()->geometry());
        board.show();
        QVERIFY(QTest::qWaitForWindowExposed(&board));
        ToolDlg_Ruler ruler(&board);
        ruler.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ruler));
        // The X server cuts the window to the painted ruler once it has the
        // mask: a round trip after the mask is set sees to that.
        QTRY_VERIFY(!ruler.mask().isEmpty());
        QGuiApplication::sync();

        const QRect start = ruler.InstrumentRect();
        const QPoint beside = ruler.mapToGlobal(QPoint(start.left() - 60, start.top() - 60));
        Xdotool({"mousemove", N(beside.x()), N(beside.y()), "click", "1"});
        QTRY_COMPARE(board.presses.size(), 1);
        QCOMPARE(board.presses.first(), beside);

        const QPoint body = ruler.mapToGlobal(start.center() + QPoint(-150, 10));
        Xdotool({"mousemove", N(body.x()), N(body.y()), "mousedown", "1", "mousemove", N(body.x() + 20),
                 N(body.y() + 20), "mousemove", N(body.x() + 40), N(body.y() + 60), "mouseup", "1"});
        QTRY_COMPARE(ruler.InstrumentRect(), start.translated(40, 60));
        QCOMPARE(board.presses.size(), 1);

        // Where the ruler was is the board's again, once the server has the
        // moved ruler's mask.
        QGuiApplication::sync();
        const QPoint old = ruler.mapToGlobal(start.topLeft() + QPoint(20, 20));
        Xdotool({"mousemove", N(old.x()), N(old.y()), "click", "1"});
        QTRY_COMPARE(board.presses.size(), 2);
    }
};

QTEST_MAIN(InstrumentsPassThroughTest)
#include "instruments_pass_through_xtest.moc"
