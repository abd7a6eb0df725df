#pragma once

#include <QByteArray>
#include <QMutex>
#include <QQueue>
#include <QThread>
#include <QWaitCondition>

#include <functional>

// Commands of the pen module's control interface.
enum UsbCommand : quint32 {
    kUsbCommandStart = 0x1100,      // enter board mode
    kUsbCommandStop = 0x1101,       // leave board mode
    kUsbCommandKeepAlive = 0x1102,  // sent every second while in board mode
};

constexpr int kUsbPacketSize = 512;
constexpr int kUsbPayloadMax = 504;

// The one packet format: command and payload length as little-endian 32-bit
// words, the payload, zero padding to 512 bytes. Empty when the length is
// negative, above 504, or a payload is missing.
QByteArray BuildUsbCommandPacket(quint32 command, const void* payload, int length);

// Sends packets on a thread of its own, in the order they were queued, so a
// module that stalls never blocks the window. Each packet goes out twice,
// 10 ms apart, with the shared mutex held for both transfers.
class UsbSender
{
public:
    using Transfer = std::function<void(const QByteArray&)>;
    UsbSender(QMutex* mutex, Transfer transfer);
    ~UsbSender();  // sends what is queued, then ends the thread

    void Enqueue(const QByteArray& packet);
    // Returns once every packet queued so far has gone out.
    void Drain();

private:
    void Run();

    QMutex* m_sendMutex;
    Transfer m_transfer;
    QMutex m_queueMutex;
    QWaitCondition m_wake;
    QWaitCondition m_idle;
    QQueue<QByteArray> m_queue;
    bool m_busy = false;
    bool m_stopping = false;
    QThread* m_thread = nullptr;
};
