#include "collab/file_reception.h"

#include "storage/project_file.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

namespace coll {

namespace {

// The folder a received file goes to, made for this user alone when it is
// missing. A folder that is a link is not written into.
bool PrepareFolder(const QString& folder, QString* why)
{
    const QString path = QDir::cleanPath(folder);
    const QFileInfo info(path);
    if (info.isSymLink()) {
        *why = QStringLiteral("folder %1 is a link").arg(path);
        return false;
    }
    if (!info.exists()) {
        if (!QDir().mkpath(path)) {
            *why = QStringLiteral("folder %1 cannot be made").arg(path);
            return false;
        }
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    } else if (!info.isDir()) {
        *why = QStringLiteral("%1 is no folder").arg(path);
        return false;
    }
    return true;
}

}  // namespace

QString ReceivedFileTarget(int kind, const QString& name, const ReceiveFolders& folders, QString* why)
{
    QString ignored;
    QString& reason = why ? *why : ignored;
    switch (kind) {
    case 0:
        if (!storage::IsBareFileName(name)) {
            reason = QStringLiteral("document name \"%1\" is not a file name").arg(name.left(64));
            return QString();
        }
        return folders.documentFolder + name;
    case 1:
    case 2:
        if (!folders.debugMode) {
            reason = QStringLiteral("program files are taken in debug mode only");
            return QString();
        }
        return folders.updateFolder + (kind == 1 ? QStringLiteral("Konnexa.dll") : QStringLiteral("Orbel5.exe"));
    case 3:
    case 4:
        if (!storage::IsBareFileName(name)) {
            reason = QStringLiteral("image name \"%1\" is not a file name").arg(name.left(64));
            return QString();
        }
        return folders.documentFolder + name + QStringLiteral(".png");
    default:
        reason = QStringLiteral("unknown file kind %1").arg(kind);
        return QString();
    }
}

FileReceiver::FileReceiver(qint64 limit) : m_limit(limit) {}

FileReceiver::~FileReceiver() { Abort(); }

void FileReceiver::Chunk(int kind, const QString& name, const QByteArray& bytes, const ReceiveFolders& folders)
{
    if (m_state != State::Idle && (kind != m_kind || name != m_name)) {
        qDebug().noquote() << QStringLiteral("EXE Rx : unfinished file %1 given up").arg(m_name.left(64));
        Abort();
    }
    if (m_state == State::Idle)
        Start(kind, name, folders);
    if (m_state != State::Writing)
        return;
    if (m_total + bytes.size() > m_limit) {
        Drop(QStringLiteral("file larger than %1 bytes").arg(m_limit));
        return;
    }
    if (m_file->write(bytes) != bytes.size()) {
        Drop(QStringLiteral("file not written: %1").arg(m_file->errorString()));
        return;
    }
    m_total += bytes.size();
}

void FileReceiver::Start(int kind, const QString& name, const ReceiveFolders& folders)
{
    m_kind = kind;
    m_name = name;
    m_total = 0;
    QString why;
    m_target = ReceivedFileTarget(kind, name, folders, &why);
    const QString folder = kind == 1 || kind == 2 ? folders.updateFolder : folders.documentFolder;
    if (m_target.isEmpty() || !PrepareFolder(folder, &why)) {
        Drop(why);
        return;
    }
    // Written beside the target under a new name, so a link there is never
    // followed and a half file never stands under the target's name.
    m_file = std::make_unique<QTemporaryFile>(folder + QStringLiteral("receive_XXXXXX.part"));
    m_file->setAutoRemove(true);
    if (!m_file->open()) {
        m_file.reset();
        Drop(QStringLiteral("Couldn't open the file"));
        return;
    }
    m_state = State::Writing;
}

void FileReceiver::Drop(const QString& why)
{
    qDebug().noquote() << QStringLiteral("EXE Rx : file %1 (kind %2) refused: %3").arg(m_name.left(64)).arg(m_kind).arg(why);
    m_file.reset();  // deletes what was written
    m_state = State::Dropping;
}

ReceivedFile FileReceiver::Finish()
{
    ReceivedFile result;
    result.kind = m_kind;
    result.name = m_name;
    result.size = m_total;
    if (m_state == State::Writing && m_file->flush()) {
        const QString written = m_file->fileName();
        m_file->close();
        // rename() replaces whatever stands under the target, a link
        // included, without following it.
        if (std::rename(QFile::encodeName(written).constData(), QFile::encodeName(m_target).constData()) == 0) {
            m_file->setAutoRemove(false);
            result.complete = true;
            result.path = m_target;
        } else {
            qDebug().noquote() << QStringLiteral("EXE Rx : %1 not put in place").arg(m_target);
        }
    }
    Abort();
    return result;
}

void FileReceiver::Interrupt()
{
    if (m_state == State::Idle)
        return;
    if (m_state == State::Writing)
        Drop(QStringLiteral("a peer left during it"));
}

void FileReceiver::Abort()
{
    // A file put in place no longer removes itself; any other is deleted here.
    m_file.reset();
    m_state = State::Idle;
    m_kind = -1;
    m_name.clear();
    m_target.clear();
    m_total = 0;
}

}  // namespace coll
