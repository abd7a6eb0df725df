#include "panels/ui/floatingmain.h"

floatingmain::floatingmain(QWidget* parent)
    : PlaceholderDialog("floatingmain", parent)
{
}

void floatingmain::InitDialog(QStringList*, QStringList*, int width, int height, bool captureLoaded)
{
    m_canvasSize = QSize(width, height);
    m_captureLoaded = captureLoaded;
}

void floatingmain::SetPenButtonImage(QString toolKey, bool transparent)
{
    m_penToolKey = toolKey;
    m_penTransparent = transparent;
}

void floatingmain::SetPrevDisabled(bool disabled) { m_prevDisabled = disabled; }
void floatingmain::SetNextDisabled(bool disabled) { m_nextDisabled = disabled; }
