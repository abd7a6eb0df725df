// The per-sample body of a stroke and the small page painters beside it.
#include <QDebug>
#include <QLabel>
#include <QPainter>
#include <cmath>

#include "app/ui/dialog.h"
#include "board/figure_paths.h"
#include "board/geometry.h"
#include "board/picture_file.h"

void Dialog::DrawStrokeStep(int slot, int kind, int restorePreview, bool local, bool keepMediaPos)
{
    if (!IsValidPointerSlot(slot))
        return;
    PointerSlotState& s = m_board.slot[slot];
    const QPointF doc = ToDocument(s.current);

    if (m_collConnected && (m_collUserLevel == 3 || m_collUserLevel == 2) && (kind == ekFree || kind == ekBrush)
        && local)
        SendRealtimeEvent(kind, slot, 2, s.current.x(), s.current.y());

    if (kind == ekFree || kind == ekBrush) {
        FreePenPoint sample;
        sample.EventID = quint16(s.nextEventId);
        sample.MediaPos = !m_bRecording ? -1.0 : (keepMediaPos ? s.pressMediaPos : RecordingElapsedMs());
        if (kind == ekFree) {
            if (m_tabletPenInUse) {
                sample.Press = float(m_pressureLevel * m_pressureScale);
                qDebug().noquote() << "save pressure value [" << sample.EventID << "] :" << sample.Press;
            }
        } else {
            sample.Press = s.brushDrawWidth;
        }
        sample.S = doc;
        sample.M = doc;
        sample.MouseAction = 2;
        s.strokePoints.append(sample);
        s.allPoints.append(sample);
        if (kind == ekFree)
            PaintFreePenSegment(slot);
        else
            PaintBrushSegment(slot);
        return;
    }

    // A figure: undo the last preview, then draw the new one.
    const bool arrow = kind == ekBArrow || kind == ekEArrow;
    const int margin = arrow ? 30 : std::max(s.pen.width(), 1);
    QRect restored;
    if (restorePreview == 1) {
        restored = m_previewPatch[slot].rect;
        RestoreImageRegion(slot, margin);
    }
    QPainterPath path;
    switch (kind) {
    case ekLine:
        path.moveTo(s.anchor);
        path.lineTo(s.current);
        break;
    case ekCircle:
    case ekFillCircle:
    case ekRect:
    case ekFillRect:
    case ekEllipse:
    case ekFillEllipse:
        FigurePath(kind, s.anchor, s.current, path, 0);
        break;
    case ekBArrow:
    case ekEArrow:
        LinePath(path, s.anchor, s.current, kind == ekBArrow, true, slot);
        break;
    default:
        break;
    }
    // What the preview covers is kept, so the next step takes back exactly
    // that (a circle reaches well past its two points).
    const int grow = std::max(margin, RepaintMargin(s.pen));
    const QRect drawn = path.boundingRect().toAlignedRect().adjusted(-grow, -grow, grow, grow);
    SaveLivePatch(m_previewPatch[slot], drawn);
    QPainter painter(&m_viewImage);
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (IsFilledFigureKind(kind)) {
        m_fillColor = s.pen.color();
        painter.setPen(QPen(QBrush(m_fillColor, Qt::SolidPattern), 0.1, m_specialPen.style, m_specialPen.cap,
                            m_specialPen.join));
        painter.setBrush(QBrush(m_fillColor, Qt::SolidPattern));
    } else {
        painter.setPen(s.pen);
    }
    painter.drawPath(path);
    painter.end();
    // Only the old and the new preview change on screen.
    NoteLiveInk(slot, restored | m_previewPatch[slot].rect);
}

void Dialog::PaintImageTransformed(const QString& imagePath, const EventDetail& detail, bool toSecondImage)
{
    PaintImageInto(toSecondImage ? m_targetImage : m_viewImage, imagePath, detail);
    update();
}

void Dialog::PaintImageInto(QImage& target, const QString& imagePath, const EventDetail& detail)
{
    if (!PaintImageObject(target, imagePath, detail, m_zoom))
        qDebug().noquote() << QStringLiteral("exe : image object cannot be read: %1").arg(imagePath);
}

void Dialog::PaintScaledImage(const QString& imagePath, QRectF target)
{
    const PictureRead read = ReadPicture(imagePath);
    const QImage& image = read.image;
    if (image.isNull()) {
        qDebug().noquote() << QStringLiteral("exe : image cannot be read: %1").arg(read.error);
        return;
    }
    const QImage scaled = image.scaled(int(m_zoom * image.width()), int(m_zoom * image.height()),
                                       Qt::KeepAspectRatio, Qt::FastTransformation);
    const QRectF rect(target.x() * m_zoom, target.y() * m_zoom, target.width() * m_zoom, target.height() * m_zoom);
    QPainter painter(&m_viewImage);
    painter.drawImage(rect, scaled);
    painter.end();
    update();
}

void Dialog::DrawGuideLines(int x1, int y1, int x2, int y2, int index, int extra)
{
    Q_UNUSED(extra);
    if (index != -1) {
        update();
        return;
    }
    // Drawn on every smart-pen move: only the new piece is shown again.
    const QPen pen(QBrush(Qt::darkGray), 6.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QPainter painter(&m_viewImage);
    painter.setPen(pen);
    painter.drawLine(x1, y1, x2, y2);
    painter.end();
    const int margin = RepaintMargin(pen);
    update(QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized().adjusted(-margin, -margin, margin, margin));
}

void Dialog::ShowStatusCoords(int x, int y)
{
    if (!m_debugMode || !m_statusLabel)
        return;
    m_statusLabel->setText(QStringLiteral("%1 - %2").arg(x).arg(y));
}
