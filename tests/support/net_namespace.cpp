#include "tests/support/net_namespace.h"

#include <QFile>
#include <QProcess>

#include <sched.h>
#include <unistd.h>

const char* const kNamespaceAddress = "192.0.2.1";

namespace {

bool g_inNamespace = false;

bool WriteProcFile(const char* path, const QByteArray& text)
{
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

bool Ip(const QStringList& arguments)
{
    QProcess ip;
    ip.start(QStringLiteral("ip"), arguments);
    return ip.waitForFinished(5000) && ip.exitStatus() == QProcess::NormalExit && ip.exitCode() == 0;
}

}  // namespace

bool EnterOwnNetworkNamespace()
{
    if (g_inNamespace)
        return true;
    const QByteArray uid = QByteArray::number(uint(getuid()));
    const QByteArray gid = QByteArray::number(uint(getgid()));
    if (unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0)
        return false;
    // Root inside, the same user outside: the link set-up below may then run
    // as a program of its own.
    WriteProcFile("/proc/self/setgroups", "deny");
    if (!WriteProcFile("/proc/self/uid_map", "0 " + uid + " 1") || !WriteProcFile("/proc/self/gid_map", "0 " + gid + " 1"))
        return false;
    if (!Ip({"link", "set", "lo", "up"}))
        return false;
    // A veth pair: the dummy link type is not built into every kernel.
    if (!Ip({"link", "add", "dravik0", "type", "veth", "peer", "name", "dravik1"})
        || !Ip({"addr", "add", QStringLiteral("%1/24").arg(QLatin1String(kNamespaceAddress)), "dev", "dravik0"})
        || !Ip({"link", "set", "dravik0", "up"}) || !Ip({"link", "set", "dravik1", "up"}))
        return false;
    g_inNamespace = true;
    return true;
}

bool InOwnNetworkNamespace() { return g_inNamespace; }

bool AddNamespaceAddress(const QString& address)
{
    return g_inNamespace && Ip({"addr", "add", address + QStringLiteral("/24"), "dev", "dravik0"});
}
