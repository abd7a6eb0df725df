#include "tools/ui/tooldlg_compass.h"

ToolDlg_Compass::ToolDlg_Compass(QWidget* parent)
    : PlaceholderDialog("ToolDlg_Compass", parent)
{
}

void ToolDlg_Compass::CreateMenu(QStringList*, QStringList*) {}
