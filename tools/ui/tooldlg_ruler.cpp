#include "tools/ui/tooldlg_ruler.h"

ToolDlg_Ruler::ToolDlg_Ruler(QWidget* parent)
    : PlaceholderDialog("ToolDlg_Ruler", parent)
{
}

void ToolDlg_Ruler::CreateMenu(QStringList*, QStringList*) {}
