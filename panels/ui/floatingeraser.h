#pragma once

#include "panels/ui/floating_subpanel.h"

#include <QString>
#include <QStringList>

class QPushButton;

// The eraser ring of the floating launcher: erase everything, the objects
// touched, or an area.
class floatingeraser : public FloatingSubPanel
{
    Q_OBJECT

public:
    explicit floatingeraser(QWidget* parent = nullptr);

    void InitDialog(QStringList* hintTexts);
    // Marks the eraser the board uses; a tool eraser is handed on again, so
    // opening the panel makes it the active tool once more.
    void SetEraserKey(QString key);
    // Checks the button of the current key; the two tool erasers are sent
    // as they are checked, erase-all never is (it is an action, not a tool).
    void RefreshEraserChecks();

    QString eraserKey() const { return m_key; }

signals:
    void CallOptEraserChange(QString key);

public slots:
    void BtnEraserAll();
    void BtnEraserSel();
    void BtnEraserArea();

private:
    void Choose(const QString& key);

    QStringList* m_hintTexts = nullptr;
    QString m_key;
    QPushButton* m_all = nullptr;
    QPushButton* m_select = nullptr;
    QPushButton* m_area = nullptr;
    // Size buttons of the form that the panel never shows.
    QPushButton* m_sizes[3] = {};
};
