#include "tests/support/board_screen.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include "app/ui/dialog.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

QMap<QString, QRect> ToolbarButtonsOnScreen(const QString& emptyLibraryFolder)
{
    ScopedLibraryFolder libraries(emptyLibraryFolder);
    Dialog layout;
    layout.InitDialog(false);
    const QPoint origin(layout.m_canvasLeft, 0);
    QMap<QString, QRect> buttons;
    for (QPushButton* b : layout.findChildren<QPushButton*>())
        buttons.insert(b->objectName(), b->geometry().translated(origin));
    return buttons;
}

QImage ScreenWhen(const QString& path, const std::function<bool(const QImage&)>& holds, int ms)
{
    QElapsedTimer clock;
    clock.start();
    QImage shot;
    do {
        shot = TakeScreenshot(path).convertToFormat(QImage::Format_RGB32);
        if (!shot.isNull() && holds(shot))
            break;
    } while (clock.elapsed() < ms);
    return shot;
}

void ChooseFromToolbarRow(const QRect& button, int row)
{
    XdotoolHold(button.center(), 800);
    QTest::qWait(300);
    XdotoolClick(QPoint(button.center().x(), button.bottom() + 1 + 36 * row + 18 + 4));
    QTest::qWait(300);
}

int DarkPixelsIn(const QImage& image, QRect area)
{
    int n = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            n += qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90 ? 1 : 0;
        }
    return n;
}
