#pragma once

#include "panels/ui/placeholder_subpanel.h"

#include <QString>
#include <QStringList>

// The zoom panel of the floating launcher.
class floatingzoom : public PlaceholderSubPanel
{
    Q_OBJECT

public:
    explicit floatingzoom(QWidget* parent = nullptr);

    void InitDialog(QStringList* hintTexts);
    // Marks the zoom in use; emits nothing.
    void SetZoomKey(QString key);
    QString zoomKey() const { return m_key; }

signals:
    void CallOptZoomChange(QString key);

private:
    QString m_key;
};
