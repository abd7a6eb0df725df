#pragma once

// The collaboration vocabulary: every keyword with its dispatch code, the
// keyword lists the relay routes by, the builders of the data and tail texts
// and the splitter that reads them back. The whiteboard's senders and
// receiver, the relay and RelayProbe all use this one module, so the text
// forms cannot drift between a sender and its peers.

#include "collab/coll_frame.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>
#include <QVector>

namespace coll {

// The terminator of every ordinary message.
extern const char* const kBlockEnd;  // "Block_EN\n"

// The dispatch code of a keyword: exact and case-sensitive, first match in
// dispatch order. 0 for a keyword no handler knows ("SENDMSG" included).
// "DOC_ST" and "DOC_EN" share code 2; no keyword has code 13.
int KeywordCode(const QByteArray& keyword);
// Every keyword in dispatch order with its code, for the tests and the probe.
struct KeywordEntry {
    const char* keyword;
    int code;
};
const QVector<KeywordEntry>& KeywordTable();

// Keywords only the relay itself sends; a peer's frame with one of them is a
// forgery and is never relayed.
bool IsRelayKeyword(const QByteArray& keyword);
// Keywords whose frames change every board or hand out rights: relayed only
// when the host sent them.
bool IsHostOnlyKeyword(const QByteArray& keyword);
// Keywords whose data begins with the addressing pair (mode, user ID).
// "DOC_ST" and "DOC_EN" carry the pair at the head of their tail instead.
bool IsAddressedKeyword(const QByteArray& keyword);
bool IsFileKeyword(const QByteArray& keyword);

// ---- text forms -----------------------------------------------------------

QString IntText(qint64 value);
QString DoubleText(double value);  // 'g', six significant digits
QString BoolText(bool value);
// A text field: each "," inside becomes "_", so the peers still find every
// later field where its layout puts it.
QString TextField(const QString& text);
// Four int fields red, green, blue, alpha.
QStringList ColourFields(const QColor& colour);

// Joins fields with "," (empty fields keep their place).
QByteArray JoinFields(const QStringList& fields);

// ---- the splitter ----------------------------------------------------------

// Received data or tail split at every ",", empty fields kept. Field readers
// never index past the end: a missing field reads as empty text or 0, a
// number that does not parse as 0.
class Fields
{
public:
    Fields() = default;
    explicit Fields(const QByteArray& utf8);
    explicit Fields(const QString& text);
    int count() const { return m_parts.size(); }
    QString text(int index) const;
    int toInt(int index) const;
    double toDouble(int index) const;
    const QStringList& parts() const { return m_parts; }

private:
    QStringList m_parts;
};

// ---- the one-line text form of a frame --------------------------------------

// "KEYWORD|data|tail", each part with "\" as "\\", "|" as "\|", a line feed as
// "\n", a carriage return as "\r" and any other byte outside printable ASCII
// as "\xHH". So a frame survives a line-oriented pipe byte for byte.
QString FrameText(const CollFrame& frame);
// The reverse. A line with no tail part takes "Block_EN\n" as its tail, one
// with no "|" at all is a keyword with empty data. False on a bad escape.
bool ParseFrameText(const QString& line, CollFrame* frame);

}  // namespace coll
