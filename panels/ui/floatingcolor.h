#pragma once

#include "panels/ui/floating_subpanel.h"

#include <QString>
#include <QStringList>

// The colour and pen-width panel of the floating launcher.
class floatingcolor : public FloatingSubPanel
{
    Q_OBJECT

public:
    explicit floatingcolor(QWidget* parent = nullptr);

    void InitDialog(QStringList* hintTexts, QStringList* configTexts);
    // The colour comes as #rrggbb; the width picks the matching preset button.
    void SetCurrentColor(QString colour, int width, int preset1, int preset2, int preset3, int preset4);

    QString currentColor() const { return m_colour; }
    int currentWidth() const { return m_width; }

signals:
    void CallOptColorChange(QString colour);
    void CallOptPenWidthChange(int width);

private:
    QString m_colour;
    int m_width = 0;
    int m_presets[4] = {0, 0, 0, 0};
};
