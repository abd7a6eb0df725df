#pragma once

// The one place that puts the files of a save (a project or a contents
// package) into its staging folder, and the one place that puts a finished
// archive in place of the user's file.
//
// Every write, copy, flush and close is checked. The first failure stops the
// writer: later calls do nothing and return false, and Error() says why in
// words for the user ("the disk is full", or the folder and the system's
// reason). The caller then removes the staging folder, so nothing half made
// stays behind and nothing half made is ever packed.

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace storage {

// The reason of a failed write of `path` for the user: "the disk is full" when
// the file system (or the user's quota) has no room, else the folder and the
// system's text.
QString WriteFailureText(const QString& path, int errorNumber);

class StagingWriter
{
public:
    explicit StagingWriter(const QString& folder);

    // Writes `bytes` as the new file `name` of the folder. A name that is
    // there already (or a link there) is refused: the writer never writes
    // through what it did not make.
    bool StageBytes(const QString& name, const QByteArray& bytes);
    // Builds the file in memory with `write`, then stages it.
    bool StageWith(const QString& name, const std::function<void(QIODevice*)>& write);
    // Copies the regular file `source` (not a link, never a FIFO) as `name`.
    bool StageCopy(const QString& source, const QString& name);

    bool ok() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }
    const QString& folder() const { return m_folder; }

private:
    bool Fail(const QString& path, int errorNumber);
    bool FailWith(const QString& text);

    QString m_folder;
    QString m_error;
};

// Writes the finished archive `archive` (a file in the work folder) over the
// user's file `target`, as editors do: through a link to the file it names,
// with the mode and owner the old file had, flushed to disk (file and folder)
// before it takes the old file's place. The old file changes only when the
// new one is complete on disk. A file with more than one hard link is
// written in place so that every name keeps seeing the lesson: the complete
// new file beside it comes first, then the note `copyNote` (a file in the
// work folder) saying that it is being copied in, both flushed; a copy cut
// short is finished from them at the next start (FinishInPlaceCopy). False,
// with `error` for the user, leaves the target as it was (unless the error
// says where the complete lesson waits).
bool PlaceArchive(const QString& archive, const QString& target, const QString& copyNote, QString* error);

// At the start, before the lesson is opened: finishes the in-place copy that
// PlaceArchive's note `copyNote` describes, when its pending file is there
// whole. True when the note is done with (the copy finished, or there was
// nothing to finish); false, with `*keptPending` set to the pending file
// that still holds the lesson, when the copy failed again.
bool FinishInPlaceCopy(const QString& copyNote, QString* keptPending);

// The path a save writes to: `target`, or the file a link there names.
QString ResolvedSaveTarget(const QString& target);

// The hidden file beside `resolvedTarget` that PlaceArchive fills and flushes
// before renaming it over the target: "<folder>/.<name>.saving".
QString PendingSavePath(const QString& resolvedTarget);

// True when `path` is what a killed save of ours left: named as
// PendingSavePath names, a regular file (not a link) with one name, owned by
// this user.
bool IsAbandonedPendingSave(const QString& path);

// Removes what killed saves left in `folder` (IsAbandonedPendingSave). Saves
// run one at a time, so none of these is being written when a save starts.
void RemoveAbandonedPendingSaves(const QString& folder);

}  // namespace storage
