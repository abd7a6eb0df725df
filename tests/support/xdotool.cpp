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

void XdotoolHold(QPoint at, int ms)
{
    Xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
             QStringLiteral("mousedown"), QStringLiteral("1")});
    QTest::qWait(ms);
    Xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
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

void XdotoolMainMenuEntry(QPoint entry)
{
    auto n = [](int v) { return QString::number(v); };
    const QPoint logo(48, 22);
    Xdotool({QStringLiteral("mousemove"), n(logo.x()), n(logo.y()), QStringLiteral("click"), QStringLiteral("1")});
    QThread::msleep(500);
    Xdotool({QStringLiteral("mousemove"), n(logo.x() + entry.x()), n(logo.y() + entry.y()), QStringLiteral("click"),
             QStringLiteral("1")});
}

bool ChooseMainMenuEntry(qint64 pid, QPoint entry)
{
    auto n = [](int v) { return QString::number(v); };
    const QPoint logo(48, 22);
    const QStringList before = MappedWindowIds(pid);
    // A click that lands while the board is still busy after its start or a
    // load opens nothing: the logo is clicked again until the menu shows.
    QString menu;
    QElapsedTimer opening;
    opening.start();
    while (menu.isEmpty() && opening.elapsed() < 15000) {
        Xdotool({QStringLiteral("mousemove"), n(logo.x()), n(logo.y()), QStringLiteral("click"), QStringLiteral("1")});
        menu = WaitForNewXWindow(pid, before, 3000);
    }
    if (menu.isEmpty()) {
        qWarning("the main menu did not open");
        return false;
    }
    Xdotool({QStringLiteral("mousemove"), n(logo.x() + entry.x()), n(logo.y() + entry.y()), QStringLiteral("click"),
             QStringLiteral("1")});
    QElapsedTimer clock;
    clock.start();
    while (MappedWindowIds(pid).contains(menu)) {
        if (clock.elapsed() > 15000) {
            qWarning("the main menu did not close after its entry was chosen");
            return false;
        }
        QTest::qWait(50);
    }
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
    if (windows.isEmpty())
        return false;
    const QString window = windows.last();
    QElapsedTimer clock;
    clock.start();
    while (QString::fromLatin1(Xdotool({QStringLiteral("getwindowfocus")}).trimmed()) != window
           && clock.elapsed() < 5000) {
        Xdotool({QStringLiteral("windowfocus"), window});
        QThread::msleep(100);
    }
    // The window has the keyboard; its focus widget takes the keys once the
    // focus-in event is handled.
    QTest::qWait(300);
    for (const QString& key : keys)
        Xdotool(key.startsWith(QStringLiteral("type:"))
                    ? QStringList{QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), key.mid(5)}
                    : QStringList{QStringLiteral("key"), key});
    return true;
}
