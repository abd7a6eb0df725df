#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QWidget>

class QLabel;

// The page navigator: a small grey panel inside the board window with a
// picture of the whole zoomed page and a red frame round the part on screen.
// Pressing or dragging in the picture asks the board to scroll there;
// dragging the grey border moves the panel.
class navi : public QWidget
{
    Q_OBJECT

public:
    explicit navi(QWidget* parent = nullptr);
    ~navi() override;

    void InitDialog(int visibleWidth, int visibleHeight);
    void SetNaviGeometry(int boardWidth, int boardHeight, float zoom);
    void SetBoardImage(int hPos, int vPos, QImage board);

    QLabel* view() const { return m_view; }
    QSize markerSize() const { return QSize(m_markerWidth, m_markerHeight); }

signals:
    void CallScrollBarPositionChange(int x, int y);
    void CallScrollBarPositionChange_Release();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void TakeBoard(const QImage& board);
    void MarkerStep(QPoint event);
    void ShowFrame(const QImage& thumbnail, QPoint at);

    QLabel* m_view = nullptr;
    QPoint m_panelPosition;
    QPoint m_pressPosition;
    bool m_viewDragging = false;
    int m_markerWidth = 0;
    int m_markerHeight = 0;
    int m_visibleWidth = 0;
    int m_visibleHeight = 0;
    float m_zoom = 1.0f;

    // The page itself is not kept: holding a reference would make the board
    // copy its whole page the next time it paints into it. The navigator keeps
    // what it draws from, made once per new page image (or picture size).
    QSize m_boardSize;
    qint64 m_boardKey = 0;
    QImage m_thumbnail;        // stretched to the picture, for scroll steps
    QImage m_pressThumbnail;   // in proportion, for presses
};
