#include "panels/ui/floatingchangemode.h"

floatingchangemode::floatingchangemode(QWidget* parent)
    : PlaceholderSubPanel("floatingchangemode", parent)
{
}

void floatingchangemode::InitDialog(QStringList*, QStringList*) {}

void floatingchangemode::SetSelectKey(QString key)
{
    m_key = key;
    emit CallOptSelectChange(key);
}

void floatingchangemode::SetModeButtonsEnabled(bool enabled)
{
    m_selectEnabled = enabled;
    m_swapModeEnabled = enabled;
    m_moveAllEnabled = enabled;
}

void floatingchangemode::SetSelectEnabled(bool enabled) { m_selectEnabled = enabled; }
void floatingchangemode::SetSwapModeEnabled(bool enabled) { m_swapModeEnabled = enabled; }
void floatingchangemode::SetMoveAllEnabled(bool enabled) { m_moveAllEnabled = enabled; }
void floatingchangemode::SetConnectVisible(bool visible) { m_connectVisible = visible; }
void floatingchangemode::SetIpVisible(bool visible) { m_ipVisible = visible; }
