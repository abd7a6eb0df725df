// The navigator, the blind and the spotlight as windows: what a press, a drag
// and a menu choice do to them, driven by mouse events sent to them directly.
#include "tools/ui/blind.h"
#include "tools/ui/navi.h"
#include "tools/ui/spot.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

// A mouse event with the screen position given apart from the window's own:
// the covers measure drags on the screen.
void Send(QWidget* w, QEvent::Type type, QPoint local, QPoint global, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, local, global, type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void Send(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button = Qt::LeftButton)
{
    Send(w, type, local, w->geometry().topLeft() + local, button);
}

QStringList SpotTexts()
{
    return {"Circle", "Square", "Small", "Medium", "Large", "0%", "10%", "20%", "30%"};
}

QImage Page(QColor c)
{
    QImage page(3840, 2160, QImage::Format_RGB32);
    page.fill(c);
    return page;
}

QColor PictureAt(const navi& n, QPoint p)
{
    return n.view()->pixmap(Qt::ReturnByValue).toImage().pixelColor(p);
}

}  // namespace

class ScreenCoverWindowsTest : public QObject
{
    Q_OBJECT

    QStringList m_texts = SpotTexts();

private slots:
    void naviFramesTheVisiblePart()
    {
        QWidget board;
        board.resize(1920, 1080);
        navi n(&board);
        n.InitDialog(1920, 1080);
        n.SetNaviGeometry(3840, 2160, 2.0f);
        QCOMPARE(n.view()->geometry(), QRect(25, 24, 160, 90));
        n.SetBoardImage(1920, 1080, Page(Qt::white));
        QCOMPARE(n.markerSize(), QSize(80, 45));
        // The frame stands clamped at the far corner.
        QCOMPARE(PictureAt(n, QPoint(79, 44)), QColor(Qt::red));
        QCOMPARE(PictureAt(n, QPoint(159, 89)), QColor(Qt::red));
        QCOMPARE(PictureAt(n, QPoint(40, 20)), QColor(Qt::white));
    }

    void naviRedrawsAChangedPage()
    {
        QWidget board;
        navi n(&board);
        n.InitDialog(1920, 1080);
        n.SetNaviGeometry(3840, 2160, 2.0f);
        QImage page = Page(Qt::white);
        n.SetBoardImage(0, 0, page);
        QCOMPARE(PictureAt(n, QPoint(120, 60)), QColor(Qt::white));
        // The navigator keeps no share of the page, or the board's next paint
        // into it would copy the whole page first.
        QVERIFY(page.isDetached());
        // The board paints into its page between two scroll steps.
        page.fill(Qt::blue);
        n.SetBoardImage(0, 0, page);
        QCOMPARE(PictureAt(n, QPoint(120, 60)), QColor(Qt::blue));
    }

    void naviKeepsItsPictureForANullPage()
    {
        QWidget board;
        navi n(&board);
        n.InitDialog(1920, 1080);
        n.SetNaviGeometry(3840, 2160, 2.0f);
        n.SetBoardImage(0, 0, Page(Qt::white));
        n.SetNaviGeometry(0, 0, 2.0f);
        n.SetBoardImage(10, 10, QImage());
        QCOMPARE(n.view()->geometry(), QRect(25, 24, 160, 90));
        QCOMPARE(n.markerSize(), QSize(80, 45));
    }

    void naviPressScrollsAndBorderDragMovesThePanel()
    {
        QWidget board;
        board.resize(1920, 1080);
        navi n(&board);
        n.InitDialog(1920, 1080);
        n.setGeometry(1689, 921, 211, 139);
        n.SetNaviGeometry(3840, 2160, 2.0f);
        n.SetBoardImage(960, 540, Page(Qt::white));
        QSignalSpy scroll(&n, &navi::CallScrollBarPositionChange);
        QSignalSpy release(&n, &navi::CallScrollBarPositionChange_Release);

        Send(&n, QEvent::MouseButtonPress, QPoint(25, 24));
        QCOMPARE(scroll.takeFirst(), (QList<QVariant>{0, 0}));
        QCOMPARE(PictureAt(n, QPoint(0, 0)), QColor(Qt::red));
        Send(&n, QEvent::MouseMove, QPoint(184, 113));
        QCOMPARE(scroll.takeFirst(), (QList<QVariant>{1920, 1080}));
        Send(&n, QEvent::MouseButtonRelease, QPoint(184, 113));
        QCOMPARE(release.size(), 1);

        // The grey border: the panel follows the pointer and nothing scrolls.
        const QPoint border(5, 5);
        Send(&n, QEvent::MouseButtonPress, border, QPoint(1694, 926));
        Send(&n, QEvent::MouseMove, border, QPoint(1594, 826));
        QCOMPARE(n.pos(), QPoint(1589, 821));
        Send(&n, QEvent::MouseButtonRelease, border, QPoint(1594, 826));
        QCOMPARE(scroll.size(), 0);
        QCOMPARE(release.size(), 2);
    }

