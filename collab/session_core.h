#pragma once

// A collaboration session's own state and the host's rules for the write and
// tool rights, without sockets or widgets. The main window keeps one Session,
// carries out the steps the rights rules return, and sends the frames.

#include <QString>
#include <QStringList>
#include <QVector>

namespace coll {

// The session's port and the hosts' discovery port.
constexpr int kSessionPort = 4040;
constexpr int kDiscoveryPort = 4041;
// Typed IDs longer than this are cut: a participant ID travels in most
// messages and in every row of the user list.
constexpr int kTypedIdMaxLength = 64;

// The typed ID as it may appear inside a participant ID: "," and "/" would
// split the handshake's and the discovery answer's fields, so both become "_".
// Control characters are dropped and the text is cut to kTypedIdMaxLength. A
// "_" may stay: peers read the address after the last "_".
QString SafeTypedId(const QString& typed);

// "[<typed ID>]_<address>", the identity of a participant in every message.
QString ParticipantId(const QString& typedId, const QString& address);

// The address part of a participant ID: the text after its last "_"; empty
// when there is none.
QString ParticipantAddress(const QString& participantId);

// True when the lower-case form of a sorts before that of b.
bool CaseInsensitiveLessThan(const QString& a, const QString& b);

// The session fields beyond the level, the connected flag, the own ID and the
// tool-right holder, which the main window keeps where the toolbar reads them.
struct Session {
    bool serverRunning = false;
    QString hostId;
    QString typedId;
    QString ownAddress;
    QString writeHolder;           // empty when nobody holds the write right
    QString suspendedWriteHolder;  // the writer parked by a host smart-pen stroke
    QString handshakeId;
    QString handshakePassword;
    QString handshakeLevel;
    int timeoutCount = 0;          // socket time-outs, counted for the log only

    // Forgets everything of the last session but the time-out count and the
    // own address (a participant without a usable address keeps the last one).
    void Leave();
};

// One thing the host does when a write right is given, moved or taken.
struct RightsStep {
    enum Kind {
        SendLevel,          // "LEVEL_CH" (id, level, flag)
        UnmarkWrite,        // the user list loses id's Write mark
        MarkWrite,          // the user list marks id in the Write column
        ToolBackToHost,     // the tool right goes back to the host (sent and marked)
        ClearWriterHighlight,  // slot 10's highlighter flag is cleared
    };
    Kind kind;
    QString id;
    int level = 0;
    int flag = 0;

    bool operator==(const RightsStep& other) const
    {
        return kind == other.kind && id == other.id && level == other.level && flag == other.flag;
    }
};

// The host's choice of a participant in the Write column (suspend false), or
// a host smart-pen stroke's press and release (an empty ID, suspend true).
// Updates the holders in `session` and returns the steps in the order they
// must happen. `toolHolder` is the participant now holding the tool right.
QVector<RightsStep> SetUserLevel(Session& session, QString id, bool suspend, const QString& toolHolder);

}  // namespace coll
