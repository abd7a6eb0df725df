// Plays the pen/touch module's driver towards the whiteboard.
//
//   PenDriverStub [--greet] [--answer-limit <ms>]
//
// It registers the driver's window (class "QWidget", title "Stylane"),
// prints "ready <handle>" and then reads commands from standard input:
//
//   greet                          find the whiteboard and send it 2024
//   touch <n> <x> <y> <action>     touch point of pointer n (1..9): message 1138 + n
//   send <message> <wParam> <lParam>
//   limit <ms>                     answer limit of the sends from now on
//   quit
//
// Every message it receives is printed as "recv <message> <wParam> <lParam>"
// (handles in hexadecimal); a greeting from the whiteboard is remembered as
// the whiteboard's window. Each command answers with one line once the
// whiteboard has handled it, or the answer limit (10 s unless given) passed:
// "ok ..." or "fail ...". A whiteboard that once let the limit pass counts as
// gone until it greets again or is found by "greet".
#include "platform/window_messages.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

namespace {

constexpr quint32 kGreeting = 2024;
constexpr quint32 kFirstTouchMessage = 1139;

platform::WindowHandle g_whiteboard = 0;
int g_answerLimitMs = 10000;

void Print(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

QString Hex(quint64 value)
{
    return QString::number(value, 16);
}

void Greet(platform::WindowHandle own)
{
    const platform::WindowHandle found =
        platform::FindWindowByName(QStringLiteral("Qt5QWindowIcon"), QStringLiteral("Dialog6601"));
    if (found == 0) {
        Print(QStringLiteral("fail greet: whiteboard not found"));
        return;
    }
    g_whiteboard = found;
    // Found listening: whatever it failed to answer before, it is there.
    platform::ReviveWindow(found);
    if (platform::SendWindowMessage(found, kGreeting, own, 1, nullptr, g_answerLimitMs))
        Print(QStringLiteral("ok greet %1").arg(Hex(found)));
    else
        Print(QStringLiteral("fail greet %1").arg(Hex(found)));
}

void Send(quint32 message, quint64 wParam, qint64 lParam)
{
    if (g_whiteboard == 0) {
        Print(QStringLiteral("fail send %1: no whiteboard").arg(message));
        return;
    }
    if (platform::SendWindowMessage(g_whiteboard, message, wParam, lParam, nullptr, g_answerLimitMs))
        Print(QStringLiteral("ok send %1").arg(message));
    else
        Print(QStringLiteral("fail send %1").arg(message));
}

void RunCommand(const QString& line, platform::WindowHandle own)
{
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return;
    const QString command = words.at(0);
    if (command == QLatin1String("quit")) {
        QCoreApplication::quit();
    } else if (command == QLatin1String("greet")) {
        Greet(own);
    } else if (command == QLatin1String("touch") && words.size() == 5) {
        const int pointer = words.at(1).toInt();
        const int x = words.at(2).toInt();
        const int y = words.at(3).toInt();
        const int action = words.at(4).toInt();
        Send(kFirstTouchMessage + static_cast<quint32>(pointer) - 1, platform::MakePointParam(x, y), action);
    } else if (command == QLatin1String("limit") && words.size() == 2) {
        g_answerLimitMs = qBound(1, words.at(1).toInt(), 600000);
        Print(QStringLiteral("ok limit %1").arg(g_answerLimitMs));
    } else if (command == QLatin1String("send") && words.size() == 4) {
        Send(words.at(1).toUInt(), words.at(2).toULongLong(), words.at(3).toLongLong());
    } else {
        Print(QStringLiteral("fail unknown command: %1").arg(line));
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);

    platform::MessageWindow window(QStringLiteral("QWidget"), QStringLiteral("Stylane"));
    if (!window.isRegistered()) {
        Print(QStringLiteral("fail register: %1").arg(window.errorString()));
        return 2;
    }
    window.setHandler([](const platform::WindowMessage& message) -> qint64 {
        Print(QStringLiteral("recv %1 %2 %3").arg(message.message).arg(Hex(message.wParam)).arg(message.lParam));
        if (message.message == kGreeting) {
            g_whiteboard = message.wParam;
            platform::ReviveWindow(message.wParam);
        }
        return 0;
    });
    Print(QStringLiteral("ready %1").arg(Hex(window.handle())));

    const QStringList arguments = app.arguments();
    const int limitAt = arguments.indexOf(QStringLiteral("--answer-limit"));
    if (limitAt > 0 && limitAt + 1 < arguments.size())
        g_answerLimitMs = qBound(1, arguments.at(limitAt + 1).toInt(), 600000);
    if (arguments.contains(QStringLiteral("--greet")))
        Greet(window.handle());

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&]() {
        QByteArray line;
        char c = 0;
        // One command per line; read byte by byte so nothing past the line
        // is swallowed by a buffer the notifier knows nothing about.
        for (;;) {
            const ssize_t got = ::read(STDIN_FILENO, &c, 1);
            if (got <= 0) {
                if (line.isEmpty()) {
                    input.setEnabled(false);
                    QCoreApplication::quit();
                    return;
                }
                break;
            }
            if (c == '\n')
                break;
            line += c;
        }
        RunCommand(QString::fromUtf8(line).trimmed(), window.handle());
    });

    return app.exec();
}
