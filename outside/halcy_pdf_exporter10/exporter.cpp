#include "halcy_pdf_exporter.h"

#include "outside/pdf_common/qpdf_support.h"

#include <QBuffer>
#include <QMutex>
#include <QMutexLocker>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QTransform>

#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

// A document is held by qpdf, so existing PDFs stay as they are (text, fonts,
// vectors) and pages can be copied and joined. What is drawn on a page is
// painted with Qt into a one-page PDF of the page's size and laid over the page
// as a form XObject when the drawing ends.
namespace {

struct PenState {
    QColor penColour = Qt::black;
    int penStyle = Qt::SolidLine;
    double penWidth = 1.0;
    QColor brushColour = Qt::transparent;
    double rotation = 0.0;
    QPointF rotationCentre;
};

// The drawing in progress on one page.
struct Drawing {
    QByteArray bytes;
    QBuffer buffer{&bytes};
    std::unique_ptr<QPdfWriter> writer;
    QPainter painter;
    QPDFObjectHandle::Rectangle box;  // the page's media box
    int overlayHeight = 0;            // height of the drawing's own page, whole points
};

struct Document {
    std::unique_ptr<QPDF> pdf;
    // Board pixels -> points measured from the page's top-left corner.
    QTransform pixelToPoint;
    // Size of a page added by HPX_PainterSetPage_Pre, in points.
    QSizeF boardSize;
    int currentPage = 0;
    std::unique_ptr<Drawing> drawing;
};

struct Library {
    QMutex mutex;
    std::unique_ptr<Document> document;
    PenState pen;
    std::vector<PenState> kept;
};

Library& TheLibrary()
{
    static Library library;
    return library;
}

QPDFObjectHandle::Rectangle Normalised(QPDFObjectHandle::Rectangle box)
{
    return QPDFObjectHandle::Rectangle(std::min(box.llx, box.urx), std::min(box.lly, box.ury),
                                       std::max(box.llx, box.urx), std::max(box.lly, box.ury));
}

// A side of a page box that a drawing can be made for. A damaged box (not a
// number, endless, or far beyond any real page) would overflow the drawing's
// whole-point size.
bool IsDrawablePageSide(double points)
{
    constexpr double kLargestSide = 1.0e7;
    return points > 0.0 && points <= kLargestSide;
}

std::vector<QPDFPageObjectHelper> Pages(QPDF& pdf)
{
    return QPDFPageDocumentHelper(pdf).getAllPages();
}

int PageCount(QPDF& pdf)
{
    int count = 0;
    pdfsupport::Guarded("counting pages", [&] { count = int(Pages(pdf).size()); });
    return count;
}

std::string Number(double value)
{
    return QByteArray::number(value, 'f', 4).toStdString();
}

// Appends a page of width x height points filled with `fill`.
void AddBlankPage(QPDF& pdf, double width, double height, QColor fill)
{
    if (!fill.isValid())
        fill = Qt::white;
    const std::string content = Number(fill.redF()) + " " + Number(fill.greenF()) + " " + Number(fill.blueF())
                                + " rg 0 0 " + Number(width) + " " + Number(height) + " re f\n";
    QPDFObjectHandle page = QPDFObjectHandle::newDictionary();
    page.replaceKey("/Type", QPDFObjectHandle::newName("/Page"));
    page.replaceKey("/MediaBox", QPDFObjectHandle::newFromRectangle({0.0, 0.0, width, height}));
    page.replaceKey("/Resources", QPDFObjectHandle::newDictionary());
    page.replaceKey("/Contents", QPDFObjectHandle::newStream(&pdf, content));
    QPDFPageDocumentHelper(pdf).addPage(QPDFPageObjectHelper(pdf.makeIndirectObject(page)), false);
}

void ApplyPen(Document& document, const PenState& state)
{
    QPainter& painter = document.drawing->painter;
    QPen pen(state.penColour, state.penWidth, Qt::PenStyle(state.penStyle), Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    if (state.brushColour.isValid() && state.brushColour.alpha() > 0)
        painter.setBrush(state.brushColour);
    else
        painter.setBrush(Qt::NoBrush);
    QTransform transform = document.pixelToPoint;
    if (state.rotation != 0.0) {
        QTransform turn;
        turn.translate(state.rotationCentre.x(), state.rotationCentre.y());
        turn.rotate(state.rotation);
        turn.translate(-state.rotationCentre.x(), -state.rotationCentre.y());
        transform = turn * transform;
    }
    painter.setTransform(transform);
}

bool BeginDrawing(Document& document, const PenState& state)
{
    if (document.drawing)
        return true;
    QPDFObjectHandle::Rectangle box;
    bool found = false;
    const bool read = pdfsupport::Guarded("finding the page", [&] {
        std::vector<QPDFPageObjectHelper> pages = Pages(*document.pdf);
        if (document.currentPage < 0 || document.currentPage >= int(pages.size()))
            return;
        box = Normalised(pages[size_t(document.currentPage)].getMediaBox().getArrayAsRectangle());
        found = true;
    });
    if (!read || !found || !IsDrawablePageSide(box.urx - box.llx) || !IsDrawablePageSide(box.ury - box.lly))
        return false;

    auto drawing = std::make_unique<Drawing>();
    drawing->box = box;
    const int width = std::max(1, int(std::ceil(box.urx - box.llx)));
    drawing->overlayHeight = std::max(1, int(std::ceil(box.ury - box.lly)));
    if (!drawing->buffer.open(QIODevice::WriteOnly))
        return false;
    drawing->writer = std::make_unique<QPdfWriter>(&drawing->buffer);
    drawing->writer->setResolution(72);  // one device unit is one point
    drawing->writer->setPageSize(QPageSize(QSize(width, drawing->overlayHeight), QString(), QPageSize::ExactMatch));
    drawing->writer->setPageMargins(QMarginsF(0, 0, 0, 0));
    if (!drawing->painter.begin(drawing->writer.get()))
        return false;
    drawing->painter.setRenderHint(QPainter::Antialiasing, true);
    drawing->painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    document.drawing = std::move(drawing);
    ApplyPen(document, state);
    return true;
}

// Ends the drawing in progress and lays it over its page.
bool FinishDrawing(Document& document)
{
    if (!document.drawing)
        return true;
    std::unique_ptr<Drawing> drawing = std::move(document.drawing);
    drawing->painter.end();
    drawing->buffer.close();
    std::unique_ptr<QPDF> overlay = pdfsupport::OpenPdfBytes(drawing->bytes, "drawing");
    if (!overlay)
        return false;
    return pdfsupport::Guarded("laying the drawing over the page", [&] {
        QPDF& pdf = *document.pdf;
        pdf.pushInheritedAttributesToPage();
        QPDFObjectHandle form = pdf.copyForeignObject(Pages(*overlay).at(0).getFormXObjectForPage());
        QPDFPageObjectHelper page = Pages(pdf).at(size_t(document.currentPage));
        QPDFObjectHandle resources = page.getAttribute("/Resources", true);
        if (!resources.isDictionary()) {
            resources = QPDFObjectHandle::newDictionary();
            page.getObjectHandle().replaceKey("/Resources", resources);
        }
        QPDFObjectHandle xobjects = resources.getKey("/XObject");
        if (!xobjects.isDictionary()) {
            xobjects = QPDFObjectHandle::newDictionary();
            resources.replaceKey("/XObject", xobjects);
        }
        int suffix = 0;
        const std::string name = resources.getUniqueResourceName("/HpxDrawing", suffix);
        xobjects.replaceKey(name, form);
        // The drawing's page is whole points high; its top edge goes on the
        // top edge of the page.
        const double top = drawing->box.ury - drawing->overlayHeight;
        page.addPageContents(QPDFObjectHandle::newStream(&pdf, std::string("q\n")), true);
        page.addPageContents(QPDFObjectHandle::newStream(&pdf, "\nQ\nq 1 0 0 1 " + Number(drawing->box.llx) + " "
                                                                  + Number(top) + " cm " + name + " Do Q\n"),
                             false);
    });
}

// Runs a drawing call: only while a page is being drawn on.
template <typename Paint>
int Draw(Paint paint)
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    if (!library.document)
        return HPX_NO_DOCUMENT;
    if (!library.document->drawing)
        return HPX_NOT_DRAWING;
    paint(library.document->drawing->painter);
    return HPX_OK;
}

// Changes the pen state, and the painter at once while drawing.
template <typename Change>
int ChangePen(Change change)
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    change(library.pen);
    if (library.document && library.document->drawing)
        ApplyPen(*library.document, library.pen);
    return HPX_OK;
}

