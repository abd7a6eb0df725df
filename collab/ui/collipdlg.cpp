#include "collab/ui/collipdlg.h"

CollIpDlg::CollIpDlg(QWidget* parent)
    : PlaceholderDialog("CollIpDlg", parent)
{
}
