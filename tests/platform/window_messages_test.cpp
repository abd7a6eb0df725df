// The window-message layer within one process: finding windows by class and
// title, blocking sends with bytes, sends that wait only for their own
// answer, entries left by a dead program, frames that are not ours, silent
// connections, windows that never answer, posted messages and a handler that
// sends to itself. A window on a thread of its own stands for another
// program's.
#include "platform/window_messages.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <QtEndian>

#include <memory>
#include <vector>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using platform::FindWindowByName;
using platform::MessageWindow;
using platform::SendWindowMessage;
using platform::WindowHandle;
using platform::WindowMessage;

namespace {

// Leaves a socket file nobody listens on, as a killed program does.
bool MakeDeadSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    qstrncpy(address.sun_path, name.constData(), sizeof(address.sun_path));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound;
}

// A window served by the event loop of a thread of its own, as another
// program's window is.
class WindowOnThread
{
public:
    WindowOnThread(const QString& windowClass, const QString& title, MessageWindow::Handler handler)
        : m_window(new MessageWindow(windowClass, title))
    {
        m_window->setHandler(std::move(handler));
        m_window->moveToThread(&m_thread);
        m_thread.start();
    }
    ~WindowOnThread()
    {
        MessageWindow* window = m_window;
        QMetaObject::invokeMethod(window, [window] { delete window; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait(5000);
    }
    WindowHandle handle() const { return m_handle; }
    bool isRegistered() const { return m_handle != 0; }

private:
    QThread m_thread;
    MessageWindow* m_window;
    const WindowHandle m_handle = m_window->handle();
};

}  // namespace

class WindowMessagesTest : public QObject
{
    Q_OBJECT

private:
    ScopedFolderRoot m_root;

private slots:
    void findsAndSendsWithBytes()
    {
        QList<WindowMessage> received;
        WindowOnThread window(QStringLiteral("Qt5QWindowIcon"), QStringLiteral("Dialog6601"),
                              [&](const WindowMessage& message) {
                                  received << message;
                                  return qint64(42);
                              });
        QVERIFY(window.isRegistered());

        const WindowHandle found = FindWindowByName(QStringLiteral("Qt5QWindowIcon"), QStringLiteral("Dialog6601"));
        QCOMPARE(found, window.handle());
        QCOMPARE(FindWindowByName(QStringLiteral("Qt5QWindowIcon"), QStringLiteral("Dialog660")), WindowHandle(0));
        QCOMPARE(FindWindowByName(QStringLiteral("QWidget"), QStringLiteral("Dialog6601")), WindowHandle(0));

        WindowMessage message;
        message.message = platform::kCopyDataMessage;
        message.hasCopyData = true;
        message.dwData = 20;
        message.copyData = QByteArray("/home/\xea\xb0\x80/a.vk\0tail", 19);
        qint64 result = 0;
        // The handler runs before the send returns, as a blocking send does.
        QVERIFY(SendWindowMessage(found, message, &result, 5000));
        QCOMPARE(result, qint64(42));
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.at(0).message, platform::kCopyDataMessage);
        QVERIFY(received.at(0).hasCopyData);
        QCOMPARE(received.at(0).dwData, quint64(20));
        QCOMPARE(received.at(0).copyData, message.copyData);

        QVERIFY(SendWindowMessage(found, 1139, platform::MakePointParam(500, 100), 50, nullptr, 5000));
        QCOMPARE(received.size(), 2);
        QCOMPARE(platform::HighWord(received.at(1).wParam), 500);
        QCOMPARE(platform::LowWord(received.at(1).wParam), 100);
        QCOMPARE(received.at(1).lParam, qint64(50));
        QVERIFY(!received.at(1).hasCopyData);
    }

    void goneWindowIsNotFound()
    {
        WindowHandle handle = 0;
        {
            MessageWindow window(QStringLiteral("QWidget"), QStringLiteral("Stylane"));
            handle = window.handle();
            QCOMPARE(FindWindowByName(QStringLiteral("QWidget"), QStringLiteral("Stylane")), handle);
        }
        QCOMPARE(FindWindowByName(QStringLiteral("QWidget"), QStringLiteral("Stylane")), WindowHandle(0));
        QVERIFY(!SendWindowMessage(handle, 2024, 1, 1, nullptr, 2000));
        QVERIFY(!SendWindowMessage(0, 2024, 1, 1, nullptr, 2000));
        QVERIFY(QDir(platform::WindowRegistryFolder()).entryList(QDir::Files | QDir::System).isEmpty());
    }

