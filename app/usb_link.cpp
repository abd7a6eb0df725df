#include "app/usb_link.h"

#include <QtEndian>

#include <cstring>

QByteArray BuildUsbCommandPacket(quint32 command, const void* payload, int length)
{
    if (length < 0 || length > kUsbPayloadMax || (length > 0 && !payload))
        return QByteArray();
    QByteArray packet(kUsbPacketSize, '\0');
    auto* bytes = reinterpret_cast<uchar*>(packet.data());
    qToLittleEndian<quint32>(command, bytes);
    qToLittleEndian<quint32>(quint32(length), bytes + 4);
    if (length > 0)
        std::memcpy(bytes + 8, payload, size_t(length));
    return packet;
}

UsbSender::UsbSender(QMutex* mutex, Transfer transfer)
    : m_sendMutex(mutex)
    , m_transfer(std::move(transfer))
{
    m_thread = QThread::create([this] { Run(); });
    m_thread->start();
}

UsbSender::~UsbSender()
{
    {
        QMutexLocker lock(&m_queueMutex);
        m_stopping = true;
        m_wake.wakeAll();
    }
    m_thread->wait();
    delete m_thread;
}

void UsbSender::Enqueue(const QByteArray& packet)
{
    QMutexLocker lock(&m_queueMutex);
    m_queue.enqueue(packet);
    m_wake.wakeAll();
}

void UsbSender::Drain()
{
    QMutexLocker lock(&m_queueMutex);
    while (!m_queue.isEmpty() || m_busy)
        m_idle.wait(&m_queueMutex);
}

void UsbSender::Run()
{
    for (;;) {
        QByteArray packet;
        {
            QMutexLocker lock(&m_queueMutex);
            while (m_queue.isEmpty() && !m_stopping)
                m_wake.wait(&m_queueMutex);
            if (m_queue.isEmpty()) {
                m_idle.wakeAll();
                return;
            }
            packet = m_queue.dequeue();
            m_busy = true;
        }
        {
            QMutexLocker sendLock(m_sendMutex);
            m_transfer(packet);
            QThread::msleep(10);
            m_transfer(packet);
        }
        QMutexLocker lock(&m_queueMutex);
        m_busy = false;
        if (m_queue.isEmpty())
            m_idle.wakeAll();
    }
}
