#pragma once

#include "tools/ui/screen_cover.h"

#include <QPoint>
#include <QRect>

class QLabel;

// The screen blind: a grey cover over the board whose four edges are dragged
// by the bars along them, so the page is uncovered step by step.
class blind : public ScreenCover
{
    Q_OBJECT

public:
    explicit blind(QWidget* parent = nullptr);
    ~blind() override;

    void InitDialog(QStringList* spotTexts);
    void ShowOnScreen(int mode, int screenWidth, int screenHeight);

    QLabel* barTop = nullptr;
    QLabel* barBottom = nullptr;
    QLabel* barLeft = nullptr;
    QLabel* barRight = nullptr;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void PlaceBars(QSize size);

    int m_edge = 0;
    bool m_dragging = false;
    QPoint m_pressPosition;
    QPoint m_pressGlobal;
    QRect m_pressGeometry;
};
