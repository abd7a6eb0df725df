#pragma once

#include "panels/ui/placeholder_subpanel.h"

#include <QString>
#include <QStringList>

// The eraser panel of the floating launcher.
class floatingeraser : public PlaceholderSubPanel
{
    Q_OBJECT

public:
    explicit floatingeraser(QWidget* parent = nullptr);

    void InitDialog(QStringList* hintTexts);
    // Marks the eraser in use; emits nothing.
    void SetEraserKey(QString key);
    QString eraserKey() const { return m_key; }

signals:
    void CallOptEraserChange(QString key);

private:
    QString m_key;
};
