#pragma once

// The PDF exporter library's interface. The whiteboard loads the library by
// file name and resolves these names; it uses this header only for the types.
//
// The library holds one current document at a time. Drawing is done in the
// pixels of the board the document was made for and lands on the current page
// between HPX_PainterSetPage and HPX_PainterFinishPage. Results of type int
// are 0 for success.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>

#define HPX_API extern "C" __attribute__((visibility("default")))

enum HpxResult {
    HPX_OK = 0,
    HPX_BAD_ARGUMENT = 1,  // sizes not above 0, empty file list, empty path
    HPX_CANNOT_OPEN = 2,   // a source file is missing, unreadable or not a PDF
    HPX_CANNOT_WRITE = 3,  // the target could not be written (nothing is left behind)
    HPX_NO_DOCUMENT = 4,   // no current document
    HPX_NOT_DRAWING = 5,   // a drawing call outside HPX_PainterSetPage .. HPX_PainterFinishPage
};

// Opens an existing PDF as the current document; drawing is in points.
HPX_API int HPX_LoadPDF(QString file);
// A new one-page document for a board of width x height pixels at `scale`
// times 96 dpi, filled with the background colour, and with the background
// picture stretched over the page when `backgroundFile` names a readable one.
HPX_API int HPX_NewPDF(int width, int height, double scale, QString backgroundFile, QColor backgroundColour);
// Writes the current document to `file` (a finished page being drawn is
// finished first). The file is replaced only when the whole write succeeded.
HPX_API int HPX_SavePDF(QString file);
// Drops the current document (nothing is written).
HPX_API int HPX_Close();
// A new one-page document holding the first page of `source` unchanged. The
// drawing pixels are those of a boardWidth x boardHeight board on which the
// page was shown in the rectangle (pageX, pageY, pageWidth, pageHeight).
HPX_API int HPX_NewPDFFrom(QString source, int boardWidth, int boardHeight, int pageWidth, int pageHeight,
                           int pageX, int pageY);
// Joins the pages of `files`, in list order, into `target`. Independent of
// the current document.
HPX_API int HPX_MergePDF(QStringList files, QString target);

// Starts drawing on the current page (pen, brush and rotation as last set).
HPX_API int HPX_PainterSetPage();
// Ends drawing: what was drawn becomes part of the page.
HPX_API int HPX_PainterFinishPage();
// Appends a blank page of the document's board size and makes it current.
HPX_API int HPX_PainterSetPage_Pre();
// Keeps the current pen, brush and rotation, to be taken back by
// HPX_PainterFinishPage_Restore.
HPX_API int HPX_PainterSetPage_Save();
// Takes back the pen, brush and rotation kept by HPX_PainterSetPage_Save.
HPX_API int HPX_PainterFinishPage_Restore();
// Ends drawing like HPX_PainterFinishPage and moves on to the next page, when
// there is one.
HPX_API int HPX_PainterFinishPage_Post();

HPX_API int HPX_SetPenColor(QColor colour);
// `style` is a Qt::PenStyle value; `width` in board pixels.
HPX_API int HPX_SetPenStyle(int style, double width);
// A fully transparent colour means shapes are not filled.
HPX_API int HPX_SetBrushColor(QColor colour);
// Turns what is drawn next clockwise by `degrees` about `centre` (board
// pixels); 0 turns back to upright. Each page starts upright.
HPX_API int HPX_Rotate(double degrees, QPointF centre);

// A free-pen stroke through the points, with the pen.
HPX_API int HPX_DrawFreePen(const QVector<QPointF>& points);
HPX_API int HPX_DrawRect(QRectF rect);
HPX_API int HPX_DrawCircle(QPointF centre, double radius);
HPX_API int HPX_DrawEllipse(QRectF rect);
// The image unscaled (one image pixel per board pixel) with its top-left
// corner at `position`.
HPX_API int HPX_DrawImage(QPointF position, const QImage& image);
