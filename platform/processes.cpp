#include "platform/processes.h"

#include "platform/folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSet>

#include <algorithm>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace platform {

namespace {

QMutex& RegistryMutex()
{
    static QMutex mutex;
    return mutex;
}

QStringList& OwnFolders()
{
    static QStringList folders;
    return folders;
}

QSet<qint64>& StartedProcesses()
{
    static QSet<qint64> pids;
    return pids;
}

QString ProcFile(qint64 pid, const char* name)
{
    return QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name));
}

// One "Key:\tvalue ..." line of /proc/<pid>/status.
QString StatusField(qint64 pid, const QByteArray& key)
{
    QFile file(ProcFile(pid, "status"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    // /proc files report a size of 0, so they are read whole rather than by line.
    const QByteArray prefix = key + ':';
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith(prefix))
            return QString::fromLatin1(line.mid(prefix.size()).trimmed());
    }
    return QString();
}

bool PathIsInside(const QString& path, const QString& folder)
{
    if (folder.isEmpty() || path.isEmpty())
        return false;
    const QString cleanFolder = QDir::cleanPath(folder);
    return path == cleanFolder || path.startsWith(cleanFolder + QLatin1Char('/'));
}

}  // namespace

QString LinuxProgramName(const QString& windowsExeName)
{
    static const QHash<QString, QString> table = {
        {QStringLiteral("httpd.exe"), QStringLiteral("apache2")},
        {QStringLiteral("ffmpeg.exe"), QStringLiteral("ffmpeg")},
        {QStringLiteral("zip.exe"), QStringLiteral("zip")},
        {QStringLiteral("unzip.exe"), QStringLiteral("unzip")},
        {QStringLiteral("TabTip.exe"), QStringLiteral("onboard")},
        {QStringLiteral("osk.exe"), QStringLiteral("onboard")},
        {QStringLiteral("explorer.exe"), QStringLiteral("xdg-open")},
        {QStringLiteral("Dravik.exe"), QStringLiteral("Dravik")},
        {QStringLiteral("Patchora.exe"), QStringLiteral("Patchora")},
        {QStringLiteral("Regrouper.exe"), QStringLiteral("Regrouper")},
    };
    const auto found = table.constFind(windowsExeName);
    if (found != table.constEnd())
        return found.value();
    if (windowsExeName.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        return windowsExeName.left(windowsExeName.size() - 4);
    return windowsExeName;
}

QList<qint64> ProcessIds()
{
    QList<qint64> ids;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (ok && pid > 0)
            ids.append(pid);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

QString ProcessExecutablePath(qint64 pid)
{
    QString target = QFile::symLinkTarget(ProcFile(pid, "exe"));
    // A replaced or deleted executable still runs; its link says so.
    if (target.endsWith(QLatin1String(" (deleted)")))
        target.chop(10);
    return target;
}

QString ProcessExecutableName(qint64 pid)
{
    const QString path = ProcessExecutablePath(pid);
    return path.isEmpty() ? QString() : QFileInfo(path).fileName();
}

qint64 ProcessUserId(qint64 pid)
{
    const QString uids = StatusField(pid, "Uid");
    bool ok = false;
    const qint64 uid = uids.section(QLatin1Char('\t'), 0, 0).trimmed().toLongLong(&ok);
    return ok ? uid : -1;
}

qint64 ParentProcessId(qint64 pid)
{
    bool ok = false;
    const qint64 parent = StatusField(pid, "PPid").toLongLong(&ok);
    return ok ? parent : -1;
}

namespace {

// The fields of /proc/<pid>/stat after the name, which is in parentheses and
// may itself hold blanks and parentheses: the first is the state (field 3).
QList<QByteArray> StatFieldsAfterName(qint64 pid)
{
    QFile file(ProcFile(pid, "stat"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = file.read(4096);
    const int nameEnd = text.lastIndexOf(')');
    if (nameEnd < 0)
        return {};
    return text.mid(nameEnd + 1).simplified().split(' ');
}

}  // namespace

qint64 ProcessStartTime(qint64 pid)
{
    if (pid <= 0)
        return -1;
    const QList<QByteArray> fields = StatFieldsAfterName(pid);
    // Field 22 of the whole line.
    if (fields.size() < 20)
        return -1;
    bool ok = false;
    const qint64 started = fields.at(19).toLongLong(&ok);
    return ok ? started : -1;
}

bool ProcessRuns(qint64 pid)
{
    if (pid <= 0)
        return false;
    const QList<QByteArray> fields = StatFieldsAfterName(pid);
    return !fields.isEmpty() && fields.first() != "Z" && fields.first() != "X";
}

QStringList ProcessArguments(qint64 pid)
{
    QFile file(ProcFile(pid, "cmdline"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> parts = file.readAll().split('\0');
    // The text ends with a NUL, which leaves one empty piece behind.
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    QStringList arguments;
    for (int i = 1; i < parts.size(); ++i)
        arguments << QString::fromLocal8Bit(parts.at(i));
    return arguments;
}

void RegisterOwnFolder(const QString& folder)
{
    QMutexLocker lock(&RegistryMutex());
    const QString clean = QDir::cleanPath(folder);
    if (!clean.isEmpty() && !OwnFolders().contains(clean))
        OwnFolders().append(clean);
}

void RegisterStartedProcess(qint64 pid)
{
    QMutexLocker lock(&RegistryMutex());
    if (pid > 0)
        StartedProcesses().insert(pid);
}

namespace {

bool IsOwnProcessOfThisUser(qint64 pid)
{
    if (ProcessUserId(pid) != static_cast<qint64>(getuid()))
        return false;

    QStringList folders;
    QSet<qint64> started;
    {
        QMutexLocker lock(&RegistryMutex());
        folders = OwnFolders();
        started = StartedProcesses();
    }

    // Started by us, or below something we started.
    const qint64 self = getpid();
    qint64 ancestor = pid;
    for (int depth = 0; depth < 64 && ancestor > 1; ++depth) {
        if (ancestor == self || started.contains(ancestor))
            return true;
        ancestor = ParentProcessId(ancestor);
    }

    folders << ProgramFolder() << FolderRoot();
    const QString exe = ProcessExecutablePath(pid);
    // A daemon forks away from whoever started it; what still ties it to us
    // is a file of ours it was started with (a server's configuration).
    const QStringList arguments = ProcessArguments(pid);
    for (const QString& folder : folders) {
        if (PathIsInside(exe, folder))
            return true;
        for (const QString& argument : arguments) {
            if (argument.startsWith(QLatin1Char('/')) && PathIsInside(QDir::cleanPath(argument), folder))
                return true;
        }
    }
    return false;
}

}  // namespace

bool IsOwnProcess(qint64 pid)
{
    if (pid <= 0 || pid == getpid())
        return false;
    if (IsOwnProcessOfThisUser(pid))
        return true;
    if (getuid() != 0)
        return false;
    // Run as root, a server's workers run as an unprivileged user below a
    // process of ours.
    const qint64 parent = ParentProcessId(pid);
    return parent > 1 && IsOwnProcessOfThisUser(parent);
}

bool TerminateProcess(qint64 pid)
{
    if (pid <= 0 || pid == getpid())
        return false;
    return ::kill(static_cast<pid_t>(pid), SIGKILL) == 0;
}

}  // namespace platform
