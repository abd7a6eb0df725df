#include "app/debug_log_cap.h"
#include "app/desktop_entry.h"
#include "app/startup.h"
#include "app/ui/main_dlg.h"
#include "app/ui/message_box.h"
#include "app/ui/single_application.h"
#include "platform/file_names.h"
#include "platform/window_messages.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QTabletEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// Debug lines go to standard error, one whole line at a time, so that
// whoever started the whiteboard can follow them as they come.
void WriteDebugLine(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    // In the local 8-bit form: UTF-8, with the bytes of file names that are
    // not UTF-8 written as they are.
    static DebugLogCap cap(kDebugLogLimit);
    const QByteArray line = cap.admit(qFormatLogMessage(type, context, text).toLocal8Bit() + '\n');
    if (!line.isEmpty()) {
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
        std::fflush(stderr);
    }
    if (type == QtFatalMsg)
        std::abort();
}

// Gives a project path to the copy that already runs and waits until it has
// taken it. The path is made absolute first: the running copy works in a
// folder of its own, where a relative path would name another file.
void HandOffToRunningCopy(const QString& path)
{
    const platform::WindowHandle running = mainDlg::FindRunningWindow();
    if (running == 0)
        return;
    platform::WindowMessage message;
    message.message = platform::kCopyDataMessage;
    message.hasCopyData = true;
    message.dwData = kHandOffTag;
    message.copyData = HandOffBytes(QFileInfo(path).absoluteFilePath());
    platform::SendWindowMessage(running, message);
}

}  // namespace

int main(int argc, char* argv[])
{
    platform::UseLosslessFileNames();
    qInstallMessageHandler(WriteDebugLine);
    // Nothing here draws with OpenGL, yet the xcb platform would load the GL
    // driver (tens of megabytes of a software renderer on most machines) at
    // the first window. A user who asks for an integration keeps it.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    SingleApplication* app = new SingleApplication(argc, argv);

    const QString firstArgument = argc > 1 ? QFile::decodeName(argv[1]) : QString();
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    const CommandLine commandLine = ReadCommandLine(arguments);
    const bool bUpdateCheck = commandLine.updateCheck;
    qDebug().noquote() << QStringLiteral("argv[0]=%1, argv[1]=%2, argc=%3, bUpdateCheck=%4")
                              .arg(QFile::decodeName(argv[0]), firstArgument)
                              .arg(argc)
                              .arg(bUpdateCheck ? 1 : 0);
    const FileArgument& file = commandLine.file;
    const bool fileNamed = !file.path.isEmpty();

    // Nothing is written below the shared temporary folder unless the folders
    // there are ours alone.
    const QString folderProblem = CheckOwnFolders();
    if (!folderProblem.isEmpty()) {
        qDebug().noquote() << "exe :" << folderProblem;
        ui::CriticalBox(nullptr, QStringLiteral("Dravik"), folderProblem);
        delete app;
        return 2;
    }

    // A contents package is played in the browser whether or not a copy runs.
    if (fileNamed && bUpdateCheck && file.isContentsPackage()) {
        const QString problem = PlayContentsPackage(file);
        if (!problem.isEmpty()) {
            qDebug().noquote() << "exe :" << problem;
            ui::CriticalBox(nullptr, QStringLiteral("Dravik"), problem);
        }
        delete app;
        return problem.isEmpty() ? 0 : 1;
    }

    if (!app->lock()) {
        if (fileNamed) {
            if (file.isProject())
                HandOffToRunningCopy(file.path);
        } else if (bUpdateCheck) {
            qDebug() << "Dravik already running";
            ui::CriticalBox(nullptr, QStringLiteral("Dravik"), QStringLiteral("Dravik already running"));
        }
        delete app;
        return 1;
    }

    const bool projectNamed = fileNamed && file.isProject();

    EnsureLocalWebServer();
    if (app->pendingKind() != 2)
        app->ShowSplash();

    mainDlg* window = new mainDlg(nullptr);
    const bool autoUpdate = bUpdateCheck && !projectNamed;
    window->PrepareDialog();
    window->show();
    window->StartDialog(autoUpdate);
    platform::RegisterTouchWindow(window->messageHandle(), 2);
    window->ConnectPenDriver();

    if (app->pendingKind() == 1) {
        window->OpenISPFile(app->pendingPath());
        app->clearPending();
    }
    QObject::connect(app, &SingleApplication::OpenISPFile, window, &mainDlg::OpenISPFile);
    QObject::connect(app, &SingleApplication::OpenIICFile, window, &mainDlg::OpenIICFile);
    QObject::connect(app, &SingleApplication::TabletEnterSignal, window, &mainDlg::TabletEnterSignal);
    QObject::connect(app, &SingleApplication::TabletLeaveSignal, window, &mainDlg::TabletLeaveSignal);
    if (projectNamed)
        app->OpenFileAtStart(file.path);

    // Lessons and projects opened from the file manager, and packages the
    // board offers to open after a recording, reach this program only
    // through the desktop's own entry and file types. Refreshing the
    // desktop's caches may take a moment: it waits until the board is up.
    QTimer::singleShot(0, [] {
        const QString problem = InstallDesktopIntegration(DesktopDataHome(), QCoreApplication::applicationFilePath());
        if (!problem.isEmpty())
            qDebug().noquote() << "exe : the desktop does not know the whiteboard's files:" << problem;
    });
    const int result = app->exec();
    delete window;
    delete app;
    return result;
}
