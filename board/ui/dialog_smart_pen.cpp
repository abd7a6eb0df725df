// The smart pen's release: the collected stroke is named by the recogniser,
// measured as a polygon and a box, and the figure it stands for is drawn by
// replaying one drag of that figure tool through the pointer primitives, so
// that it becomes an ordinary object with its own undo step.
#include <QDebug>

#include "app/ui/dialog.h"
#include "board/smart_figure.h"

void Dialog::RecognizeSmartPen(int slot)
{
    if (!IsValidPointerSlot(slot))
        return;
    const SmartPenBuffer& buffer = m_board.smartPen;
    const int count = buffer.count();

    ShapeStroke stroke;
    std::vector<cv::Point> points;
    stroke.reserve(size_t(count));
    points.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const QPoint p = buffer.at(i);
        stroke.push_back(ShapePoint{double(p.x()), double(p.y())});
        points.emplace_back(p.x(), p.y());
    }
    const ShapeMatch match = m_shapeRecognizer.Recognize(stroke);
    qDebug().noquote() << "polygon :" << QString::fromStdString(match.name) << "score :" << match.score;

    qDebug().noquote() << "sequence total :" << count;
    const SmartStrokeShape shape = MeasureSmartStroke(points);
    qDebug().noquote() << "approx polygon corner :" << int(shape.corners.size());
    const cv::Rect& box = shape.box;
    qDebug().noquote() << QStringLiteral("outbox = %1, %2, %3, %4")
                              .arg(box.x)
                              .arg(box.y)
                              .arg(box.x + box.width)
                              .arg(box.y + box.height);

    SmartFigure figure;
    if (count > 0) {
        const QPoint first = buffer.at(0);
        const QPoint release = buffer.releasePoint();
        figure = ChooseSmartFigure(match.name, shape.corners, cv::Point(first.x(), first.y()),
                                   cv::Point(release.x(), release.y()), box);
    }
    if (figure.kind == 0) {
        if (figure.redraw)
            RedrawPageObjects(true);  // the trace goes
        return;
    }

    PointerSlotState& s = m_board.slot[slot];
    const int savedKind = s.event_kind;
    const QString savedName = s.m_curr_drawbtn;
    s.event_kind = figure.kind;
    s.m_curr_drawbtn = EventKindName(figure.kind);
    // Peers read the live press and release that follow as this figure.
    if (m_collUserLevel == 3)
        Coll_Send_DataInfo(0, QString(), 3);

    // Slot 0's tool is still the smart pen for the other slots: without the
    // flag their replayed press would start a capture and recognise itself
    // again without end.
    const bool outerReplay = m_smartReplay;
    m_smartReplay = true;
    PointerPress(slot, figure.start.x, figure.start.y, true, false);
    PointerRelease(slot, figure.end.x, figure.end.y, true, false);
    m_smartReplay = outerReplay;

    s.event_kind = savedKind;
    s.m_curr_drawbtn = savedName;
    if (m_collUserLevel == 3)
        Coll_Send_DataInfo(0, QString(), 3);
}
