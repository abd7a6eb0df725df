#include "platform/launch.h"

#include "platform/processes.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {

QString ResolveProgram(const QString& program)
{
    if (program.contains(QLatin1Char('/')))
        return QFileInfo(program).isExecutable() ? program : QString();
    return QStandardPaths::findExecutable(LinuxProgramName(program));
}

bool StartDetached(const QString& program, const QStringList& arguments,
                   const QString& workingFolder, qint64* pid)
{
    const QString executable = ResolveProgram(program);
    if (executable.isEmpty())
        return false;
    qint64 started = 0;
    if (!QProcess::startDetached(executable, arguments, workingFolder, &started))
        return false;
    RegisterStartedProcess(started);
    if (pid)
        *pid = started;
    return true;
}

int RunAndWait(const QString& program, const QStringList& arguments, int timeoutMs,
               QByteArray* output, const QString& workingFolder)
{
    const QString executable = ResolveProgram(program);
    if (executable.isEmpty())
        return -1;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    // Nothing we run is meant to ask questions: a program that reads its
    // input (unzip asking before replacing a file) sees the end at once
    // instead of waiting for ever.
    process.setStandardInputFile(QProcess::nullDevice());
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    process.start(executable, arguments);
    if (!process.waitForStarted())
        return -1;
    RegisterStartedProcess(process.processId());
    if (!process.waitForFinished(timeoutMs < 0 ? -1 : timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        if (output)
            *output = process.readAll();
        return -1;
    }
    if (output)
        *output = process.readAll();
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

bool OpenDocument(const QString& pathOrUrl)
{
    const QUrl url = QUrl::fromUserInput(pathOrUrl, QString(), QUrl::AssumeLocalFile);
    return QDesktopServices::openUrl(url);
}

}  // namespace platform
