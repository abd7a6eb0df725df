// RelayProbe serve <port> [seconds]
//   Loads the collaboration library by name, starts its relay and prints
//   "listening <port>" (or "cannot listen <port>" and ends with 2).
// RelayProbe peer <address> <port> [seconds]
//   Joins through the library's client socket. Every line on standard input is
//   a frame in its one-line text form ("KEYWORD|data|tail"), sent as it is;
//   a line "raw <text>" sends the unescaped bytes of <text> with no framing.
//   Prints "connected", "rx <frame text>" per frame received, "malformed" when
//   the bytes cannot be a frame, and "closed" when the relay ends it.
// Both end with their input or after the time limit (default 60 s).
#include "collab/coll_frame.h"
#include "collab/coll_messages.h"
#include "collab/konnexa_binding.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTcpSocket>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

void Say(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int Usage()
{
    std::fputs("usage: RelayProbe serve <port> [seconds] | peer <address> <port> [seconds]\n", stderr);
    return 64;
}

// Standard input as lines; `onLine` per line, `onEnd` once at its end.
template <typename OnLine, typename OnEnd>
void ReadInput(QObject* owner, OnLine onLine, OnEnd onEnd)
{
    auto* notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, owner);
    auto* pending = new QByteArray;
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [=]() {
        char chunk[65536];
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) {
            notifier->setEnabled(false);
            if (!pending->isEmpty())
                onLine(QString::fromUtf8(*pending));
            pending->clear();
            onEnd();
            return;
        }
        pending->append(chunk, int(n));
        int newline;
        while ((newline = pending->indexOf('\n')) >= 0) {
            const QByteArray line = pending->left(newline);
            pending->remove(0, newline + 1);
            onLine(QString::fromUtf8(line));
        }
    });
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2)
        return Usage();
    const bool serve = args.at(0) == QLatin1String("serve");
    if (!serve && (args.at(0) != QLatin1String("peer") || args.size() < 3))
        return Usage();
    const int limitIndex = serve ? 2 : 3;
    const int seconds = args.size() > limitIndex ? args.at(limitIndex).toInt() : 60;

    coll::KonnexaLibrary& konnexa = coll::SharedKonnexa();
    if (!coll::BindKonnexa(konnexa)) {
        Say(QStringLiteral("cannot load Konnexa.dll"));
        return 3;
    }
    QTimer::singleShot(qMax(1, seconds) * 1000, &app, [&]() {
        Say(QStringLiteral("time limit"));
        app.exit(0);
    });

    if (serve) {
        const int port = args.at(1).toInt();
        if (!konnexa.server_start(port)) {
            Say(QStringLiteral("cannot listen %1").arg(port));
            konnexa.server_delete();
            return 2;
        }
        Say(QStringLiteral("listening %1").arg(port));
        ReadInput(&app, [](const QString&) {}, [&]() { app.exit(0); });
        const int code = app.exec();
        konnexa.server_close();
        konnexa.server_delete();
        return code;
    }

    konnexa.soc_new();
    QTcpSocket* socket = konnexa.soc_();
    CollFrameBuffer received;
    bool malformed = false;
    QObject::connect(socket, &QTcpSocket::connected, &app, []() { Say(QStringLiteral("connected")); });
    QObject::connect(socket, &QTcpSocket::disconnected, &app, []() { Say(QStringLiteral("closed")); });
    QObject::connect(socket, &QTcpSocket::readyRead, &app, [&]() {
        received.Append(socket->readAll());
        CollFrame frame;
        int result = 0;
        while (!malformed && (result = received.Next(&frame)) != 0) {
            if (result < 0) {
                malformed = true;
                Say(QStringLiteral("malformed"));
                break;
            }
            Say(QStringLiteral("rx ") + coll::FrameText(frame));
        }
    });
    konnexa.soc_connectToHost(args.at(1), args.at(2).toInt());

    ReadInput(
        &app,
        [&](const QString& line) {
            if (line.isEmpty())
                return;
            CollFrame frame;
            if (line.startsWith(QLatin1String("raw "))) {
                if (coll::ParseFrameText(line.mid(4), &frame))
                    konnexa.soc_write(frame.keyword);
                else
                    Say(QStringLiteral("bad line"));
                return;
            }
            bool ok = false;
            const QByteArray bytes =
                coll::ParseFrameText(line, &frame) ? BuildCollFrame(frame.keyword, frame.data, frame.tail, &ok)
                                                   : QByteArray();
            if (ok)
                konnexa.soc_write(bytes);
            else
                Say(QStringLiteral("bad line"));
        },
        [&]() {
            // What was typed still goes out before the end.
            for (int i = 0; i < 100 && socket->bytesToWrite() > 0; ++i)
                socket->waitForBytesWritten(50);
            app.exit(0);
        });
    const int code = app.exec();
    konnexa.soc_delete();
    return code;
}