    void blindPlacedByTheToolbar()
    {
        blind b;
        b.setGeometry(0, 0, 1920, 1080);
        b.InitDialog(&m_texts);
        b.ShowOnScreen(2, 1920, 1080);
        QCOMPARE(b.geometry(), QRect(48, 0, 1872, 1080));
        QCOMPARE(b.minimumSize(), b.maximumSize());
        QCOMPARE(b.barRight->geometry(), QRect(1859, 13, 13, 1080));
        QCOMPARE(b.btnPropR->pos(), QPoint(1795, 25));
        QCOMPARE(b.btnCloseR->pos(), QPoint(1822, 25));
        b.ShowOnScreen(9, 1920, 1080);
        QCOMPARE(b.geometry(), QRect(48, 0, 1872, 1080));
    }

    void blindBottomBarFollowsTheDrag()
    {
        blind b;
        b.setGeometry(0, 0, 1920, 1080);
        b.InitDialog(&m_texts);
        b.ShowOnScreen(0, 1920, 1080);
        Send(&b, QEvent::MouseButtonPress, QPoint(960, 1028));
        Send(&b, QEvent::MouseMove, QPoint(960, 728));
        QCOMPARE(b.geometry(), QRect(0, 0, 1920, 735));
        QCOMPARE(b.barBottom->geometry(), QRect(0, 722, 1920, 13));
        // Back down within the same press: the height measured from the press.
        Send(&b, QEvent::MouseMove, QPoint(960, 1028));
        QCOMPARE(b.geometry(), QRect(0, 0, 1920, 1035));
        Send(&b, QEvent::MouseButtonRelease, QPoint(960, 1028));
        Send(&b, QEvent::MouseMove, QPoint(960, 500));
        QCOMPARE(b.geometry(), QRect(0, 0, 1920, 1035));
    }

    void blindTopAndRightDrags()
    {
        blind b;
        b.setGeometry(0, 0, 1920, 1080);
        b.InitDialog(&m_texts);
        b.ShowOnScreen(1, 1920, 1080);
        // The top edge moves down; the window moves under the pointer.
        Send(&b, QEvent::MouseButtonPress, QPoint(960, 6), QPoint(960, 51));
        Send(&b, QEvent::MouseMove, QPoint(960, 106), QPoint(960, 151));
        Send(&b, QEvent::MouseMove, QPoint(960, 56), QPoint(960, 251));
        QCOMPARE(b.geometry(), QRect(0, 245, 1920, 835));
        Send(&b, QEvent::MouseButtonRelease, QPoint(960, 6), QPoint(960, 251));
        // The right edge in: the right-hand buttons come along.
        Send(&b, QEvent::MouseButtonPress, QPoint(1913, 400));
        Send(&b, QEvent::MouseMove, QPoint(1413, 400));
        QCOMPARE(b.width(), 1420);
        QCOMPARE(b.btnCloseR->pos(), QPoint(1370, 25));
        QCOMPARE(b.btnPropR->pos(), QPoint(1343, 25));
        // Far past the left edge the cover stops at its smallest.
        Send(&b, QEvent::MouseMove, QPoint(-3000, 400));
        QCOMPARE(b.width(), 51);
        QVERIFY(b.btnCloseR->x() >= 0);
    }

