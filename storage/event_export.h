#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <QVector>

#include "board/board_records.h"

class QIODevice;

// The event export file "New_Event.xml": a time-ordered drawing script of a
// recording that a player replays against the recording's media clock. The
// whiteboard's contents save and the console tool Regrouper both build their
// records with the builders here and write them with the one writer below.

// One drawing step of the export file ("TO" element).
struct ToGroupRecord {
    int slot = 0;         // PI: pointer slot that owns the object
    double key = 0.0;     // MP: media time in ms; the ordering key
    int eventId = 0;      // EI
    int code = 0;         // KD: record code
    float bx = 0, by = 0, bw = 0, bh = 0;  // first geometry group
    float nx = 0, ny = 0, nw = 0, nh = 0;  // second geometry group
    float angle = 0;      // AG
    QColor colour;        // PC (alpha is not written)
    float penWidth = 0;   // PW
    int transparency = 0; // TP
    int noteIndex = 0;    // NI
};

// How MP and the float attributes are written. The whiteboard writes six
// significant digits; Regrouper writes the shortest text that reads back to
// the same double, so a rebuilt file loses nothing.
enum class ExportNumberFormat {
    SixDigits,
    ShortestRoundTrip,
};

QString FormatExportNumber(double value, ExportNumberFormat format);

// What every record of one stroke carries.
struct ExportStrokeStyle {
    int slot = 0;
    int eventId = 0;
    QColor colour;
    float penWidth = 0;
    int kind = 0;  // 3 free pen, 4 brush
    int transparency = 255;
    int noteIndex = 0;
};

// Stroke builders. Each walks the samples of the style's EventID in table
// order (samples of other objects are passed over, so a caller may hand in
// the slot's whole sample list or only the object's): samples before the
// first press are passed over, a release ends the walk, so a second
// press/release pair is never written.

// A stroke drawn while no recording ran: samples with time <= 0, key 1.0; the
// press and release records carry the bounds and the angle.
void AddFigureToRecords(QVector<ToGroupRecord>& out, const ExportStrokeStyle& style,
                        const QVector<FreePenPoint>& points, const QRectF& bounds, float angle);

// A stroke drawn while recording: samples with time > 0, each at its own time.
void AddPairToRecords(QVector<ToGroupRecord>& out, const ExportStrokeStyle& style,
                      const QVector<FreePenPoint>& points);

// The stroke re-emitted at `time` after an erase or an edit: samples not later
// than `time`, mapped from `before` onto `after` (an all-zero `after` keeps
// the points and the bounds as they were).
void AddOutlineToRecords(QVector<ToGroupRecord>& out, const ExportStrokeStyle& style,
                         const QVector<FreePenPoint>& points, double time,
                         const QRectF& before, const QRectF& after, float angle);

// Orders by ascending key; records with equal keys keep their order.
void SortToGroupRecords(QVector<ToGroupRecord>& records);

// One group element of the file: the whiteboard writes a single "TO_GROUP"
// without attributes, Regrouper one "TO_<slot>" with an "Index" per slot.
// A group without records is not written.
struct ToGroupSection {
    QString name;
    int index = -1;  // written as "Index" when not negative
    const QVector<ToGroupRecord>* records = nullptr;
};

struct NewEventHeader {
    int noteCount = 0;
    int width = 0;
    int height = 0;
};

// Writes the whole document to an open device. With `maxBytes` above 0 the
// writing stops, answering false, once the device holds more than that.
bool WriteNewEventXml(QIODevice* device, const NewEventHeader& header,
                      const QVector<ToGroupSection>& groups, ExportNumberFormat format, qint64 maxBytes = 0);

// Writes folder + "/New_Event.xml". The file is replaced only once the whole
// document is written; on failure the old file stays, false is returned and
// `errorText` says why.
// With `maxBytes` above 0 a document larger than that is not written at all.
bool SaveNewEventXml(const QString& folder, const NewEventHeader& header,
                     const QVector<ToGroupSection>& groups, ExportNumberFormat format,
                     QString* errorText = nullptr, qint64 maxBytes = 0, bool* tooLarge = nullptr);
