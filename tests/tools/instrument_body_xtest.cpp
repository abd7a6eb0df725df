// The instruments' body on an X server with and without a compositing
// manager: the whiteboard asks the screen's "_NET_WM_CM_S<n>" selection,
// which this test takes for itself to stand in for a compositing manager.
// With one the body stays faint so the board shows through; without one it
// is painted opaque in the colour the faint body has on white.
#include "platform/compositor.h"
#include "tools/ui/tooldlg_compass.h"
#include "tools/ui/tooldlg_ruler.h"

#include <QImage>
#include <QtTest>

#include <memory>

// Xlib's macros clash with Qt's names: it comes last.
#include <X11/Xlib.h>

namespace {

// Owns the compositing manager's selection of the default screen while it
// lives, as a compositing manager does.
class FakeCompositor
{
public:
    FakeCompositor()
    {
        m_display = XOpenDisplay(nullptr);
        if (!m_display)
            return;
        const int screen = DefaultScreen(m_display);
        m_window = XCreateSimpleWindow(m_display, RootWindow(m_display, screen), 0, 0, 1, 1, 0, 0, 0);
        const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
        XSetSelectionOwner(m_display, XInternAtom(m_display, name.constData(), False), m_window, CurrentTime);
        XSync(m_display, False);
    }
    ~FakeCompositor()
    {
        if (!m_display)
            return;
        XDestroyWindow(m_display, m_window);
        XCloseDisplay(m_display);
    }
    FakeCompositor(const FakeCompositor&) = delete;
    FakeCompositor& operator=(const FakeCompositor&) = delete;

private:
    Display* m_display = nullptr;
    Window m_window = 0;
};

// A pixel of the instrument's body, `fromBottomMiddle` off the middle of its
// lower edge (away from every scale and handle).
QRgb BodyPixel(ToolDlgBase& instrument, QPoint fromBottomMiddle)
{
    instrument.show();
    if (!QTest::qWaitForWindowExposed(&instrument))
        return 0;
    const QImage image = instrument.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    instrument.hide();
    const QRect body = instrument.InstrumentRect();
    return image.pixel(QPoint(body.center().x(), body.bottom()) + fromBottomMiddle);
}

}  // namespace

class InstrumentBodyXTest : public QObject
{
    Q_OBJECT

private slots:
    void opaqueOnWhite_data()
    {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QColor>("onWhite");
        QTest::newRow("the instruments' faint body") << QColor(200, 200, 200, 20) << QColor(251, 251, 251);
        QTest::newRow("opaque stays") << QColor(10, 20, 30) << QColor(10, 20, 30);
        QTest::newRow("clear is white") << QColor(0, 0, 0, 0) << QColor(255, 255, 255);
        QTest::newRow("half blue") << QColor(8, 0, 255, 128) << QColor(131, 127, 255);
    }

    void opaqueOnWhite()
    {
        QFETCH(QColor, colour);
        QFETCH(QColor, onWhite);
        QCOMPARE(platform::OpaqueOnWhite(colour), onWhite);
    }

    void theSelectionOwnerDecides()
    {
        QVERIFY(!platform::CompositorRunning());
        {
            FakeCompositor compositor;
            QVERIFY(platform::CompositorRunning());
        }
        QVERIFY(!platform::CompositorRunning());
    }

    void bodyFollowsTheCompositor_data()
    {
        QTest::addColumn<bool>("compositing");
        QTest::newRow("no compositing manager") << false;
        QTest::newRow("a compositing manager") << true;
    }

    void bodyFollowsTheCompositor()
    {
        QFETCH(bool, compositing);
        std::unique_ptr<FakeCompositor> compositor;
        if (compositing)
            compositor = std::make_unique<FakeCompositor>();
        ToolDlg_Ruler ruler;
        ToolDlg_Compass compass;
        const QRgb rulerBody = BodyPixel(ruler, QPoint(-200, -8));
        const QRgb compassBody = BodyPixel(compass, QPoint(0, -40));
        for (QRgb body : {rulerBody, compassBody}) {
            if (compositing) {
                QVERIFY2(qAlpha(body) < 60, qPrintable(QString::number(qAlpha(body))));
            } else {
                QCOMPARE(qAlpha(body), 255);
                QVERIFY2(qGray(body) > 240, qPrintable(QString::number(qGray(body))));
            }
        }
    }
};

QTEST_MAIN(InstrumentBodyXTest)
#include "instrument_body_xtest.moc"
