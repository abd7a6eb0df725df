#pragma once

// The collaboration vocabulary: every keyword with its dispatch code, the
// keyword lists the relay routes by, the builders of the data and tail texts
// and the splitter that reads them back. The whiteboard's senders and
// receiver, the relay and RelayProbe all use this one module, so the text
// forms cannot drift between a sender and its peers.

#include "board/board_records.h"
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
// Keywords that draw or change the boards: relayed only from the host and
// from the participant holding the write right.
bool IsWriterKeyword(const QByteArray& keyword);
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

// ---- the builders: the data text of each message -------------------------

// The addressing pair that leads most messages: mode 0 with an empty user ID
// for everyone, mode 1 with a participant ID for that participant alone.
struct Address {
    int mode = 0;
    QString userId;
};
inline Address ToEveryone() { return Address{0, QString()}; }
inline Address ToParticipant(const QString& id) { return Address{1, id}; }

// Session (the relay's own messages and the handshake).
QByteArray UsersData(const QStringList& ids);
QByteArray ParticipantData(const QString& id);  // "EXIT", "Connected_ID", "TOOL_CH"
// The password is the one field that may hold ",": the relay reads every
// field between the first and the last as the password.
QByteArray HandshakeData(const QString& id, const QString& password, int level);
QByteArray LevelChangeData(const QString& id, int level, int flag);

// Live strokes and pens (no addressing pair).
QByteArray RealtimeEventData(int tool, int slot, int phase, int x, int y);
QByteArray EraseAllEventData(int tool);
QByteArray PenColorData(const QColor& colour, int level);
QByteArray PenWidthData(int width, int level);
QByteArray PenHighlightData(bool highlight, int level);
QByteArray PenTypeData(const QString& toolName, int level);
QByteArray PenInfoData(const QColor& colour, int width, const QString& toolName, bool highlight, int level);

// Board push records.
QByteArray EventMasterData(const Address& to, int slot, int index, const EventMaster& master);
QByteArray EventDetailData(const Address& to, int slot, int index, const EventDetail& detail);
QByteArray FreePenPointData(const Address& to, int slot, int index, quint16 eventId, const FreePenPoint& point);
QByteArray DataClearData(const Address& to, const QString& table);
// `sent`: the page's document file has been sent or none follows.
QByteArray NoteData(const Address& to, const NoteInfo& note, bool sent);
QByteArray RedrawData(const Address& to, const QString& what);
// Tools and next EventIDs of slots 0..10 (missing entries are sent as 0).
QByteArray DataInfoData(const Address& to, const QVector<int>& tools, const QVector<int>& nextEventIds, int level);

// Pages, view and undo.
QByteArray NoteButtonData(const Address& to, const QString& noteButtonName);
QByteArray ResolutionData(const Address& to, int level, int width, int height);
// Both scroll bars: the mode 0 form names "NULL" as its user ID.
QByteArray ScrollBarData(const Address& to, int position, int maximum);
// Clearing sends "NULL" as the path and 1 as the flag.
QByteArray ImagePathData(const Address& to, const QString& path, bool clear, int counter);
QByteArray NoteIndexData(const Address& to, int index, int count);
QByteArray InitProjectData(const Address& to, int flag);
QByteArray ChangeNoteData(const Address& to, int direction);
QByteArray UndoRedoData(const Address& to, int action);
QByteArray MouseReleaseData(const Address& to, int action);
QByteArray UndoPositionData(const Address& to, int position, int count);

// Object edits ("MODIFY_SET"): kind, object key, EventID, the kind's values,
// the place in the undo step and the step's size; move and resize end with
// the level.
QByteArray ModifyMoveData(int slot, quint16 eventId, int dx, int dy, const QPoint corners[4], int place, int size,
                          int level);
QByteArray ModifyResizeData(int slot, quint16 eventId, const QRect& rect, int place, int size, int level);
QByteArray ModifyDeleteData(int slot, quint16 eventId, bool deleted, int place, int size);
QByteArray ModifyRotateData(int slot, quint16 eventId, float angle, int place, int size);

// File transfer: the tail of "DOC_ST"/"DOC_EN" for kinds 0..4 (kinds 3 and 4
// carry the image name) and the data of "DOC_EN".
QByteArray FileTail(const Address& to, int kind, const QString& name = QString());
QByteArray FileEndData();

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
