#pragma once

#include "app/ui/placeholder_dialog.h"

#include <QPoint>
#include <QRect>
#include <QStringList>

// The compass: draws circles and arcs through the main window.
class ToolDlg_Compass : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit ToolDlg_Compass(QWidget* parent = nullptr);
    void CreateMenu(QStringList* menuTexts, QStringList* commonTexts);

signals:
    void Compass_DrawEllipse(QRect circle);
    void Compass_DrawArc(QRect circle, int startAngle, int endAngle);
};
