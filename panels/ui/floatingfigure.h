#pragma once

#include "panels/ui/floating_subpanel.h"

#include <QList>
#include <QString>
#include <QStringList>

class QPushButton;

// The figure ring of the floating launcher: the pens and figures, the
// transparent (highlighter) pen, undo and redo.
class floatingfigure : public FloatingSubPanel
{
    Q_OBJECT

public:
    explicit floatingfigure(QWidget* parent = nullptr);

    void InitDialog(QStringList* hintTexts);
    // Marks the figure and hands it on, so opening the panel also chooses it.
    void SetFigureKey(QString key);
    void SetTransChecked(bool checked);
    void SetTransEnabled(bool enabled);
    void SetSmartVisible(bool visible);
    // Checks the button of the current figure and no other; the brush
    // cannot be transparent, so it turns the transparency button off.
    void RefreshFigureChecks();

    QString figureKey() const { return m_key; }
    bool transEnabled() const;

signals:
    void CallOptFigureChange(QString key);
    void CallOptTransChange(bool checked);
    void CallOptUndo();
    void CallOptRedo();

public slots:
    void BtnFigureEArrow();
    void BtnFigureBArrow();
    void BtnFigureCircle();
    void BtnFigureFillCircle();
    void BtnFigureRectangle();
    void BtnFigureFillRectangle();
    void BtnFigureLine();
    void BtnFigurePenTrans();
    void BtnFigureBrushPen();
    void BtnFigureFreePen();
    void BtnFigureSmart();
    void BtnFigureUndo();
    void BtnFigureRedo();

private:
    void Choose(const char* key);
    QPushButton* Button(int row) const { return m_buttons.at(row); }

    QStringList* m_hintTexts = nullptr;
    QString m_key;
    bool m_transparent = false;
    // In the order of the panel's button table.
    QList<QPushButton*> m_buttons;
};
