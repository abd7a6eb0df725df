#include "storage/event_export.h"

#include <QDir>
#include <QLocale>
#include <QSaveFile>
#include <QXmlStreamWriter>

#include <algorithm>

QString FormatExportNumber(double value, ExportNumberFormat format)
{
    if (format == ExportNumberFormat::ShortestRoundTrip)
        return QString::number(value, 'g', QLocale::FloatingPointShortest);
    return QString::number(value, 'g', 6);
}

namespace {

enum class StrokeTimeTest { Untimed, Timed, NotLaterThan };

struct StrokeWalk {
    StrokeTimeTest test = StrokeTimeTest::Untimed;
    double time = 0.0;          // the limit of NotLaterThan
    bool ownTimeAsKey = false;  // else `key`
    double key = 1.0;
    bool withBounds = false;    // press and release carry `bounds`
    QRectF bounds;
    float angle = 0;            // carried by every record when withBounds
    bool mapped = false;        // points mapped from `before` onto `bounds`
    QRectF before;
};

bool PassesTimeTest(const StrokeWalk& walk, double mediaPos)
{
    switch (walk.test) {
    case StrokeTimeTest::Untimed: return mediaPos <= 0.0;
    case StrokeTimeTest::Timed: return mediaPos > 0.0;
    case StrokeTimeTest::NotLaterThan: return mediaPos <= walk.time;
    }
    return false;
}

double MapCoordinate(double value, double oldStart, double oldSize, double newStart, double newSize)
{
    if (oldSize == 0.0)
        return value;
    return (value - oldStart) * newSize / oldSize + newStart;
}

void WalkStroke(QVector<ToGroupRecord>& out, const ExportStrokeStyle& style,
                const QVector<FreePenPoint>& points, const StrokeWalk& walk)
{
    bool started = false;
    for (const FreePenPoint& point : points) {
        if (point.EventID != style.eventId || !PassesTimeTest(walk, point.MediaPos))
            continue;
        if (!started) {
            if (point.MouseAction != 1)
                continue;
            started = true;
        }
        ToGroupRecord record;
        switch (point.MouseAction) {
        case 1:
            record.code = 1;
            record.bw = static_cast<float>(style.kind);
            record.penWidth = style.penWidth;
            break;
        case 2:
            if (style.kind == 4) {
                record.code = 2;
            } else {
                record.code = 3;
                record.penWidth = point.Press;
            }
            break;
        case 3:
            record.code = 4;
            break;
        default:
            continue;
        }
        record.slot = style.slot;
        record.key = walk.ownTimeAsKey ? point.MediaPos : walk.key;
        record.eventId = style.eventId;
        double x = point.S.x();
        double y = point.S.y();
        if (walk.mapped) {
            x = MapCoordinate(x, walk.before.x(), walk.before.width(), walk.bounds.x(), walk.bounds.width());
            y = MapCoordinate(y, walk.before.y(), walk.before.height(), walk.bounds.y(), walk.bounds.height());
        }
        record.bx = static_cast<float>(x);
        record.by = static_cast<float>(y);
        if (walk.withBounds) {
            if (record.code == 1 || record.code == 4) {
                record.nx = static_cast<float>(walk.bounds.x());
                record.ny = static_cast<float>(walk.bounds.y());
                record.nw = static_cast<float>(walk.bounds.width());
                record.nh = static_cast<float>(walk.bounds.height());
            }
            record.angle = walk.angle;
        }
        record.colour = style.colour;
        record.transparency = style.transparency;
        record.noteIndex = style.noteIndex;
        out.append(record);
        if (record.code == 4)
            return;
    }
}

}  // namespace

void AddFigureToRecords(QVector<ToGroupRecord>& out, const ExportStrokeStyle& style,
                        const QVector<FreePenPoint>& points, const QRectF& bounds, float angle)
{
    StrokeWalk walk;
    walk.test = StrokeTimeTest::Untimed;
    walk.key = 1.0;
    walk.withBounds = true;
    walk.bounds = bounds;
    walk.angle = angle;
    WalkStroke(out, style, points, walk);
}

void AddPairToRecords(QVector<ToGroupRecord>& out, const ExportStrokeStyle& style,
                      const QVector<FreePenPoint>& points)
{
    StrokeWalk walk;
    walk.test = StrokeTimeTest::Timed;
    walk.ownTimeAsKey = true;
    WalkStroke(out, style, points, walk);
}

