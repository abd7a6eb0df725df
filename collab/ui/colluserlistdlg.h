#pragma once

#include "app/ui/placeholder_dialog.h"

#include <QString>

// The host's list of participants, where rights are given and taken.
class CollUserListDlg : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit CollUserListDlg(QWidget* parent = nullptr);

signals:
    void coll_SetUserLevel(QString userId);
    void coll_SetUseTool(QString userId);
};