// Makes `document` the current one; the previous one is dropped unsaved.
int Install(std::unique_ptr<Document> document)
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    if (library.document && library.document->drawing)
        library.document->drawing->painter.end();
    library.document = std::move(document);
    library.pen.rotation = 0.0;
    return HPX_OK;
}

}  // namespace

HPX_API int HPX_LoadPDF(QString file)
{
    auto document = std::make_unique<Document>();
    document->pdf = pdfsupport::OpenPdfFile(file);
    if (!document->pdf || PageCount(*document->pdf) <= 0)
        return HPX_CANNOT_OPEN;
    QPDFObjectHandle::Rectangle box;
    if (!pdfsupport::Guarded("reading the page size", [&] {
            box = Normalised(Pages(*document->pdf).at(0).getMediaBox().getArrayAsRectangle());
        }))
        return HPX_CANNOT_OPEN;
    document->boardSize = QSizeF(box.urx - box.llx, box.ury - box.lly);
    return Install(std::move(document));
}

HPX_API int HPX_NewPDF(int width, int height, double scale, QString backgroundFile, QColor backgroundColour)
{
    if (width <= 0 || height <= 0)
        return HPX_BAD_ARGUMENT;
    if (!(scale > 0.0) || !std::isfinite(scale))
        scale = 1.0;
    // The board's pixels are at 96 dpi times the screen's scale.
    const double pointsPerPixel = 72.0 / (96.0 * scale);
    auto document = std::make_unique<Document>();
    document->pdf = pdfsupport::NewQuietPdf();
    document->pixelToPoint = QTransform::fromScale(pointsPerPixel, pointsPerPixel);
    document->boardSize = QSizeF(width * pointsPerPixel, height * pointsPerPixel);
    if (!pdfsupport::Guarded("making a page", [&] {
            document->pdf->emptyPDF();
            AddBlankPage(*document->pdf, document->boardSize.width(), document->boardSize.height(),
                         backgroundColour);
        }))
        return HPX_CANNOT_WRITE;

    if (!backgroundFile.isEmpty()) {
        const QImage picture(backgroundFile);
        if (!picture.isNull()) {
            if (!BeginDrawing(*document, PenState()))
                return HPX_CANNOT_WRITE;
            document->drawing->painter.drawImage(QRectF(0, 0, width, height), picture);
            if (!FinishDrawing(*document))
                return HPX_CANNOT_WRITE;
        }
    }
    return Install(std::move(document));
}