void AddOutlineToRecords(QVector<ToGroupRecord>& out, const ExportStrokeStyle& style,
                         const QVector<FreePenPoint>& points, double time,
                         const QRectF& before, const QRectF& after, float angle)
{
    StrokeWalk walk;
    walk.test = StrokeTimeTest::NotLaterThan;
    walk.time = time;
    walk.key = time;
    walk.withBounds = true;
    walk.angle = angle;
    const bool keepPoints = after.x() == 0.0 && after.y() == 0.0 && after.width() == 0.0 && after.height() == 0.0;
    walk.bounds = keepPoints ? before : after;
    walk.mapped = !keepPoints;
    walk.before = before;
    WalkStroke(out, style, points, walk);
}

void SortToGroupRecords(QVector<ToGroupRecord>& records)
{
    std::stable_sort(records.begin(), records.end(),
                     [](const ToGroupRecord& a, const ToGroupRecord& b) { return a.key < b.key; });
}

bool WriteNewEventXml(QIODevice* device, const NewEventHeader& header,
                      const QVector<ToGroupSection>& groups, ExportNumberFormat format, qint64 maxBytes)
{
    QXmlStreamWriter writer(device);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(4);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("Event"));
    writer.writeAttribute(QStringLiteral("NoteCount"), QString::number(header.noteCount));
    writer.writeAttribute(QStringLiteral("Width"), QString::number(header.width));
    writer.writeAttribute(QStringLiteral("Height"), QString::number(header.height));

    const auto number = [format](double value) { return FormatExportNumber(value, format); };
    for (const ToGroupSection& group : groups) {
        if (!group.records || group.records->isEmpty())
            continue;
        writer.writeStartElement(group.name);
        if (group.index >= 0)
            writer.writeAttribute(QStringLiteral("Index"), QString::number(group.index));
        for (const ToGroupRecord& r : *group.records) {
            if (maxBytes > 0 && device->pos() > maxBytes)
                return false;
            writer.writeEmptyElement(QStringLiteral("TO"));
            writer.writeAttribute(QStringLiteral("PI"), QString::number(r.slot));
            writer.writeAttribute(QStringLiteral("MP"), number(r.key));
            writer.writeAttribute(QStringLiteral("EI"), QString::number(r.eventId));
            writer.writeAttribute(QStringLiteral("KD"), QString::number(r.code));
            writer.writeAttribute(QStringLiteral("BX"), number(r.bx));
            writer.writeAttribute(QStringLiteral("BY"), number(r.by));
            writer.writeAttribute(QStringLiteral("BW"), number(r.bw));
            writer.writeAttribute(QStringLiteral("BH"), number(r.bh));
            writer.writeAttribute(QStringLiteral("NX"), number(r.nx));
            writer.writeAttribute(QStringLiteral("NY"), number(r.ny));
            writer.writeAttribute(QStringLiteral("NW"), number(r.nw));
            writer.writeAttribute(QStringLiteral("NH"), number(r.nh));
            writer.writeAttribute(QStringLiteral("AG"), number(r.angle));
            writer.writeAttribute(QStringLiteral("PC"), r.colour.name());
            writer.writeAttribute(QStringLiteral("PW"), number(r.penWidth));
            writer.writeAttribute(QStringLiteral("TP"), QString::number(r.transparency));
            writer.writeAttribute(QStringLiteral("NI"), QString::number(r.noteIndex));
        }
        writer.writeEndElement();
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    return !(maxBytes > 0 && device->pos() > maxBytes);
}

bool SaveNewEventXml(const QString& folder, const NewEventHeader& header,
                     const QVector<ToGroupSection>& groups, ExportNumberFormat format,
                     QString* errorText, qint64 maxBytes, bool* tooLarge)
{
    const QString path = folder + QStringLiteral("/New_Event.xml");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (errorText)
            *errorText = QStringLiteral("cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    if (!WriteNewEventXml(&file, header, groups, format, maxBytes)) {
        file.cancelWriting();
        if (tooLarge)
            *tooLarge = true;
        if (errorText)
            *errorText = QStringLiteral("\"%1\" would be larger than %2 bytes; it was not written.")
                             .arg(QDir::toNativeSeparators(path), QString::number(maxBytes));
        return false;
    }
    if (!file.commit()) {
        if (errorText)
            *errorText = QStringLiteral("cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}
