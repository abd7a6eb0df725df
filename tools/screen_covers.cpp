#include "tools/screen_covers.h"

#include <algorithm>

namespace tools {

namespace {

// Every divisor of the navigator's arithmetic is kept at 1 or more: a board
// image smaller than the picture, or an unset zoom, must not divide by zero
// or blow the frame up past the picture.
float AtLeastOne(float v) { return v < 1.0f ? 1.0f : v; }
int AtLeastOne(int v) { return v < 1 ? 1 : v; }

// One axis of a press: the frame's near edge m kept inside a picture of
// `viewSide`; the frame is drawn one pixel further in at the far end so
// that its outline stays visible.
void PressAxis(int m, int markerSide, int viewSide, int* drawn, int* reported)
{
    if (m <= 0) {
        *drawn = *reported = 0;
    } else if (m + markerSide >= viewSide) {
        *reported = std::max(0, viewSide - markerSide);
        *drawn = std::max(0, viewSide - markerSide - 1);
    } else {
        *drawn = *reported = m;
    }
}

}  // namespace

QSize NaviViewSize(int boardW, int boardH)
{
    if (boardW <= 0 || boardH <= 0)
        return QSize();
    if (boardW > boardH)
        return QSize(160, int(boardH / (boardW / 160.0)));
    // Upright boards are drawn a little narrower than their proportion.
    return QSize(int(boardW / (boardH / 120.0 + 1.0)), 120);
}

QRect NaviViewRect(QSize panelSize, QSize viewSize)
{
    return QRect((panelSize.width() - viewSize.width()) / 2, (panelSize.height() - viewSize.height()) / 2,
                 viewSize.width(), viewSize.height());
}

NaviMarker NaviMarkerFor(QSize viewSize, QSize visibleSize, float zoom, QSize boardSize, int hPos, int vPos)
{
    const int lw = viewSize.width();
    const int lh = viewSize.height();
    const float z = AtLeastOne(zoom);
    const float iw = float(boardSize.width());
    const float ih = float(boardSize.height());
    const float W = float(AtLeastOne(visibleSize.width()));
    const float H = float(AtLeastOne(visibleSize.height()));

    NaviMarker m;
    int x = int(lw * float(hPos) / AtLeastOne(iw / z) / AtLeastOne(iw / W));
    int y;
    if (lw > lh) {
        m.size = QSize(int(lw / z), int(lh / z));
        y = int(lh * float(vPos) / AtLeastOne(ih / z) / AtLeastOne(ih / H));
    } else {
        m.size = QSize(int(lw / z), int(lh / AtLeastOne(ih / H)));
        y = vPos / AtLeastOne(boardSize.height() / AtLeastOne(lh));
    }
    if (x + m.size.width() >= lw)
        x = lw - m.size.width() - 1;
    if (y + m.size.height() >= lh)
        y = lh - m.size.height() - 1;
    m.drawn = QPoint(std::max(0, x), std::max(0, y));
    return m;
}

NaviPress NaviPressAt(QPoint event, QSize panelSize, QSize viewSize, QSize markerSize, QSize boardSize)
{
    const int lw = viewSize.width();
    const int lh = viewSize.height();
    const int mx = event.x() - (panelSize.width() - lw) / 2 - markerSize.width() / 2;
    const int my = event.y() - (panelSize.height() - lh) / 2 - markerSize.height() / 2;
    NaviPress p;
    int drawnX, drawnY, reportedX, reportedY;
    PressAxis(mx, markerSize.width(), lw, &drawnX, &reportedX);
    PressAxis(my, markerSize.height(), lh, &drawnY, &reportedY);
    p.drawn = QPoint(drawnX, drawnY);
    p.scroll = QPoint(int(qint64(boardSize.width()) * reportedX / AtLeastOne(lw)),
                      int(qint64(boardSize.height()) * reportedY / AtLeastOne(lh)));
    return p;
}

bool CoverWindowFor(int mode, int screenW, int screenH, QRect* window)
{
    // The toolbar's strip: 45 px high at the bottom or top, 48 px wide at a side.
    switch (mode) {
    case 0:
        *window = QRect(0, 0, screenW, screenH - 45);
        return true;
    case 1:
        *window = QRect(0, 45, screenW, screenH - 45);
        return true;
    case 2:
        *window = QRect(48, 0, screenW - 48, screenH);
        return true;
    case 3:
        *window = QRect(0, 0, screenW - 48, screenH);
        return true;
    case 4:
        *window = QRect(0, 0, screenW, screenH);
        return true;
    default:
        return false;
    }
}

CoverParts CoverPartsFor(QSize size)
{
    const int T = kCoverBarThickness;
    const int B = kCoverButtonSize;
    const int w = size.width();
    const int h = size.height();
    CoverParts p;
    p.bars[EdgeTop] = QRect(0, 0, w, T);
    p.bars[EdgeBottom] = QRect(0, h - T, w, T);
    p.bars[EdgeLeft] = QRect(0, T, T, h);
    p.bars[EdgeRight] = QRect(w - T, T, T, h);
    p.propLeft = QPoint(24, B);
    p.closeLeft = QPoint(B + 27, B);
    p.propRight = QPoint(w - 2 * B - 27, B);
    p.closeRight = QPoint(w - 2 * B, B);
    return p;
}

int CoverEdgeAt(const CoverParts& parts, QPoint pos)
{
    int edge = -1;
    for (int e = EdgeTop; e <= EdgeRight; ++e) {
        if (parts.bars[e].contains(pos))
            edge = e;
    }
    return edge;
}

QRect BlindDragged(int edge, QRect pressGeometry, QPoint delta)
{
    const QRect& p = pressGeometry;
    QRect r = p;
    switch (edge) {
    case EdgeTop: {
        const int h = std::max(kCoverMinimumSide, p.height() - delta.y());
        r = QRect(p.x(), p.y() + p.height() - h, p.width(), h);
        break;
    }
    case EdgeBottom:
        r.setHeight(std::max(kCoverMinimumSide, p.height() + delta.y()));
        break;
    case EdgeLeft: {
        const int w = std::max(kCoverMinimumSide, p.width() - delta.x());
        r = QRect(p.x() + p.width() - w, p.y(), w, p.height());
        break;
    }
    case EdgeRight:
        r.setWidth(std::max(kCoverMinimumSide, p.width() + delta.x()));
        break;
    default:
        break;
    }
    return r;
}

QPoint CoverMenuPosition(QPoint cursor, QSize menuSize, int screenW, int screenH)
{
    const int x = cursor.x() + menuSize.width() < screenW ? cursor.x() : screenW - menuSize.width();
    const int y = cursor.y() + menuSize.height() < screenH ? cursor.y() : screenH - menuSize.height();
    return QPoint(x, y);
}

QRect SpotHoleRect(QPoint centre, int size)
{
    return QRect(centre.x() - size / 2, centre.y() - size / 2, size, size);
}

QRegion SpotShape(QSize coverSize, QPoint centre, int size, int shape)
{
    const QRegion cover(QRect(QPoint(0, 0), coverSize));
    const QRect hole = SpotHoleRect(centre, size);
    if (shape == 0)
        return cover.subtracted(QRegion(hole, QRegion::Ellipse));
    if (shape == 1)
        return cover.subtracted(QRegion(hole));
    return cover;
}

}  // namespace tools