    void deadEntryDoesNotShadowLiveWindow()
    {
        // A program killed while registered leaves its socket and name file.
        const QString folder = platform::WindowRegistryFolder();
        const QString dead = folder + QStringLiteral("/7fff00001");
        QVERIFY(MakeDeadSocket(dead));
        QFile info(dead + QStringLiteral(".id"));
        QVERIFY(info.open(QIODevice::WriteOnly));
        info.write("Qt5QWindowIcon\nDialog6601\n");
        info.close();

        QCOMPARE(FindWindowByName(QStringLiteral("Qt5QWindowIcon"), QStringLiteral("Dialog6601")), WindowHandle(0));
        QVERIFY(!QFile::exists(dead));
        QVERIFY(!QFile::exists(dead + QStringLiteral(".id")));

        QVERIFY(MakeDeadSocket(dead));
        QVERIFY(info.open(QIODevice::WriteOnly));
        info.write("Qt5QWindowIcon\nDialog6601\n");
        info.close();
        MessageWindow live(QStringLiteral("Qt5QWindowIcon"), QStringLiteral("Dialog6601"));
        QCOMPARE(FindWindowByName(QStringLiteral("Qt5QWindowIcon"), QStringLiteral("Dialog6601")), live.handle());
    }

    // A's handler sends to B, whose handler sends back to A while A waits.
    // Nothing is handled inside a send: B's message to A runs out of time,
    // B still answers A, and A takes B's message from its event loop later.
    void sendWaitsOnlyForItsOwnAnswer()
    {
        MessageWindow a(QStringLiteral("A"), QStringLiteral("a"));
        QStringList order;
        WindowHandle bHandle = 0;
        a.setHandler([&](const WindowMessage& message) -> qint64 {
            order << QStringLiteral("a%1 begin").arg(message.message);
            if (message.message == 1) {
                qint64 fromB = 0;
                if (!SendWindowMessage(bHandle, 2, 0, 0, &fromB, 5000))
                    order << QStringLiteral("send to b failed");
                order << QStringLiteral("b said %1").arg(fromB);
            }
            order << QStringLiteral("a%1 end").arg(message.message);
            return 10 + message.message;
        });
        const WindowHandle aHandle = a.handle();
        WindowOnThread b(QStringLiteral("B"), QStringLiteral("b"), [aHandle](const WindowMessage&) -> qint64 {
            return SendWindowMessage(aHandle, 3, 0, 0, nullptr, 300) ? 20 : 21;
        });
        bHandle = b.handle();

        // Sent from another thread, so that A's handler runs on A's event loop.
        qint64 result = 0;
        bool sent = false;
        std::unique_ptr<QThread> sender(QThread::create([&] { sent = SendWindowMessage(aHandle, 1, 0, 0, &result, 10000); }));
        sender->start();
        QTRY_VERIFY_WITH_TIMEOUT(sender->isFinished(), 10000);
        QVERIFY(sent);
        QCOMPARE(result, qint64(11));
        QTRY_COMPARE_WITH_TIMEOUT(order.size(), 5, 5000);
        QCOMPARE(order, QStringList({"a1 begin", "b said 21", "a1 end", "a3 begin", "a3 end"}));
        platform::ReviveWindow(aHandle);
    }

    // A handler that sends to its own window (a message naming the window
    // itself) is refused at once instead of nesting until the stack ends.
    void handlerCannotSendToItsOwnThread()
    {
        MessageWindow window(QStringLiteral("Self"), QStringLiteral("self"));
        int handled = 0;
        bool innerSent = true;
        window.setHandler([&](const WindowMessage& message) -> qint64 {
            ++handled;
            if (message.message == 1)
                innerSent = SendWindowMessage(window.handle(), 1, 0, 0, nullptr, 5000);
            return qint64(platform::HandlerDepth());
        });
        qint64 depth = 0;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(SendWindowMessage(window.handle(), 1, 0, 0, &depth, 5000));
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(handled, 1);
        QVERIFY(!innerSent);
        QCOMPARE(depth, qint64(1));
        QCOMPARE(platform::HandlerDepth(), 0);
    }

