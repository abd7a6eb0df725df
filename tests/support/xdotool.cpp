#include "tests/support/xdotool.h"

#include <QTest>

#include <QProcess>
#include <QRect>
#include <QString>
#include <QThread>
#include <QElapsedTimer>

#include "tests/support/running_program.h"

QByteArray Xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(1000);
    }
    return process.readAllStandardOutput();
}

void XdotoolDrag(QPoint from, QPoint to, int steps)
{
    auto n = [](int v) { return QString::number(v); };
    Xdotool({QStringLiteral("mousemove"), n(from.x()), n(from.y()), QStringLiteral("mousedown"), QStringLiteral("1")});
    for (int i = 1; i <= steps; ++i) {
        const QPoint p = from + (to - from) * i / steps;
        Xdotool({QStringLiteral("mousemove"), n(p.x()), n(p.y())});
    }
    Xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
}

void XdotoolClick(QPoint at)
{
    Xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
             QStringLiteral("1")});
}

void XdotoolStroke(QPoint from)
{
    auto n = [](int v) { return QString::number(v); };
    QStringList moves{QStringLiteral("mousemove"), n(from.x()), n(from.y()), QStringLiteral("mousedown"),
                      QStringLiteral("1")};
    for (int i = 1; i <= 20; ++i)
        moves << QStringLiteral("mousemove") << n(from.x() + i * 8) << n(from.y() + (i % 5) * 6)
              << QStringLiteral("sleep") << QStringLiteral("0.01");
    moves << QStringLiteral("mouseup") << QStringLiteral("1");
    Xdotool(moves);
}

bool ChooseFromPopup(qint64 pid, QPoint openAt, int button, QPoint entry, int againMs)
{
    auto n = [](int v) { return QString::number(v); };
    const QStringList before = MappedWindowIds(pid);
    QString menu;
    QElapsedTimer opening;
    opening.start();
    while (menu.isEmpty() && opening.elapsed() < 15000) {
        Xdotool({QStringLiteral("mousemove"), n(openAt.x()), n(openAt.y()), QStringLiteral("click"), n(button)});
        menu = WaitForNewXWindow(pid, before, againMs > 0 ? againMs : 15000);
    }
    if (menu.isEmpty()) {
        qWarning("no menu opened on a click at %d, %d", openAt.x(), openAt.y());
        return false;
    }
    Xdotool({QStringLiteral("mousemove"), n(entry.x()), n(entry.y()), QStringLiteral("click"), QStringLiteral("1")});
    QElapsedTimer clock;
    clock.start();
    while (MappedWindowIds(pid).contains(menu)) {
        if (clock.elapsed() > 15000) {
            qWarning("the menu did not close after its entry at %d, %d was chosen", entry.x(), entry.y());
            return false;
        }
        QTest::qWait(50);
    }
    return true;
}

bool ChooseMainMenuEntry(qint64 pid, QPoint entry)
{
    const QPoint logo(48, 22);
    // A click that lands while the board is still busy after its start or a
    // load opens nothing: the logo is clicked again until the menu shows.
    if (!ChooseFromPopup(pid, logo, 1, logo + entry, 3000))
        return false;
    Xdotool({QStringLiteral("mousemove"), QStringLiteral("1000"), QStringLiteral("700")});
    return true;
}

QRect XWindowGeometry(const QString& windowId)
{
    // "--shell" prints X=, Y=, WIDTH=, HEIGHT= lines.
    int values[4] = {0, 0, 0, 0};
    const char* names[4] = {"X=", "Y=", "WIDTH=", "HEIGHT="};
    int found = 0;
    const QByteArray output = Xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), windowId});
    for (const QByteArray& line : output.split('\n')) {
        for (int i = 0; i < 4; ++i) {
            if (line.startsWith(names[i])) {
                values[i] = line.mid(int(qstrlen(names[i]))).toInt();
                ++found;
            }
        }
    }
    return found == 4 ? QRect(values[0], values[1], values[2], values[3]) : QRect();
}

bool XdotoolTypeInto(qint64 pid, const QString& title, const QStringList& keys)
{
    const QStringList windows = WaitForXWindows(QStringLiteral("^%1$").arg(title), 15000, pid);
    if (windows.isEmpty()) {
        qWarning("no window \"%s\" came within 15 s", qPrintable(title));
        return false;
    }
    // The window has the keyboard: the server hands it the keys below after
    // that change, and the program reads them in that order.
    if (!GiveKeyboard(windows.last()))
        return false;
    for (const QString& key : keys)
        Xdotool(key.startsWith(QStringLiteral("type:"))
                    ? QStringList{QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), key.mid(5)}
                    : QStringList{QStringLiteral("key"), key});
    return true;
}

bool GiveKeyboard(const QString& window, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (QString::fromLatin1(Xdotool({QStringLiteral("getwindowfocus")}).trimmed()) != window) {
        if (clock.elapsed() > timeoutMs) {
            qWarning("the window %s did not take the keyboard within %d ms", qPrintable(window), timeoutMs);
            return false;
        }
        Xdotool({QStringLiteral("windowfocus"), window});
        QThread::msleep(100);
    }
    return true;
}

QRect WaitForXWindowGeometry(const QString& windowId, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QRect placed;
    while ((placed = XWindowGeometry(windowId)).isEmpty()) {
        if (clock.elapsed() > timeoutMs) {
            qWarning("the window %s has no place on the screen after %d ms", qPrintable(windowId), timeoutMs);
            break;
        }
        QTest::qWait(50);
    }
    return placed;
}
