#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QSocketNotifier;
class QLocalSocket;

// Window messages between processes of one user. The whiteboard is addressed
// by other programs (a second copy of itself, the pen driver) through numbered
// messages sent to a window found by its class and title. Here a window that
// wants messages registers a local socket under the user's runtime folder,
// next to a small file naming its class and title; a sender finds it by those
// names and connects.
//
// A receiving window accepts connections and reads frames only on the event
// loop of its thread, from a listening socket that never blocks, and never
// waits for a sender's bytes, so a connection that stays silent, or a sender
// that writes slowly, holds nothing up. A blocking send (SendWindowMessage)
// waits for its answer on its own connection and nothing else: no message is
// handled while a send waits. A message to a window of the sending thread is
// handled at once by a direct call, since that thread could not answer it
// otherwise. Two programs that send to each other at the same moment each
// wait until their time limit, so a program with an event loop of its own
// answers and notifies with PostWindowMessage, which never waits.
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

    // Runs the handler for a message sent from this window's own thread.
    qint64 handleDirectly(const WindowMessage& message);

private:
    void acceptConnections();
    void readConnection(QLocalSocket* connection);
    void dropConnection(QLocalSocket* connection);

    int m_listener = -1;                     // non-blocking listening socket
    QSocketNotifier* m_listenerNotifier = nullptr;
    QString m_socketPath;
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
