#pragma once

#include "app/ui/placeholder_dialog.h"

#include <QImage>

// The page navigator: a small picture of the zoomed page with the visible
// part framed; dragging in it scrolls the board.
class navi : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit navi(QWidget* parent = nullptr);

    void InitDialog(int width, int height);
    void SetBoardImage(int x, int y, QImage page);

signals:
    void CallScrollBarPositionChange(int x, int y);
    void CallScrollBarPositionChange_Release();

private:
    QSize m_canvasSize;
    QImage m_page;
    QPoint m_visibleOrigin;
};
