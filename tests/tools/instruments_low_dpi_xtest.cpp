// With a logical DPI below 13 a millimetre would be 0 pixels and the scales
// would divide by it: the instruments still paint, one pixel per millimetre.
#include "tools/ui/tooldlg_compass.h"
#include "tools/ui/tooldlg_protractor.h"
#include "tools/ui/tooldlg_ruler.h"

#include <QApplication>
#include <QDesktopWidget>
#include <QImage>
#include <QtTest>

#include <memory>

class InstrumentsLowDpiTest : public QObject
{
    Q_OBJECT

private slots:
    void paintsAtTenDpi()
    {
        QCOMPARE(QApplication::desktop()->logicalDpiX(), 10);
        std::unique_ptr<ToolDlgBase> instruments[] = {std::make_unique<ToolDlg_Ruler>(),
                                                      std::make_unique<ToolDlg_Compass>(),
                                                      std::make_unique<ToolDlg_Protractor>()};
        for (auto& instrument : instruments) {
            instrument->show();
            QVERIFY(QTest::qWaitForWindowExposed(instrument.get()));
            const QImage painted = instrument->grab(instrument->InstrumentRect()).toImage();
            // Ticks a pixel apart cover the scale's edge.
            int opaque = 0;
            for (int y = 0; y < painted.height(); ++y)
                for (int x = 0; x < painted.width(); ++x)
                    opaque += qAlpha(painted.pixel(x, y)) > 128 ? 1 : 0;
            QVERIFY2(opaque > 500, qPrintable(QStringLiteral("%1: %2 painted pixels")
                                                  .arg(instrument->metaObject()->className())
                                                  .arg(opaque)));
        }
    }
};

int main(int argc, char** argv)
{
    // The X11 platform takes the forced DPI from here.
    qputenv("QT_FONT_DPI", "10");
    QApplication app(argc, argv);
    InstrumentsLowDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "instruments_low_dpi_xtest.moc"
