#pragma once

// The receiving side of a file transfer between peers: "DOC_ST" chunks
// written to a new file beside their target, "DOC_EN" putting it in place.
// Every name a peer gives must be a bare file name, and nothing is ever
// written outside the document folder (kinds 0, 3, 4) or the update folder
// (kinds 1 and 2, only while debug mode is on). Without a window.

#include <QByteArray>
#include <QString>

#include <memory>

class QTemporaryFile;

namespace coll {

// The largest file a peer may send; past it the file is given up.
constexpr qint64 kReceivedFileLimit = qint64(512) * 1024 * 1024;

// Where received files go. Both folders end with "/".
struct ReceiveFolders {
    QString documentFolder;
    QString updateFolder;
    bool debugMode = false;  // kinds 1 and 2 are taken only then
};

// The file a transfer of `kind` ends in: 0 the document `name` (the pending
// page record's), 1 and 2 the collaboration library and the program as data
// files, 3 and 4 the image "<name>.png". Empty, with the reason in `why`,
// for an unknown kind, a name that is not a bare file name, or kinds 1 and
// 2 outside debug mode.
QString ReceivedFileTarget(int kind, const QString& name, const ReceiveFolders& folders, QString* why);

// What "DOC_EN" finished.
struct ReceivedFile {
    bool complete = false;  // the file is in place
    int kind = -1;
    QString name;
    QString path;
    qint64 size = 0;
};

class FileReceiver
{
public:
    explicit FileReceiver(qint64 limit = kReceivedFileLimit);
    ~FileReceiver();
    FileReceiver(const FileReceiver&) = delete;
    FileReceiver& operator=(const FileReceiver&) = delete;

    // One "DOC_ST" chunk of the transfer of `kind` and `name`. The first
    // chunk of a transfer opens it; a refused transfer drops its chunks
    // until its "DOC_EN" (one debug line, not one per chunk). A chunk of
    // another transfer gives up the unfinished one.
    void Chunk(int kind, const QString& name, const QByteArray& bytes, const ReceiveFolders& folders);
    // "DOC_EN": the written file is put in place under its target's name.
    ReceivedFile Finish();
    // The session ended: an unfinished file is deleted.
    void Abort();
    // The transfer may have lost its sender, and its frames name none: what
    // was written is deleted, and the rest of that transfer is refused up to
    // its "DOC_EN", so that neither the remainder nor another sender's file
    // of the same name is ever put in place as part of it. A chunk of
    // another transfer starts afresh.
    void Interrupt();

    bool receiving() const { return m_state == State::Writing; }
    // A transfer has started and not ended, written or refused.
    bool active() const { return m_state != State::Idle; }
    qint64 total() const { return m_total; }

private:
    enum class State { Idle, Writing, Dropping };
    void Start(int kind, const QString& name, const ReceiveFolders& folders);
    void Drop(const QString& why);

    qint64 m_limit;
    State m_state = State::Idle;
    int m_kind = -1;
    QString m_name;
    QString m_target;
    qint64 m_total = 0;
    std::unique_ptr<QTemporaryFile> m_file;
};

}  // namespace coll