    void blindIgnoresTheRightButton()
    {
        blind b;
        b.setGeometry(0, 0, 1920, 1080);
        b.InitDialog(&m_texts);
        b.ShowOnScreen(0, 1920, 1080);
        Send(&b, QEvent::MouseButtonPress, QPoint(960, 1028), Qt::RightButton);
        Send(&b, QEvent::MouseMove, QPoint(960, 728), Qt::RightButton);
        QCOMPARE(b.geometry(), QRect(0, 0, 1920, 1035));
    }

    void transparencyEntries()
    {
        blind b;
        b.InitDialog(&m_texts);
        QCOMPARE(b.menu()->actions().size(), 4);
        QCOMPARE(b.menu()->actions().at(2)->text(), QString("20%"));
        QVERIFY(b.percentAction(0)->isChecked());
        b.percentAction(2)->trigger();
        QCOMPARE(b.windowOpacity(), 0.8);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(b.percentAction(i)->isChecked(), i == 2);
        QCOMPARE(b.btnCloseL->styleSheet(),
                 QString("QPushButton {border-image: url(:/Spot/spotclose1);}"
                         "QPushButton:pressed {border-image: url(:/Spot/spotclose2);}"
                         "QPushButton:checked {border-image: url(:/Spot/spotclose3);}"));
        // The close buttons hide the cover.
        b.ShowOnScreen(4, 800, 600);
        b.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b));
        b.btnCloseL->click();
        QVERIFY(!b.isVisible());
    }

    void spotlightHole()
    {
        spot s;
        s.setGeometry(0, 0, 1920, 1080);
        s.InitDialog(&m_texts);
        QStringList entries;
        for (QAction* a : s.menu()->actions())
            entries << (a->isSeparator() ? QString("-") : a->text());
        QCOMPARE(entries, (QStringList{"0%", "10%", "20%", "30%", "-", "Circle", "Square", "-", "Small", "Medium",
                                       "Large"}));
        QVERIFY(s.shapeAction(0)->isChecked() && s.sizeAction(1)->isChecked());

        s.SetSpotMask(4, 1920, 1080);
        QCOMPARE(s.geometry(), QRect(0, 0, 1920, 1080));
        QCOMPARE(s.holeCentre(), QPoint(960, 540));
        QVERIFY(!s.mask().contains(QPoint(960, 540)));
        QVERIFY(s.mask().contains(QPoint(834, 540)));
        QVERIFY(s.mask().contains(QPoint(840, 420)));

        s.OptSizeLarge();
        s.OptTypeRect();
        QVERIFY(!s.mask().contains(QPoint(761, 341)));
        QVERIFY(s.mask().contains(QPoint(759, 540)));
        QVERIFY(s.shapeAction(1)->isChecked() && !s.shapeAction(0)->isChecked());
        QVERIFY(s.sizeAction(2)->isChecked() && !s.sizeAction(1)->isChecked());

        // A drag on the cover moves the hole, not the window.
        Send(&s, QEvent::MouseButtonPress, QPoint(100, 100));
        Send(&s, QEvent::MouseMove, QPoint(150, 100));
        Send(&s, QEvent::MouseMove, QPoint(200, 100));
        QCOMPARE(s.holeCentre(), QPoint(1060, 540));
        QCOMPARE(s.geometry(), QRect(0, 0, 1920, 1080));
        QVERIFY(!s.mask().contains(QPoint(1060, 540)));
        QVERIFY(s.mask().contains(QPoint(959 - 200, 540)));
        // Dragged far away, the hole's centre stays on the cover.
        Send(&s, QEvent::MouseMove, QPoint(9000, 100));
        QCOMPARE(s.holeCentre(), QPoint(1919, 540));

        // Showing it again puts the hole back in the middle; shape, size and
        // transparency stay.
        s.OptPercent30();
        s.SetSpotMask(1, 1920, 1080);
        QCOMPARE(s.geometry(), QRect(0, 45, 1920, 1035));
        QCOMPARE(s.holeCentre(), QPoint(960, 540));
        QCOMPARE(s.mapToGlobal(s.holeCentre()), QPoint(960, 585));
        QCOMPARE(s.shape(), 1);
        QCOMPARE(s.holeSize(), 400);
        // The window system keeps the opacity in steps of 1/255.
        QVERIFY(qAbs(s.windowOpacity() - 0.7) < 0.01);
    }
};

QTEST_MAIN(ScreenCoverWindowsTest)
#include "screen_cover_windows_test.moc"
