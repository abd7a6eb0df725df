#include "tests/support/running_program.h"

#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextCodec>
#include <QThread>

RunningProgram::~RunningProgram()
{
    kill();
}

bool RunningProgram::start(const QString& program, const QStringList& arguments,
                           const QProcessEnvironment& extra, const QString& workingFolder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(extra);
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    if (!workingFolder.isEmpty())
        m_process.setWorkingDirectory(workingFolder);
    const QString path = program.contains(QLatin1Char('/')) ? program : BuiltProgramFolder() + QLatin1Char('/') + program;
    m_process.start(path, arguments);
    return m_process.waitForStarted(10000);
}

void RunningProgram::readAvailable()
{
    // Pull in what the pipe holds now; QProcess only reads it when asked.
    while (m_process.state() == QProcess::Running && m_process.waitForReadyRead(0))
        m_partial += m_process.readAll();
    m_partial += m_process.readAll();
    int end = 0;
    while ((end = m_partial.indexOf('\n')) >= 0) {
        const QByteArray line = m_partial.left(end);
        // A line with bytes that are not UTF-8 (a file name the program
        // logged as it is) is read as file-name bytes, so a test that keeps
        // file names whole (platform::UseLosslessFileNames) gets them back.
        QTextCodec::ConverterState state;
        const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(line.constData(), line.size(), &state);
        m_lines << (state.invalidChars == 0 ? text : QFile::decodeName(line));
        m_partial.remove(0, end + 1);
    }
}

QStringList RunningProgram::lines()
{
    readAvailable();
    return m_lines;
}

bool RunningProgram::hasLine(const QString& text, int from)
{
    readAvailable();
    for (int i = from; i < m_lines.size(); ++i) {
        if (m_lines.at(i).contains(text))
            return true;
    }
    return false;
}

int RunningProgram::waitForLine(const QString& text, int timeoutMs, int from)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        readAvailable();
        for (int i = from; i < m_lines.size(); ++i) {
            if (m_lines.at(i).contains(text))
                return i;
        }
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0)
            return -1;
        if (m_process.state() == QProcess::NotRunning) {
            readAvailable();
            // Nothing more can come.
            for (int i = from; i < m_lines.size(); ++i) {
                if (m_lines.at(i).contains(text))
                    return i;
            }
            return -1;
        }
        m_process.waitForReadyRead(static_cast<int>(qMin<qint64>(left, 100)));
    }
}

void RunningProgram::write(const QByteArray& text)
{
    m_process.write(text);
    m_process.waitForBytesWritten(1000);
}

int RunningProgram::waitForExit(int timeoutMs)
{
    if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(timeoutMs))
        return -2;
    readAvailable();
    if (m_process.exitStatus() != QProcess::NormalExit)
        return -1;
    return m_process.exitCode();
}

bool RunningProgram::isRunning() const
{
    return m_process.state() != QProcess::NotRunning;
}

qint64 RunningProgram::pid() const
{
    return m_process.processId();
}

void RunningProgram::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
    readAvailable();
}

QStringList FindXWindows(const QString& pattern, qint64 pid)
{
    // Without --all, xdotool takes a window that meets any one condition:
    // every window of the process would match, whatever its name.
    QStringList arguments{QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible")};
    if (pid > 0)
        arguments << QStringLiteral("--pid") << QString::number(pid);
    arguments << QStringLiteral("--name") << pattern;
    return QString::fromUtf8(Xdotool(arguments)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList WaitForXWindows(const QString& pattern, int timeoutMs, qint64 pid)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const QStringList found = FindXWindows(pattern, pid);
        if (!found.isEmpty() || clock.elapsed() > timeoutMs)
            return found;
        QThread::msleep(100);
    }
}

bool WaitForNoXWindows(const QString& pattern, int timeoutMs, qint64 pid)
{
    QElapsedTimer clock;
    clock.start();
    while (!FindXWindows(pattern, pid).isEmpty()) {
        if (clock.elapsed() > timeoutMs) {
            qWarning("a window named %s is still shown after %d ms", qPrintable(pattern), timeoutMs);
            return false;
        }
        QThread::msleep(100);
    }
    return true;
}

bool WaitForXWindowGone(qint64 pid, const QString& id, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (MappedWindowIds(pid).contains(id)) {
        if (clock.elapsed() > timeoutMs) {
            qWarning("the window %s is still shown after %d ms", qPrintable(id), timeoutMs);
            return false;
        }
        QThread::msleep(100);
    }
    return true;
}

QStringList MappedWindowIds(qint64 pid)
{
    return QString::fromUtf8(Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                      QString::number(pid)}))
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString WaitForNewXWindow(qint64 pid, const QStringList& before, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        for (const QString& id : MappedWindowIds(pid)) {
            if (!before.contains(id))
                return id;
        }
        if (clock.elapsed() > timeoutMs)
            return QString();
        QThread::msleep(100);
    }
}

bool StartWhiteboard(RunningProgram& board, const QStringList& arguments, const QProcessEnvironment& extra)
{
    if (!board.start(QStringLiteral("Dravik"), arguments, extra))
        return false;
    return board.waitForLine(QStringLiteral("ConnectPenDriverWindow : "), 20000) >= 0
        && !WaitForXWindows(QStringLiteral("^Dialog6601$"), 10000, board.pid()).isEmpty();
}

int CloseWhiteboard(RunningProgram& board)
{
    const QStringList windows = FindXWindows(QStringLiteral("^Dialog6601$"), board.pid());
    if (windows.isEmpty())
        return -3;
    const int mark = board.lines().size();
    if (QProcess::execute(BuiltProgramFolder() + QStringLiteral("/CloseXWindow"), {windows.first()}) != 0)
        return -4;
    QElapsedTimer clock;
    clock.start();
    while (board.isRunning() && clock.elapsed() < 20000) {
        // Unattended, "save first?" is answered Yes; with no file chosen (or
        // a save that failed) the lesson is kept and the board stays up.
        if (board.hasLine(QStringLiteral("message box question: Confirm"), mark)
            && (board.hasLine(QStringLiteral("file dialog save: "), mark)
                || board.hasLine(QStringLiteral("proj save failed"), mark))) {
            board.kill();
            return 0;
        }
        const QStringList question = FindXWindows(QStringLiteral("^Confirm$"), board.pid());
        if (!question.isEmpty()) {
            Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), question.first()});
            Xdotool({QStringLiteral("key"), QStringLiteral("--window"), question.first(), QStringLiteral("alt+n")});
        }
        board.waitForExit(200);
    }
    return board.waitForExit(1000);
}
