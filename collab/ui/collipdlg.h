#pragma once

#include "app/ui/placeholder_dialog.h"

// Shows this machine's address for participants to type.
class CollIpDlg : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit CollIpDlg(QWidget* parent = nullptr);
};
