#include "tests/support/board_screen.h"

#include <QPushButton>

#include "app/ui/dialog.h"
#include "tests/support/running_program.h"
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

bool ClickToolbarButton(RunningProgram& board, const QMap<QString, QRect>& buttons, const QString& name)
{
    const int mark = board.lines().size();
    XdotoolClick(buttons.value(name).center());
    if (board.waitForLine(QStringLiteral("toolbar button : %1").arg(name), 10000, mark) < 0) {
        qWarning("the toolbar button %s did not act on its click within 10 s", qPrintable(name));
        return false;
    }
    return true;
}

bool OpenToolbarRow(RunningProgram& board, const QString& name, QPoint at)
{
    const int mark = board.lines().size();
    Xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()), QStringLiteral("mousedown"),
             QStringLiteral("1")});
    const bool opened = board.waitForLine(QStringLiteral("toolbar row open : %1").arg(name), 10000, mark) >= 0;
    Xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    if (!opened)
        qWarning("the row of %s did not open within 10 s of holding it", qPrintable(name));
    return opened;
}

bool ChooseFromOpenRow(RunningProgram& board, const QRect& button, int row)
{
    const int mark = board.lines().size();
    XdotoolClick(QPoint(button.center().x(), button.bottom() + 1 + 36 * row + 18 + 4));
    if (board.waitForLine(QStringLiteral("toolbar row closed"), 10000, mark) < 0) {
        qWarning("the row did not close on entry %d within 10 s", row);
        return false;
    }
    return true;
}

bool ChooseFromToolbarRow(RunningProgram& board, const QMap<QString, QRect>& buttons, const QString& name, int row)
{
    return OpenToolbarRow(board, name, buttons.value(name).center())
           && ChooseFromOpenRow(board, buttons.value(name), row);
}
