#include "updater/shell_link.h"

#include "updater/ini_line_editor.h"
#include "platform/launch.h"

#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <signal.h>

namespace {

const QString kLinkGroup = QStringLiteral("Link");

int StartErrorCode(const QString& file)
{
    const QFileInfo info(file);
    if (!info.exists())
        return ENOENT;
    if (info.isDir() || !info.isExecutable())
        return EACCES;
    return ENOEXEC;
}

}  // namespace

bool shellStart(const QString& verb, const QString& file, const QString& parameters,
                const QString& directory, qint64* pid, int* errorCode)
{
    if (pid)
        *pid = 0;
    if (errorCode)
        *errorCode = 0;
    if (verb != QLatin1String("open")) {
        if (errorCode)
            *errorCode = EINVAL;
        return false;
    }
    const QString program = platform::ResolveProgram(file);
    qint64 started = 0;
    if (program.isEmpty() || !platform::StartDetached(program, QProcess::splitCommand(parameters), directory, &started)) {
        if (errorCode)
            *errorCode = StartErrorCode(program.isEmpty() ? file : program);
        return false;
    }
    if (pid)
        *pid = started;
    return true;
}

void waitForProcess(qint64 pid, int timeoutMs)
{
    if (pid <= 0)
        return;
    QElapsedTimer timer;
    timer.start();
    // The started program is not our child (it was started detached), so its
    // end shows only as its /proc entry going away or turning into a zombie.
    const QString statPath = QStringLiteral("/proc/%1/stat").arg(pid);
    while (timer.elapsed() < timeoutMs) {
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            return;
        QFile stat(statPath);
        if (!stat.open(QIODevice::ReadOnly))
            return;
        const QByteArray text = stat.readAll();
        const int close = text.lastIndexOf(')');
        if (close > 0 && close + 2 < text.size() && text.at(close + 2) == 'Z')
            return;
        QThread::msleep(20);
    }
}

QString systemErrorText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code)).left(1024);
}

int ShellLinkMaker::ensureFolder(const QString& folder)
{
    QString path = folder;
    if (path.size() > 1 && (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\'))))
        path.chop(1);
    const QFileInfo info(path);
    if (!info.exists()) {
        if (!QDir().mkpath(path)) {
            qInfo("error occurred while trying to create the pathToLink");
            return 0;
        }
        return 1;
    }
    if (!info.isDir()) {
        qInfo("pathToLink points to a path that is existing and not a directory");
        return 0;
    }
    return 1;
}

int ShellLinkMaker::createLink(const QString& target, const QString& folder, const QString& description,
                               int hotKey, const QString& arguments, const QString& workingFolder,
                               bool makeFolder)
{
    m_linkPath.clear();
    const QFileInfo info(target);
    if (!info.exists()) {
        qInfo("Path not found");
        return 0;
    }
    if (!info.isDir() && !info.isFile()) {
        qInfo("Not file, device, or folder");
        return 0;
    }
    if (makeFolder)
        ensureFolder(folder);
    QString base = folder;
    if (base.size() > 1 && base.endsWith(QLatin1Char('/')))
        base.chop(1);
    const QString path = base + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".lnk");
    QFile::remove(path);
    const bool written = WriteIniValue(path, kLinkGroup, QStringLiteral("Target"), info.absoluteFilePath())
                         && WriteIniValue(path, kLinkGroup, QStringLiteral("Arguments"), arguments)
                         && WriteIniValue(path, kLinkGroup, QStringLiteral("WorkingFolder"), workingFolder)
                         && WriteIniValue(path, kLinkGroup, QStringLiteral("Description"), description)
                         && WriteIniValue(path, kLinkGroup, QStringLiteral("HotKey"), QString::number(hotKey));
    if (!written) {
        QFile::remove(path);
        return 0;
    }
    m_linkPath = path;
    return 1;
}

bool openLink(const QString& linkPath, qint64* pid, int* errorCode)
{
    bool found = false;
    const QString target = ReadIniValue(linkPath, kLinkGroup, QStringLiteral("Target"), QString(), &found);
    if (!found || target.isEmpty()) {
        if (errorCode)
            *errorCode = ENOENT;
        return false;
    }
    const QString arguments = ReadIniValue(linkPath, kLinkGroup, QStringLiteral("Arguments"));
    const QString folder = ReadIniValue(linkPath, kLinkGroup, QStringLiteral("WorkingFolder"));
    return shellStart(QStringLiteral("open"), target, arguments, folder, pid, errorCode);
}
