#include "board/page_fit.h"

#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <cmath>

FittedSize FitSizeCentered(int boxW, int boxH, int cw, int ch)
{
    FittedSize fit;
    if (cw <= 0 || ch <= 0) {
        fit.size = QSize(0, 0);
        fit.offset = QPoint(boxW / 2, boxH / 2);
        return fit;
    }
    qint64 width = 0;
    qint64 height = 0;
    if (cw <= ch) {
        width = boxW < cw ? qint64(boxH) * cw / ch : cw;
        height = std::min(boxH, ch);
    } else {
        width = std::min(boxW, cw);
        height = boxH < ch ? qint64(boxW) * ch / cw : ch;
    }
    fit.size = QSize(int(width), int(height));
    fit.offset = QPoint(boxW / 2 - int(width) / 2, boxH / 2 - int(height) / 2);
    return fit;
}

double PictureFitScale(QSize picture, QSize content)
{
    if (picture.width() <= 0 || picture.height() <= 0)
        return 1.0;
    if (picture.width() <= content.width() && picture.height() <= content.height())
        return 1.0;
    const double rw = double(content.width()) / picture.width();
    const double rh = double(content.height()) / picture.height();
    return std::max(rw, rh);
}

DocumentFit FitDocumentPage(double pageWidth, double pageHeight, QSize content)
{
    DocumentFit fit;
    if (pageWidth <= 0.0 || pageHeight <= 0.0)
        return fit;
    const double rw = content.width() / pageWidth;
    const double rh = content.height() / pageHeight;
    if (rw > rh) {
        fit.scale = rh;
        fit.byHeight = true;
        fit.marginX = (content.width() - int(rh * pageWidth)) / 2;
    } else {
        fit.scale = rw;
        fit.marginY = (content.height() - int(rw * pageHeight)) / 2;
    }
    return fit;
}

QSize EffectiveHostBoard(QSize hostBoard, QSize ownView)
{
    if (hostBoard.width() > 0 && hostBoard.height() > 0)
        return hostBoard;
    return ownView;
}

double ViewerDocumentScale(double pageWidth, double pageHeight, QSize hostBoard, QSize ownView)
{
    if (pageWidth <= 0.0 || pageHeight <= 0.0)
        return 1.0;
    const QSize host = EffectiveHostBoard(hostBoard, ownView);
    return std::min(host.width() / pageWidth, host.height() / pageHeight);
}

QSize HostToViewSize(QSize hostPixels, QSize hostBoard, QSize ownView)
{
    const QSize host = EffectiveHostBoard(hostBoard, ownView);
    if (host.width() <= 0 || host.height() <= 0)
        return hostPixels;
    return QSize(int(double(hostPixels.width()) * ownView.width() / host.width()),
                 int(double(hostPixels.height()) * ownView.height() / host.height()));
}

PicturePlacement PlacePicture(QSize picture, double scale, QSize view, QRect content, bool alternative)
{
    PicturePlacement place;
    const double scaledW = scale * picture.width();
    const double scaledH = scale * picture.height();
    if (alternative) {
        place.margin = content.topLeft();
    } else if (scaledW > 0 && scaledH > 0 && view.width() / scaledW > view.height() / scaledH) {
        place.margin = QPoint(int((view.width() - scaledW) * 0.5), 0);
    } else if (scaledH > 0) {
        place.margin = QPoint(0, int((view.height() - scaledH) * 0.5));
    }
    place.result = view;
    if (scaledW <= content.width() && scaledH <= content.height()) {
        const FittedSize fit = FitSizeCentered(view.width(), view.height(), int(scaledW), int(scaledH));
        place.scaledPicture = picture.scaled(fit.size, Qt::KeepAspectRatio);
        place.margin = fit.offset;
        return place;
    }
    place.scaledPicture = picture.scaled(QSize(int(scaledW), int(scaledH)), Qt::KeepAspectRatio);
    if (place.scaledPicture.height() > content.height()) {
        place.result = QSize(view.width(), int(scaledH));
        place.pageStep = int(scaledH);
        place.verticalRange = ScrollRange(scaledH, content.height());
    } else {
        place.result = QSize(int(scaledW), view.height());
        place.pageStep = int(scaledW);
        place.horizontalRange = ScrollRange(scaledW, content.width());
    }
    return place;
}

float ZoomFactorForRect(int imageWidth, int viewWidth, int x1, int x2)
{
    int width = qAbs(x1 - x2);
    if (width == 0)
        width = 1;
    if (viewWidth <= 0)
        return 0.0f;
    const qint64 scaled = qint64(imageWidth) * viewWidth / width;
    const float factor = float(scaled) / float(viewWidth);
    return QString::asprintf("%.2f", double(factor)).toFloat();
}

double NextZoom(double current, float request)
{
    if (request >= 1.0f)
        return request;
    // Steps are single-precision tenths; keep the sum free of their noise so
    // that stepping back lands exactly on 1.0.
    const double next = std::round((current + request) * 1e6) / 1e6;
    // A factor of 0 or below would make every document coordinate infinite.
    if (next < kMinZoomFactor)
        return current;
    return next;
}
