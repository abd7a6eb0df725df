#include "collab/ui/colluserlistdlg.h"

CollUserListDlg::CollUserListDlg(QWidget* parent)
    : PlaceholderDialog("CollUserListDlg", parent)
{
}
