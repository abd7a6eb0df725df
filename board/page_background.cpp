#include "board/page_background.h"

#include <QFileInfo>
#include <QPainter>
#include <algorithm>

#include "board/page_art.h"
#include "board/page_fit.h"
#include "board/picture_file.h"

const QColor kBlackBoardColor(25, 74, 57, 255);

namespace {

bool IsViewerOrWriter(int level)
{
    return level == 1 || level == 2;
}

QImage WhiteImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The rendered page fitted into the view as a viewer or writer sees it: sized
// by the share of the host's board it covers, centred in the own view.
QImage ComposeForViewer(const QImage& rendered, const BackgroundRequest& r)
{
    const QSize carried = HostToViewSize(rendered.size(), r.hostBoard, r.view);
    const FittedSize fit = FitSizeCentered(r.view.width(), r.view.height(), carried.width(), carried.height());
    QImage result = WhiteImage(r.view);
    if (!rendered.isNull() && !fit.size.isEmpty()) {
        QPainter painter(&result);
        painter.drawImage(fit.offset, rendered.scaled(fit.size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    return result;
}

QImage BoardImage(const BackgroundRequest& r, const QColor& fill, QString* pictureError)
{
    if (!r.backgroundPicture.isEmpty()) {
        QImage picture = r.backgroundImage;
        if (picture.isNull()) {
            const PictureRead read = ReadPicture(r.backgroundPicture);
            picture = read.image;
            *pictureError = read.error;
        }
        const QSize size = r.currentImageSize.isEmpty() ? r.view : r.currentImageSize;
        if (!picture.isNull())
            return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_RGB32);
    }
    QImage image(r.view, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

}  // namespace

QString PaperNameOfPath(const QString& path)
{
    const QFileInfo info(path);
    if (info.suffix() != QLatin1String("pdf"))
        return QString();
    const QString name = info.completeBaseName();
    return PaperArtNames().contains(name) ? name : QString();
}

BackgroundResult BuildPageBackground(const BackgroundRequest& r, const DocumentRenderer& renderer)
{
    BackgroundResult out;
    out.image = r.previous;
    out.scale = r.scale;
    const bool follower = IsViewerOrWriter(r.level);

    // Board colours.
    if (r.type == 1 && (r.path.contains(QLatin1String("WhiteBoard")) || r.path.contains(QLatin1String("BlackBoard")))) {
        const bool white = r.path.contains(QLatin1String("WhiteBoard"));
        out.sourceSize = r.view;
        out.sourceSizeKnown = true;
        out.image = BoardImage(r, white ? r.boardColor : kBlackBoardColor, &out.pictureError);
        return out;
    }

    // Pictures.
    if (r.type == 2) {
        const PictureRead read = ReadPicture(r.path);
        const QImage& picture = read.image;
        if (picture.isNull()) {
            out.pictureLoadFailed = true;
            out.pictureError = read.error;
        }
        out.sourceSize = picture.size();
        out.sourceSizeKnown = true;
        out.scale = PictureFitScale(picture.size(), r.content.size());
        out.debugLines << QStringLiteral("c_scale = %1").arg(out.scale);
        if (picture.isNull()) {
            // An unreadable picture leaves a plain page to draw on.
            out.image = WhiteImage(r.view);
            return out;
        }
        if (follower) {
            const QSize scaled(int(out.scale * picture.width()), int(out.scale * picture.height()));
            out.image = ComposeForViewer(picture.scaled(scaled, Qt::KeepAspectRatio, Qt::SmoothTransformation), r);
            return out;
        }
        const PicturePlacement place = PlacePicture(picture.size(), out.scale, r.view, r.content, r.alternative);
        out.debugLines << QStringLiteral("margin : %1 %2 0 0").arg(r.content.x()).arg(r.content.y());
        const QImage scaled = picture.scaled(place.scaledPicture, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (place.verticalRange >= 0) {
            out.vertical = {true, place.pageStep, place.verticalRange, true, true};
        } else if (place.horizontalRange >= 0) {
            out.horizontal = {true, place.pageStep, place.horizontalRange, true, true};
        }
        out.debugLines << QStringLiteral("init_img.size() %1 x %2").arg(place.result.width()).arg(place.result.height());
        out.image = WhiteImage(place.result);
        QPainter painter(&out.image);
        painter.drawImage(place.margin, scaled);
        painter.end();
        out.pictureRect = QRect(place.margin, scaled.size());
        out.pictureRectSet = true;
        return out;
    }

    // Papers and documents: the PDF road. A note paper can be drawn without
    // the renderer, so a paper page never comes out blank or wrong for want
    // of the library or of its file.
    const QString paper = r.type == 1 ? PaperNameOfPath(r.path) : QString();
    double widPage = 0.0;
    double hgtPage = 0.0;
    bool opened = false;
    bool drawnPaper = false;
    if (renderer.available && !r.path.isNull())
        opened = renderer.openFirstPage(r.path, &widPage, &hgtPage);
    if (!opened && !paper.isEmpty()) {
        widPage = PaperPageSize().width();
        hgtPage = PaperPageSize().height();
        drawnPaper = true;
        out.debugLines << QStringLiteral("paper drawn without the renderer: %1").arg(paper);
    } else if (!renderer.available || r.path.isNull()) {
        out.stored = false;
        return out;
    }

    QImage rendered;
    auto render = [&](double scale) {
        rendered = WhiteImage(QSize(std::max(1, int(scale * widPage)), std::max(1, int(scale * hgtPage))));
        if (drawnPaper) {
            QPainter painter(&rendered);
            PaintPageArt(painter, paper, QSizeF(rendered.size()));
        } else {
            renderer.renderPage(scale, &rendered);
        }
    };

    int marginX = 0;
    int marginY = 0;
    if (opened || drawnPaper) {
        out.logLines << QStringLiteral("widPage=%1, hgtPage=%2").arg(widPage).arg(hgtPage);
        out.sourceSize = QSize(int(widPage), int(hgtPage));
        out.sourceSizeKnown = true;
        if (!r.pageOption || r.type == 1) {
            const DocumentFit fit = FitDocumentPage(widPage, hgtPage, r.content.size());
            out.scale = fit.scale;
            marginX = fit.marginX;
            marginY = fit.marginY;
            if (fit.byHeight) {
                out.debugLines << QStringLiteral("SetInitImage H: m_view_height = %1, hgtPage = %2, c_scale = %3")
                                      .arg(r.view.height()).arg(hgtPage).arg(r.view.height() / hgtPage);
                out.logLines << QStringLiteral("SetInitImage : c_scale base = height");
            } else {
                out.debugLines << QStringLiteral("SetInitImage W: m_view_width = %1, widPage = %2, c_scale = %3")
                                      .arg(r.view.width()).arg(widPage).arg(r.view.width() / widPage);
                out.logLines << QStringLiteral("SetInitImage : c_scale base = width");
            }
            if (follower)
                out.scale = ViewerDocumentScale(widPage, hgtPage, r.hostBoard, r.view);
            out.logLines << QStringLiteral("SetInitImage : m_view_width = %1, widPage = %2, m_view_height = %3, "
                                           "hgtPage =%4, c_scale = %5")
                                .arg(r.view.width()).arg(widPage).arg(r.view.height()).arg(hgtPage).arg(out.scale);
            render(out.scale);
        } else {
            out.scale = r.view.width() / widPage;
            render(out.scale);
            out.vertical = {true, int(hgtPage), ScrollRange(out.scale * hgtPage, r.content.height()), !r.alternative,
                            !follower};
        }
    }

    if (r.type == 1 || !r.pageOption) {
        if (follower) {
            out.image = ComposeForViewer(rendered, r);
        } else {
            out.image = WhiteImage(r.view);
            if (!rendered.isNull()) {
                QPainter painter(&out.image);
                painter.drawImage(QPoint(r.content.x() + marginX, r.content.y() + marginY), rendered);
            }
        }
        return out;
    }

    // A document page fitted to the width.
    if (!follower) {
        if (rendered.isNull()) {
            out.image = WhiteImage(r.view);
        } else if (r.content.height() > out.scale * hgtPage) {
            const FittedSize fit = FitSizeCentered(r.view.width(), r.view.height(), rendered.width(), rendered.height());
            out.image = WhiteImage(r.view);
            QPainter painter(&out.image);
            painter.drawImage(fit.offset, rendered.scaled(fit.size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        } else {
            out.image = rendered;
        }
        return out;
    }
    const QSize host = EffectiveHostBoard(r.hostBoard, r.view);
    const double t = (host.width() / widPage) * hgtPage * (double(r.view.height()) / host.height());
    if (rendered.isNull() || r.view.height() > t) {
        out.image = ComposeForViewer(rendered, r);
        return out;
    }
    out.image = rendered.scaled(QSize(r.view.width(), int(t)), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    out.vertical = {true, int(hgtPage), ScrollRange(t, r.view.height()), !r.alternative, false};
    return out;
}
