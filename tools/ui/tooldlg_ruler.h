#pragma once

#include "app/ui/placeholder_dialog.h"

#include <QPoint>
#include <QRect>
#include <QStringList>

// The ruler: draws straight lines along its edges through the main window.
class ToolDlg_Ruler : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit ToolDlg_Ruler(QWidget* parent = nullptr);
    void CreateMenu(QStringList* menuTexts, QStringList* commonTexts);

signals:
    void Ruler_DrawLine(QPoint from, QPoint to);
};
