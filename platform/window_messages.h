#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
class QLocalSocket;

// Window messages between processes of one user. The whiteboard is addressed
// by other programs (a second copy of itself, the pen driver) through numbered
// messages sent to a window found by its class and title. Here a window that
// wants messages registers a local socket under the user's runtime folder,
// next to a small file naming its class and title; a sender finds it by those
// names and connects.
//
// A receiving window reads frames as they arrive on the event loop of its
// thread and never waits for a sender's bytes, so a connection that stays
// silent, or a sender that writes slowly, holds nothing up. A blocking send
// (SendWindowMessage) waits until the receiver's handler has run; while it
// waits, messages to the waiting thread's own windows are still handled, so
// two programs greeting each other at the same moment cannot lock each other
// up. Handlers nest only a few levels deep; deeper messages wait until the
// outer handlers return. A program with an event loop of its own answers and
// notifies with PostWindowMessage, which never waits.
namespace platform {

// Identifies a registered window across processes; 0 means "no window".
using WindowHandle = quint64;

// Message numbers the layer itself knows.
constexpr quint32 kCopyDataMessage = 74;

// One message. A copy-data message carries its bytes and their tag (dwData).
struct WindowMessage
{
    quint32 message = 0;
    quint64 wParam = 0;
    qint64 lParam = 0;
    bool hasCopyData = false;
    quint64 dwData = 0;
    QByteArray copyData;
};

// The event type under which a window receives these messages in its
// nativeEvent, with a WindowMessage* as the message pointer.
extern const QByteArray kWindowMessageEventType;

// Packs a point into a wParam: x in the high 16 bits, y in the low 16 bits.
quint64 MakePointParam(int x, int y);
inline int HighWord(quint64 value) { return static_cast<int>((value >> 16) & 0xFFFF); }
inline int LowWord(quint64 value) { return static_cast<int>(value & 0xFFFF); }

// A window that can be found and sent messages. It is registered from
// construction to destruction; every message reaches the handler on the
// thread that owns this object, and the handler's result goes back to the
// sender.
class MessageWindow : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<qint64(const WindowMessage&)>;

    MessageWindow(const QString& windowClass, const QString& title, QObject* parent = nullptr);
    ~MessageWindow() override;

    bool isRegistered() const { return m_handle != 0; }
    WindowHandle handle() const { return m_handle; }
    QString errorString() const { return m_error; }
    void setHandler(Handler handler) { m_handler = std::move(handler); }

    // Handles every message that is already waiting, without waiting for
    // more. The sending side calls this for all windows of the thread while it
    // waits for an answer.
    void serviceWaitingMessages();

    // The descriptors that signal a waiting message: the listening socket and
    // every open connection.
    QList<int> waitDescriptors() const;

private:
    void acceptConnections();
    void readConnection(QLocalSocket* connection);
    void dropConnection(QLocalSocket* connection);

    QLocalServer* m_server = nullptr;
    QList<QLocalSocket*> m_connections;      // waiting for their frame
    QHash<QLocalSocket*, QByteArray> m_buffers;
    WindowHandle m_handle = 0;
    QString m_infoFile;
    QString m_error;
    Handler m_handler;
};

// The window registered under exactly this class and title, or 0. Entries
// left behind by a program that ended without unregistering are removed.
WindowHandle FindWindowByName(const QString& windowClass, const QString& title);

// Sends a message and waits until the receiver has handled it. timeoutMs < 0
// waits as long as the receiver lives. Returns false when the window does not
// exist, the receiver went away, or the time ran out.
bool SendWindowMessage(WindowHandle target, const WindowMessage& message,
                       qint64* result = nullptr, int timeoutMs = -1);

// Convenience form for messages without bytes.
bool SendWindowMessage(WindowHandle target, quint32 message, quint64 wParam, qint64 lParam,
                       qint64* result = nullptr, int timeoutMs = -1);

// Sends a message without waiting for the answer: the answer, or its absence
// after timeoutMs, is dealt with on the calling thread's event loop. Returns
// false when the message cannot go out (no window, a window known gone, too
// many messages still unanswered).
bool PostWindowMessage(WindowHandle target, const WindowMessage& message, int timeoutMs);
bool PostWindowMessage(WindowHandle target, quint32 message, quint64 wParam, qint64 lParam, int timeoutMs);

// A window that let a send or a post run out of time counts as gone: later
// sends and posts to it fail at once, without waiting, until ReviveWindow is
// called for it (the window greeted again).
bool IsWindowGone(WindowHandle window);
void ReviveWindow(WindowHandle window);

// Whether the window is registered by this process, or by this process on
// the calling thread. A handler never sends to a window of its own thread:
// the message would be handled inside the handler that sends it.
bool IsWindowOfThisProcess(WindowHandle window);
bool IsWindowOfThisThread(WindowHandle window);

// How deep handlers of this thread are nested right now (0 outside any).
int HandlerDepth();

// Touch input needs no registration on Linux: the window system delivers
// touch events to every window. Kept so start-up reads the same everywhere.
void RegisterTouchWindow(WindowHandle window, int flags);

// Folder holding the registered windows (inside the user's runtime folder).
QString WindowRegistryFolder();

}  // namespace platform
