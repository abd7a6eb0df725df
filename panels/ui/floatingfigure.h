#pragma once

#include "panels/ui/placeholder_subpanel.h"

#include <QString>
#include <QStringList>

// The figure panel of the floating launcher: pens, figures, transparency,
// undo and redo.
class floatingfigure : public PlaceholderSubPanel
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

    QString figureKey() const { return m_key; }
    bool transChecked() const { return m_transChecked; }
    bool transEnabled() const { return m_transEnabled; }
    bool smartVisible() const { return m_smartVisible; }

signals:
    void CallOptFigureChange(QString key);
    void CallOptTransChange(bool checked);
    void CallOptUndo();
    void CallOptRedo();

private:
    QString m_key;
    bool m_transChecked = false;
    bool m_transEnabled = true;
    bool m_smartVisible = true;
};