HPX_API int HPX_SavePDF(QString file)
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    if (!library.document)
        return HPX_NO_DOCUMENT;
    if (file.isEmpty())
        return HPX_BAD_ARGUMENT;
    if (!FinishDrawing(*library.document))
        return HPX_CANNOT_WRITE;
    return pdfsupport::WritePdfFile(*library.document->pdf, file) ? HPX_OK : HPX_CANNOT_WRITE;
}

HPX_API int HPX_Close()
{
    Library& library = TheLibrary();
    {
        QMutexLocker lock(&library.mutex);
        if (!library.document)
            return HPX_NO_DOCUMENT;
    }
    return Install(nullptr);
}

HPX_API int HPX_NewPDFFrom(QString source, int boardWidth, int boardHeight, int pageWidth, int pageHeight,
                           int pageX, int pageY)
{
    std::unique_ptr<QPDF> from = pdfsupport::OpenPdfFile(source);
    if (!from || PageCount(*from) <= 0)
        return HPX_CANNOT_OPEN;
    auto document = std::make_unique<Document>();
    document->pdf = pdfsupport::NewQuietPdf();
    QPDFObjectHandle::Rectangle box;
    if (!pdfsupport::Guarded("copying the page", [&] {
            from->pushInheritedAttributesToPage();
            document->pdf->emptyPDF();
            QPDFPageDocumentHelper(*document->pdf).addPage(Pages(*from).at(0), false);
            box = Normalised(Pages(*document->pdf).at(0).getMediaBox().getArrayAsRectangle());
        }))
        return HPX_CANNOT_OPEN;

    const QSizeF pageSize(box.urx - box.llx, box.ury - box.lly);
    if (pageWidth > 0 && pageHeight > 0) {
        const double sx = pageSize.width() / pageWidth;
        const double sy = pageSize.height() / pageHeight;
        document->pixelToPoint = QTransform(sx, 0, 0, sy, -pageX * sx, -pageY * sy);
        document->boardSize = boardWidth > 0 && boardHeight > 0 ? QSizeF(boardWidth * sx, boardHeight * sy) : pageSize;
    } else {
        document->boardSize = pageSize;  // no board given: draw in points
    }
    return Install(std::move(document));
}

HPX_API int HPX_MergePDF(QStringList files, QString target)
{
    if (files.isEmpty() || target.isEmpty())
        return HPX_BAD_ARGUMENT;
    std::unique_ptr<QPDF> merged = pdfsupport::NewQuietPdf();
    if (!pdfsupport::Guarded("starting the merge", [&] { merged->emptyPDF(); }))
        return HPX_CANNOT_WRITE;
    for (const QString& file : files) {
        std::unique_ptr<QPDF> part = pdfsupport::OpenPdfFile(file);
        if (!part)
            return HPX_CANNOT_OPEN;
        if (!pdfsupport::Guarded("joining pages", [&] {
                part->pushInheritedAttributesToPage();
                QPDFPageDocumentHelper into(*merged);
                for (QPDFPageObjectHelper& page : Pages(*part))
                    into.addPage(page, false);
            }))
            return HPX_CANNOT_OPEN;
    }
    return pdfsupport::WritePdfFile(*merged, target) ? HPX_OK : HPX_CANNOT_WRITE;
}

