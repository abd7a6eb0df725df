#include "tests/support/collab_session.h"

#include "app/ui/dialog.h"
#include "collab/ui/collconnectdlg.h"
#include "tests/support/net_namespace.h"
#include "tests/support/screenshot.h"
#include "ui_dialog.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

namespace {

bool Awaited(RunningProgram& board, const QString& line, int timeoutMs, int from = 0)
{
    if (board.waitForLine(line, timeoutMs, from) >= 0)
        return true;
    qWarning().noquote() << QStringLiteral("the whiteboard did not log \"%1\" within %2 ms").arg(line).arg(timeoutMs);
    return false;
}

}  // namespace

bool StartSessionBoard(RunningProgram& board, const OwnDisplay& display, const QString& root)
{
    if (!StartBoardOn(board, display, root)) {
        qWarning("the whiteboard did not start or showed no window");
        return false;
    }
    return Awaited(board, QStringLiteral("exe : Success load Konnexa.dll"), 10000)
        && Awaited(board, QStringLiteral("time Done"), 20000);
}

bool SessionBoard::Start(const QString& screen)
{
    if (!root.isValid() || !display.Start(screen)) {
        qWarning("no folder or no X server for a whiteboard");
        return false;
    }
    return StartSessionBoard(program, display, root.path());
}

QString CollabProgramTest::Unfit(const QStringList& tools)
{
    if (!InOwnNetworkNamespace())
        return QStringLiteral("no network namespace can be made here; sessions run only inside one");
    for (const QString& tool : QStringList{QStringLiteral("Xvfb")} + tools) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return QStringLiteral("no %1").arg(tool);
    }
    return QString();
}

bool CollabProgramTest::MeasurePlaces(const std::function<bool(Dialog&)>& more)
{
    qputenv("DRAVIK_NO_MODAL", "1");
    m_root = std::make_unique<ScopedFolderRoot>();
    if (!m_root->isValid())
        return false;
    ScopedLibraryFolder libraries(BuiltProgramFolder());
    Dialog layout;
    layout.InitDialog(false);
    CollConnectDlg* dialog = layout.m_collConnectDlg;
    if (!dialog) {
        qWarning("the window has no connect dialog: the collaboration library was not bound");
        return false;
    }
    const QPoint board(layout.m_canvasLeft, 0);
    m_at.insert(QStringLiteral("connect"), layout.ui->btn_show_collconnectDlg->geometry().center() + board);
    m_at.insert(QStringLiteral("notebtn"), layout.ui->notebtn->geometry().center() + board);
    m_at.insert(QStringLiteral("undobtn"), layout.ui->undobtn->geometry().center() + board);
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog)) {
        qWarning("the connect dialog was not shown");
        return false;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{dialog->BtnRdo_server, dialog->BtnRdo_client,
                                                     dialog->lineEdit_PASS, dialog->lineEdit_IP, dialog->Btn_connect,
                                                     dialog->Btn_disconnect, dialog->Btn_findserver})
        m_at.insert(w->objectName(), w->mapTo(dialog, w->rect().center()) + dialog->geometry().topLeft());
    dialog->hide();
    return !more || more(layout);
}

bool CollabProgramTest::OpenConnectDialog(const OwnDisplay& display, RunningProgram& board)
{
    Click(display, m_at[QStringLiteral("connect")]);
    if (!WaitForXWindows(QStringLiteral("^Server / Client$"), 10000, board.pid()).isEmpty())
        return true;
    qWarning("the connect dialog did not open within 10 s");
    return false;
}

bool CollabProgramTest::Connect(const OwnDisplay& display, RunningProgram& board, const QString& address,
                                const QString& password)
{
    if (!OpenConnectDialog(display, board))
        return false;
    const bool host = address.isEmpty();
    Click(display, m_at[host ? QStringLiteral("BtnRdo_server") : QStringLiteral("BtnRdo_client")]);
    if (!host)
        Type(display, m_at[QStringLiteral("lineEdit_IP")], address);
    Type(display, m_at[QStringLiteral("lineEdit_PASS")], password);
    Click(display, m_at[QStringLiteral("Btn_connect")]);
    return true;
}

bool CollabProgramTest::Host(SessionBoard& host, const QString& password)
{
    const int mark = host.program.lines().size();
    return Connect(host.display, host.program, QString(), password)
        && Awaited(host.program, QStringLiteral("exe : ----Start Server----"), 10000, mark)
        && ConnectDialogGone(host);
}

bool CollabProgramTest::ConnectDialogGone(SessionBoard& board)
{
    // The server logs its start before the dialog over the board is hidden:
    // a drag made in between lands on the dialog, not on the board.
    QElapsedTimer clock;
    clock.start();
    while (!FindXWindows(QStringLiteral("^Server / Client$"), board.program.pid()).isEmpty()) {
        if (clock.elapsed() > 10000) {
            qWarning("the connect dialog was still on the screen 10 s after the connection started");
            return false;
        }
        QThread::msleep(50);
    }
    return true;
}

bool CollabProgramTest::StartSession(SessionBoard& host, SessionBoard& participant, const QString& address)
{
    if (!host.Start() || !Host(host) || !participant.Start())
        return false;
    const int mark = participant.program.lines().size();
    // The host's page record starts the newcomer's page set-up; its redraw
    // order, after the board, ends it.
    return Connect(participant.display, participant.program, address)
        && Awaited(participant.program, QStringLiteral("NOTEDATA_info"), 10000, mark)
        && Awaited(participant.program, QStringLiteral("EXE Rx : [REDRAW_SET]"), 10000, mark)
        && ConnectDialogGone(participant);
}

QImage CollabProgramTest::Screen(const OwnDisplay& display)
{
    const QString path = m_root->path() + QStringLiteral("/screen.png");
    QFile::remove(path);
    QProcess grab;
    grab.start(QStringLiteral("import"), {"-display", display.name, "-window", "root", path});
    if (!grab.waitForFinished(20000) || grab.exitCode() != 0) {
        grab.kill();
        grab.waitForFinished(2000);
        return QImage();
    }
    return QImage(path);
}

int CollabProgramTest::InkAlong(const OwnDisplay& display, int x0, int x1, int y)
{
    const QImage screen = Screen(display);
    return screen.isNull() ? -1 : DarkPixels(screen, QRect(x0, y - 4, x1 - x0 + 1, 9));
}
