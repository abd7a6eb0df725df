#pragma once

// The arithmetic of the page navigator, the screen blind and the spotlight,
// apart from their windows: how large the navigator's picture of the page is,
// where its red frame stands and which scroll position a press asks for; where
// a cover stands for each toolbar position, how its edges follow a drag; and
// the shape of the spotlight with its hole.

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>

namespace tools {

// --- Page navigator ----------------------------------------------------------

// The navigator panel keeps this size; its picture is at most 160 x 120.
constexpr int kNaviPanelWidth = 211;
constexpr int kNaviPanelHeight = 139;

// The size of the navigator's picture of a board of boardW x boardH: 160 wide
// for a landscape board, 120 high otherwise. An empty board gives an invalid
// size, which leaves the picture as it was.
QSize NaviViewSize(int boardW, int boardH);

// Where the picture stands in a panel of panelSize: centred.
QRect NaviViewRect(QSize panelSize, QSize viewSize);

// The red frame of the visible part: its size and where it is drawn on the
// picture, for the scroll position (hPos, vPos) of a board image of
// boardSize shown at `zoom` in a visible area of visibleSize.
struct NaviMarker {
    QSize size;
    QPoint drawn;
};
NaviMarker NaviMarkerFor(QSize viewSize, QSize visibleSize, float zoom, QSize boardSize, int hPos, int vPos);

// A press or drag at `event` (panel coordinates) in the picture: the frame is
// centred on the pointer and kept inside the picture; `drawn` is where it is
// painted and `scroll` the board scroll position asked for.
struct NaviPress {
    QPoint drawn;
    QPoint scroll;
};
NaviPress NaviPressAt(QPoint event, QSize panelSize, QSize viewSize, QSize markerSize, QSize boardSize);

// --- Blind and spotlight -----------------------------------------------------

constexpr int kCoverBarThickness = 13;
constexpr int kCoverButtonSize = 25;
// A cover is never dragged smaller than its two bars and a button.
constexpr int kCoverMinimumSide = 2 * kCoverBarThickness + kCoverButtonSize;

// The cover's window for a toolbar position mode (0 bottom, 1 top, 2 left,
// 3 right, 4 floating) on a screen of W x H: the toolbar's strip stays
// uncovered. False for any other mode.
bool CoverWindowFor(int mode, int screenW, int screenH, QRect* window);

// The bars along the four edges and the four buttons of a cover window of
// `size`, in window coordinates.
enum CoverEdge { EdgeTop = 0, EdgeBottom = 1, EdgeLeft = 2, EdgeRight = 3 };
struct CoverParts {
    QRect bars[4];  // by CoverEdge
    QPoint propLeft, closeLeft, propRight, closeRight;
};
CoverParts CoverPartsFor(QSize size);

// The bar a press at `pos` (window coordinates) takes hold of, -1 for none;
// where bars overlap the later of top, bottom, left, right wins.
int CoverEdgeAt(const CoverParts& parts, QPoint pos);

// The blind's window after its `edge` was dragged by `delta` (global pixels
// since the press) from the window it had at the press. The opposite edge
// stays; neither side drops below kCoverMinimumSide.
QRect BlindDragged(int edge, QRect pressGeometry, QPoint delta);

// Where the cover's menu pops up: at the cursor, moved back onto the screen
// when it would reach past its right or bottom edge.
QPoint CoverMenuPosition(QPoint cursor, QSize menuSize, int screenW, int screenH);

// The spotlight's hole: the square of side `size` around `centre`.
QRect SpotHoleRect(QPoint centre, int size);

// The spotlight's window shape: the cover of `coverSize` without the hole,
// a circle (shape 0) or a square (shape 1); any other shape cuts no hole.
QRegion SpotShape(QSize coverSize, QPoint centre, int size, int shape);

}  // namespace tools