HPX_API int HPX_PainterSetPage()
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    if (!library.document)
        return HPX_NO_DOCUMENT;
    if (!library.document->drawing)
        library.pen.rotation = 0.0;  // every page starts upright
    return BeginDrawing(*library.document, library.pen) ? HPX_OK : HPX_CANNOT_WRITE;
}

HPX_API int HPX_PainterFinishPage()
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    if (!library.document)
        return HPX_NO_DOCUMENT;
    if (!library.document->drawing)
        return HPX_NOT_DRAWING;
    return FinishDrawing(*library.document) ? HPX_OK : HPX_CANNOT_WRITE;
}

HPX_API int HPX_PainterSetPage_Pre()
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    if (!library.document)
        return HPX_NO_DOCUMENT;
    Document& document = *library.document;
    if (!FinishDrawing(document))
        return HPX_CANNOT_WRITE;
    if (!pdfsupport::Guarded("adding a page", [&] {
            AddBlankPage(*document.pdf, document.boardSize.width(), document.boardSize.height(), Qt::white);
        }))
        return HPX_CANNOT_WRITE;
    document.currentPage = PageCount(*document.pdf) - 1;
    return HPX_OK;
}

HPX_API int HPX_PainterSetPage_Save()
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    library.kept.push_back(library.pen);
    return HPX_OK;
}

HPX_API int HPX_PainterFinishPage_Restore()
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    if (library.kept.empty())
        return HPX_BAD_ARGUMENT;
    library.pen = library.kept.back();
    library.kept.pop_back();
    if (library.document && library.document->drawing)
        ApplyPen(*library.document, library.pen);
    return HPX_OK;
}

HPX_API int HPX_PainterFinishPage_Post()
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    if (!library.document)
        return HPX_NO_DOCUMENT;
    Document& document = *library.document;
    if (!document.drawing)
        return HPX_NOT_DRAWING;
    if (!FinishDrawing(document))
        return HPX_CANNOT_WRITE;
    if (document.currentPage + 1 < PageCount(*document.pdf))
        ++document.currentPage;
    return HPX_OK;
}

HPX_API int HPX_SetPenColor(QColor colour)
{
    return ChangePen([&](PenState& state) { state.penColour = colour; });
}

HPX_API int HPX_SetPenStyle(int style, double width)
{
    if (style < Qt::NoPen || style > Qt::DashDotDotLine || !(width >= 0.0))
        return HPX_BAD_ARGUMENT;
    return ChangePen([&](PenState& state) {
        state.penStyle = style;
        state.penWidth = width;
    });
}

HPX_API int HPX_SetBrushColor(QColor colour)
{
    return ChangePen([&](PenState& state) { state.brushColour = colour; });
}

HPX_API int HPX_Rotate(double degrees, QPointF centre)
{
    if (!std::isfinite(degrees))
        return HPX_BAD_ARGUMENT;
    return ChangePen([&](PenState& state) {
        state.rotation = degrees;
        state.rotationCentre = centre;
    });
}

HPX_API int HPX_DrawFreePen(const QVector<QPointF>& points)
{
    return Draw([&](QPainter& painter) {
        if (points.size() == 1) {
            painter.drawPoint(points.first());
            return;
        }
        QPainterPath path;
        for (int i = 0; i < points.size(); ++i) {
            if (i == 0)
                path.moveTo(points[i]);
            else
                path.lineTo(points[i]);
        }
        painter.strokePath(path, painter.pen());
    });
}

HPX_API int HPX_DrawRect(QRectF rect)
{
    return Draw([&](QPainter& painter) { painter.drawRect(rect.normalized()); });
}

HPX_API int HPX_DrawCircle(QPointF centre, double radius)
{
    if (!(radius >= 0.0))
        return HPX_BAD_ARGUMENT;
    return Draw([&](QPainter& painter) { painter.drawEllipse(centre, radius, radius); });
}

HPX_API int HPX_DrawEllipse(QRectF rect)
{
    return Draw([&](QPainter& painter) { painter.drawEllipse(rect.normalized()); });
}

HPX_API int HPX_DrawImage(QPointF position, const QImage& image)
{
    return Draw([&](QPainter& painter) {
        if (!image.isNull())
            painter.drawImage(position, image);
    });
}