    // Connections that say nothing do not delay the messages behind them.
    void silentConnectionsHoldNothingUp()
    {
        int handled = 0;
        WindowOnThread window(QStringLiteral("D"), QStringLiteral("d"),
                              [&](const WindowMessage&) { return qint64(++handled); });
        const QString path = platform::WindowRegistryFolder() + QLatin1Char('/') + QString::number(window.handle(), 16);
        std::vector<std::unique_ptr<QLocalSocket>> silent;
        for (int i = 0; i < 5; ++i) {
            silent.push_back(std::make_unique<QLocalSocket>());
            silent.back()->connectToServer(path);
            QVERIFY(silent.back()->waitForConnected(2000));
        }
        // One that starts a frame and stops half-way.
        silent.front()->write(QByteArray::fromHex("00000040") + "DWM1");
        silent.front()->flush();

        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 3; ++i)
            QVERIFY(SendWindowMessage(window.handle(), 7, 0, 0, nullptr, 5000));
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(handled, 3);
    }

    // A window that accepts but never answers is waited for once; after that
    // it counts as gone and nothing waits for it, until it is revived.
    void unansweringWindowCountsAsGone()
    {
        const WindowHandle mute = (quint64(0x7ffe) << 16) | 1;
        const QString path = platform::WindowRegistryFolder() + QLatin1Char('/') + QString::number(mute, 16);
        QLocalServer listener;
        QLocalServer::removeServer(path);
        QVERIFY(listener.listen(path));

        QElapsedTimer clock;
        clock.start();
        QVERIFY(!SendWindowMessage(mute, 2024, 1, 1, nullptr, 300));
        QVERIFY(clock.elapsed() >= 250);
        QVERIFY(platform::IsWindowGone(mute));
        clock.restart();
        for (int i = 0; i < 3; ++i) {
            QVERIFY(!SendWindowMessage(mute, 2025, 0, 1, nullptr, 300));
            QVERIFY(!platform::PostWindowMessage(mute, 2025, 0, 1, 300));
        }
        QVERIFY2(clock.elapsed() < 100, qPrintable(QString::number(clock.elapsed())));

        platform::ReviveWindow(mute);
        QVERIFY(!platform::IsWindowGone(mute));
        // A post does not wait either; its silence marks the window again.
        clock.restart();
        QVERIFY(platform::PostWindowMessage(mute, 2024, 1, 1, 300));
        QVERIFY(clock.elapsed() < 100);
        QTRY_VERIFY_WITH_TIMEOUT(platform::IsWindowGone(mute), 3000);
        platform::ReviveWindow(mute);
    }

    // A posted message reaches its window and the sender goes on at once.
    void postedMessageArrives()
    {
        MessageWindow window(QStringLiteral("E"), QStringLiteral("e"));
        QList<quint32> received;
        window.setHandler([&](const WindowMessage& message) {
            received << message.message;
            return qint64(0);
        });
        QVERIFY(platform::PostWindowMessage(window.handle(), 2025, 0, 1, 2000));
        QVERIFY(received.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(received, QList<quint32>({2025}), 3000);
        QVERIFY(!platform::IsWindowGone(window.handle()));
    }

    void timeLimitEndsTheWait()
    {
        // A receiver that hangs in its handler, on a thread of its own.
        QThread thread;
        auto* slow = new MessageWindow(QStringLiteral("Slow"), QStringLiteral("slow"));
        slow->setHandler([](const WindowMessage&) {
            QThread::msleep(1500);
            return qint64(1);
        });
        slow->moveToThread(&thread);
        thread.start();

        QElapsedTimer clock;
        clock.start();
        QVERIFY(!SendWindowMessage(slow->handle(), 1, 0, 0, nullptr, 300));
        QVERIFY2(clock.elapsed() < 1200, qPrintable(QString::number(clock.elapsed())));

        thread.quit();
        QVERIFY(thread.wait(5000));
        delete slow;
    }

    void foreignFramesAreDropped_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QByteArray badMagic(4, '\0');
        qToBigEndian<quint32>(8, badMagic.data());
        badMagic += QByteArray("XXXXXXXX");
        QByteArray huge(4, '\0');
        qToBigEndian<quint32>(0x7FFFFFFF, huge.data());
        QByteArray truncated(4, '\0');
        qToBigEndian<quint32>(100, truncated.data());
        truncated += QByteArray("DWM1");
        QTest::newRow("wrong magic") << badMagic;
        QTest::newRow("absurd length") << huge;
        QTest::newRow("cut short") << truncated;
    }

    void foreignFramesAreDropped()
    {
        QFETCH(QByteArray, frame);
        int handled = 0;
        WindowOnThread window(QStringLiteral("C"), QStringLiteral("c"),
                              [&](const WindowMessage&) { return qint64(++handled); });

        QLocalSocket stranger;
        stranger.connectToServer(platform::WindowRegistryFolder() + QLatin1Char('/') + QString::number(window.handle(), 16));
        QVERIFY(stranger.waitForConnected(2000));
        stranger.write(frame);
        stranger.flush();

        // The stranger stays connected: the window must answer others at once
        // all the same, not after waiting for the rest of the bad frame.
        QElapsedTimer clock;
        clock.start();
        QVERIFY(SendWindowMessage(window.handle(), 5, 0, 0, nullptr, 5000));
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(handled, 1);
        stranger.disconnectFromServer();
    }
};

QTEST_GUILESS_MAIN(WindowMessagesTest)
#include "window_messages_test.moc"
