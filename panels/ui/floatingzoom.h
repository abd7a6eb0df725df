#pragma once

#include "panels/ui/floating_subpanel.h"

#include <QList>
#include <QString>
#include <QStringList>

class QPushButton;

// The zoom ring of the floating launcher: 100 to 400 %, a step in or out,
// and zoom to a rectangle drawn on the board.
class floatingzoom : public FloatingSubPanel
{
    Q_OBJECT

public:
    explicit floatingzoom(QWidget* parent = nullptr);

    void InitDialog(QStringList* hintTexts);
    // Marks the zoom the board uses; only the rectangle zoom is handed on
    // again, so opening the panel arms it once more.
    void SetZoomKey(QString key);
    // Checks the button of the current key and no other.
    void RefreshZoomChecks();

    QString zoomKey() const { return m_key; }

signals:
    void CallOptZoomChange(QString key);

public slots:
    void BtnZoom100();
    void BtnZoom200();
    void BtnZoom300();
    void BtnZoom400();
    void BtnZoomIn();
    void BtnZoomOut();
    void BtnZoomRect();

private:
    void Choose(int row);

    QStringList* m_hintTexts = nullptr;
    QString m_key;
    // In the order of the panel's button table.
    QList<QPushButton*> m_buttons;
};
