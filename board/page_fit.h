#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Fitting page sources into the board and the zoom arithmetic. Pure integer
// and floating-point rules shared by the page background, the zoom and the
// document import; nothing here touches a window.

struct FittedSize {
    QSize size;
    QPoint offset;  // where the fitted size sits centred in the box
};

// Fits a content of cw x ch into a box of boxW x boxH, keeping the content's
// proportions when it does not fit along its long side, and centres it.
// Integer arithmetic, product first, truncating division. A content without
// area gives an empty size centred in the box.
FittedSize FitSizeCentered(int boxW, int boxH, int cw, int ch);

// The scale at which a picture page is laid: 1.0 while the picture fits the
// content area; otherwise the larger of content/picture across the two axes,
// so the picture fills the area along one axis and runs past it along the other.
double PictureFitScale(QSize picture, QSize content);

// How a document page is fitted without the fit-to-width option.
struct DocumentFit {
    double scale = 1.0;
    int marginX = 0;
    int marginY = 0;
    bool byHeight = false;  // the page's height fills the content area
};
DocumentFit FitDocumentPage(double pageWidth, double pageHeight, QSize content);

// The board size that viewers and writers fit pages to: the host's board as
// announced, or the own view while the host has not announced it yet (a size
// of 0 would make every page vanish).
QSize EffectiveHostBoard(QSize hostBoard, QSize ownView);

// The factor at which a viewer or writer renders a document page: the page
// fitted into the host's board.
double ViewerDocumentScale(double pageWidth, double pageHeight, QSize hostBoard, QSize ownView);

// A size given in host board pixels carried over to the own view.
QSize HostToViewSize(QSize hostPixels, QSize hostBoard, QSize ownView);

// How a picture page is composed (alone or as host).
struct PicturePlacement {
    QSize scaledPicture;    // the picture's drawn size (aspect kept)
    QPoint margin;          // where it is drawn in the result
    QSize result;           // the size of the background image
    int verticalRange = -1;    // scroll range of a picture taller than the area, else -1
    int horizontalRange = -1;  // the same for a picture wider than the area
    int pageStep = 0;
};
PicturePlacement PlacePicture(QSize picture, double scale, QSize view, QRect content, bool alternative);

// The zoom factor that makes a dragged rectangle of width |x1 - x2| fill the
// page: (imageWidth * viewWidth / width) / viewWidth, rounded to two decimals.
// A width of 0 counts as 1.
float ZoomFactorForRect(int imageWidth, int viewWidth, int x1, int x2);

// The zoom after a zoom request: values of 1.0 and above are the new factor,
// smaller values are steps added to the current factor. A step that would
// take the factor below kMinZoomFactor leaves it unchanged.
double NextZoom(double current, float request);

// Largest factor a zoom rectangle may ask for.
constexpr float kMaxZoomFactor = 8.0f;
// Smallest factor a zoom-out step may reach; a step below it is refused.
constexpr double kMinZoomFactor = 0.2;

// Scroll range for a content of `content` pixels shown through `view` pixels.
inline int ScrollRange(double content, int view)
{
    const int range = static_cast<int>(content - view);
    return range > 0 ? range : 0;
}

// Centred scroll value for a zoomed page.
inline int CentredScroll(double content, int view)
{
    const int value = static_cast<int>((content - view) * 0.5);
    return value > 0 ? value : 0;
}
