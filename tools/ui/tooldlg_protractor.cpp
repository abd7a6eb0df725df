#include "tools/ui/tooldlg_protractor.h"

ToolDlg_Protractor::ToolDlg_Protractor(QWidget* parent)
    : PlaceholderDialog("ToolDlg_Protractor", parent)
{
}

void ToolDlg_Protractor::CreateMenu(QStringList*, QStringList*) {}
