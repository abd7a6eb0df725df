#pragma once

#include "tools/ui/screen_cover.h"

#include <QPoint>

// The spotlight: a grey cover over the board with one round or square hole
// through which the board shows and takes the pointer. A drag anywhere on
// the cover moves the hole; the menu sets its shape, size and the cover's
// transparency.
class spot : public ScreenCover
{
    Q_OBJECT

public:
    explicit spot(QWidget* parent = nullptr);
    ~spot() override;

    void InitDialog(QStringList* spotTexts);
    void SetSpotMask(int mode, int screenWidth, int screenHeight);
    void BuildEllipseMask();
    void BuildRectMask();

    int shape() const { return m_shape; }
    int holeSize() const { return m_holeSize; }
    QPoint holeCentre() const { return m_holeCentre; }
    QAction* shapeAction(int shape) const { return m_shapeActions[shape]; }
    QAction* sizeAction(int index) const { return m_sizeActions[index]; }

public slots:
    void OptTypeCircle();
    void OptTypeRect();
    void OptSizeSmall();
    void OptSizeMedium();
    void OptSizeLarge();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMask(int shape);
    void ChooseShape(int shape);
    void ChooseSize(int index);

    int m_shape = 0;
    int m_holeSize = 250;
    QPoint m_holeCentre;
    QPoint m_lastPointer;
    QAction* m_shapeActions[2] = {nullptr, nullptr};
    QAction* m_sizeActions[3] = {nullptr, nullptr, nullptr};
};
