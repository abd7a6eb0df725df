#pragma once

#include "app/ui/placeholder_dialog.h"

#include <QPoint>
#include <QRect>
#include <QStringList>

// The protractor: draws lines and arcs through the main window.
class ToolDlg_Protractor : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit ToolDlg_Protractor(QWidget* parent = nullptr);
    void CreateMenu(QStringList* menuTexts, QStringList* commonTexts);

signals:
    void Protractor_DrawLine(QPoint from, QPoint to);
    void Protractor_DrawArc(QRect circle, int startAngle, int endAngle);
};
