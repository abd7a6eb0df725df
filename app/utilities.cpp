#include "app/utilities.h"

#include "platform/launch.h"
#include "platform/processes.h"

#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QNetworkInterface>
#include <QThread>

bool RemoveFolderRecursive(const QString& path, const QString& root)
{
    const QFileInfo info(path);
    // A link in place of the folder is removed as a link: what it points at
    // lies outside the tree being cleared.
    if (info.isSymLink())
        return path != root && QFile::remove(path);

    bool result = info.isDir();
    if (result) {
        const QFileInfoList entries = QDir(path).entryInfoList(
            QDir::Dirs | QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QFileInfo& entry : entries) {
            const bool removed = (entry.isDir() && !entry.isSymLink())
                ? RemoveFolderRecursive(entry.filePath(), root)
                : QFile::remove(entry.filePath());
            if (!removed) {
                result = false;
                break;
            }
        }
    }
    QThread::msleep(1);
    if (path == root)
        return result;
    if (result)
        result = QDir().rmdir(QFileInfo(path).absoluteFilePath());
    return result;
}

void CopyFolder(const QString& source, const QString& destination)
{
    QDir sourceDir(source);
    if (!sourceDir.exists())
        return;
    // Linked folders are not descended into: a link back up the tree would
    // make the copy endless, and one pointing elsewhere is not part of it.
    const QStringList folders =
        sourceDir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks);
    for (const QString& name : folders) {
        const QString target = destination + QLatin1Char('/') + name;
        QDir().mkpath(target);
        CopyFolder(source + QLatin1Char('/') + name, target);
    }
    const QStringList files = sourceDir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : files)
        QFile::copy(source + QLatin1Char('/') + name, destination + QLatin1Char('/') + name);
}

void WaitForFolderFiles(const QString& folder, const QString& fileName, int msec, int cnt)
{
    qDebug() << "set : msec" << msec << "cnt" << cnt;
    for (int pass = 0;; ) {
        bool found = false;
        QString last;
        QDirIterator it(folder, QStringList{fileName}, QDir::Files | QDir::NoSymLinks);
        qDebug() << "check_file_count : " << pass << fileName << folder;
        while (it.hasNext()) {
            last = it.next();
            if (it.fileName() == fileName)
                found = true;
        }
        qDebug() << "check_file :" << found << last;
        if (found)
            return;
        QThread::msleep(static_cast<unsigned long>(qMax(0, msec)));
        ++pass;
        if (pass >= cnt)
            return;
    }
}

bool ProcessNameMatches(qint64 processId, const QString& exeName)
{
    QString name = platform::ProcessExecutableName(processId);
    if (name.isEmpty())
        name = QStringLiteral("<unknown>");
    return platform::LinuxProgramName(exeName) == name;
}

bool KillProcessByName(int mode, const QString& exeName)
{
    const QList<qint64> ids = platform::ProcessIds();
    if (ids.isEmpty())
        return false;
    QList<qint64> ours;
    for (qint64 pid : ids) {
        if (!ProcessNameMatches(pid, exeName))
            continue;
        if (mode == 1)
            return true;
        // Only what this program started or runs from its own folders is ended:
        // another user's copy, or an unrelated program of the same name, is not ours.
        if (mode == 2 && platform::IsOwnProcess(pid))
            ours << pid;
    }
    // Everything is judged before anything ends: a server's workers count as
    // ours through their parent, and ending the parent first would orphan them.
    for (qint64 pid : ours)
        platform::TerminateProcess(pid);
    return false;
}

namespace {

// The keyboard this run started. It is ended by this id: the keyboard is a
// script, so its process carries the interpreter's name, not its own.
qint64 g_keyboardPid = 0;

bool KeyboardRuns()
{
    return g_keyboardPid > 0 && QFileInfo::exists(QStringLiteral("/proc/%1").arg(g_keyboardPid))
           && platform::IsOwnProcess(g_keyboardPid);
}

}  // namespace

bool ShowOnScreenKeyboard()
{
    if (KeyboardRuns())
        return true;
    g_keyboardPid = 0;
    return platform::StartDetached(QStringLiteral("osk.exe"), QStringList(), QString(), &g_keyboardPid);
}

void CloseOnScreenKeyboard()
{
    if (KeyboardRuns())
        platform::TerminateProcess(g_keyboardPid);
    g_keyboardPid = 0;
}

QStringList UsableIpv4Addresses(const QList<QHostAddress>& addresses)
{
    QStringList kept;
    for (const QHostAddress& address : addresses) {
        bool isIpv4 = false;
        const quint32 value = address.toIPv4Address(&isIpv4);
        if (!isIpv4 || value == 0)
            continue;
        const QString text = QHostAddress(value).toString();
        if (text.contains(QLatin1String("127.0.0.1")) || text.startsWith(QLatin1String("169.")))
            continue;
        kept << text;
    }
    return kept;
}

QStringList LocalIpv4Address()
{
    return UsableIpv4Addresses(QNetworkInterface::allAddresses());
}
