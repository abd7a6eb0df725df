#include "collab/ui/collconnectdlg.h"

CollConnectDlg::CollConnectDlg(QWidget* parent)
    : PlaceholderDialog("CollConnectDlg", parent)
{
}

void CollConnectDlg::Btn_FindServer_Enable() { m_findServerEnabled = true; }
