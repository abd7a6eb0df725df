#include "tests/support/board_screen.h"

#include <QPushButton>
#include <QTest>

#include "app/ui/dialog.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

QMap<QString, QRect> ToolbarButtonsOnScreen(const QString& emptyLibraryFolder,
                                            const std::function<void(Dialog&)>& alsoRead)
{
    ScopedLibraryFolder libraries(emptyLibraryFolder);
    Dialog layout;
    layout.InitDialog(false);
    const QPoint origin(layout.m_canvasLeft, 0);
    QMap<QString, QRect> buttons;
    for (QPushButton* b : layout.findChildren<QPushButton*>())
        buttons.insert(b->objectName(), b->geometry().translated(origin));
    if (alsoRead)
        alsoRead(layout);
    return buttons;
}

void ChooseFromToolbarRow(const QRect& button, int row)
{
    XdotoolHold(button.center(), 800);
    QTest::qWait(300);
    XdotoolClick(QPoint(button.center().x(), button.bottom() + 1 + 36 * row + 18 + 4));
    QTest::qWait(300);
}
