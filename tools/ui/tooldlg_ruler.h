#pragma once

#include "tools/instrument_geometry.h"
#include "tools/ui/tooldlg_base.h"

#include <QPoint>
#include <QRect>
#include <QStringList>


// The ruler: a translucent straight ruler with a millimetre scale over the
// board. It is dragged, turned about its centre and lengthened at either end;
// its menu asks the board to draw along its top edge, its middle or its
// bottom edge.
class ToolDlg_Ruler : public ToolDlgBase
{
    Q_OBJECT

public:
    explicit ToolDlg_Ruler(QWidget* parent = nullptr);
    void CreateMenu(QStringList* menuTexts, QStringList* commonTexts);

    int Angle() const { return m_angle; }
    // The lines the menu entries draw, for the geometry shown now.
    ToolDlg::RulerLines Lines() const { return m_lines; }

signals:
    void Ruler_DrawLine(QPoint from, QPoint to);

public slots:
    void OptMenu_DrawTopLine();
    void OptMenu_DrawMidLine();
    void OptMenu_DrawBottomLine();
    void OptMenu_Close();

protected:
    QRegion Layout() override;
    void HandlePressed(QObject* handle) override;
    void HandleMoved(QObject* handle) override;
    void HandleReleased(QObject* handle) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_lengthenRight = false;
    bool m_lengthenLeft = false;
    bool m_rotating = false;
    ToolDlg::RulerLines m_lines;
    QLabel* m_turnHandle = nullptr;
    QLabel* m_leftHandle = nullptr;
    QLabel* m_rightHandle = nullptr;
    QLabel* m_angleText = nullptr;
    int m_angle = 0;
};
