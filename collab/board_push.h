#pragma once

// The board push: the host's walk over its board model that turns every
// record into one message, and the participant's side that rebuilds the
// tables from those messages. Both work on a BoardModel alone, so the push
// can be checked and measured without a window or a socket.

#include "board/board_model.h"
#include "collab/coll_messages.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QVector>

#include <functional>

namespace coll {

// The tables a push names: 0 masters, 1 details, 2 free-pen points, 3 all.
enum PushTable { kPushMasters = 0, kPushDetails = 1, kPushPoints = 2, kPushAll = 3 };
// "EM", "ED", "FP", "ALL"; empty for any other number.
QString PushTableName(int table);

// What a "REDRAW_SET" asks for, by number 0..4; empty for any other number.
QString RedrawName(int what);

// Receives each message of a push: its keyword and its data text.
using PushSink = std::function<void(const char* keyword, const QByteArray& data)>;

// The push of `table` in sending order: "DATA_CLEAR", then one "EMDATA_SET"
// per master record and one "EDDATA_SET" per detail record of every slot and
// every page, then one "FPDATA_SET" per stored sample of the free-pen and
// brush objects of `currentPage` that have a detail record. A table number
// outside 0..3 hands over nothing.
void ForEachPushMessage(const BoardModel& board, const QString& currentPage, const Address& to, int table,
                        const PushSink& sink);

// The tools and next EventIDs of slots 0..10, as "DATAINFO_SET" carries them.
QByteArray BoardDataInfo(const BoardModel& board, const Address& to, int level);

// Factors from the host's board to ours; 1.0 while the host's size is unknown.
struct BoardScale {
    double x = 1.0;
    double y = 1.0;
};
BoardScale ScaleFromHost(QSize local, QSize host);

// What the tables may take from pushes, each counted from the "DATA_CLEAR"
// that last emptied it: objects (one master and one detail record each) and
// free-pen samples. A lesson of many full pages stays well below both.
constexpr int kPushObjectLimit = 50000;
constexpr int kPushPointLimit = 1000000;

// Rebuilds the tables of a BoardModel from a host's push. A record naming a
// slot outside 0..10 is refused before anything is touched; missing fields
// read as 0 or empty. Past the limits above nothing more is taken until the
// next push, and overLimit() says so.
class BoardPushReceiver
{
public:
    // Empties the tables that "DATA_CLEAR" names; false for an unknown name.
    bool Clear(const QString& table, BoardModel& board);
    bool AddMaster(const Fields& fields, BoardModel& board);
    bool AddDetail(const Fields& fields, BoardScale scale, BoardModel& board);
    // A sample joins the object being received; the object is stored once
    // its release sample comes, or as soon as a sample of another object
    // arrives, so a list without a release never merges into the next one.
    bool AddPoint(const Fields& fields, BoardScale scale, BoardModel& board);
    // Tools and next EventIDs: selector 3 takes all slots, 2 slot 10 only.
    bool ApplyDataInfo(const Fields& fields, BoardModel& board) const;
    // Stores what is still staged (the end of a push).
    void Flush(BoardModel& board);
    int staged() const { return m_staged.size(); }
    bool overLimit() const { return m_overLimit; }

private:
    bool Take(int& count, int limit);
    int m_masters = 0;
    int m_details = 0;
    int m_points = 0;
    bool m_overLimit = false;
    QVector<FreePenPoint> m_staged;
    int m_stagedSlot = -1;
    quint16 m_stagedId = 0;
};

}  // namespace coll
