#include "tools/ui/navi.h"

navi::navi(QWidget* parent)
    : PlaceholderDialog("navi", parent)
{
}

void navi::InitDialog(int width, int height) { m_canvasSize = QSize(width, height); }

void navi::SetBoardImage(int x, int y, QImage page)
{
    m_visibleOrigin = QPoint(x, y);
    m_page = page;
}
