// The USB link to the pen module, for when no pen driver holds it: the board
// tells the module to enter board mode, keeps it there with a keep-alive
// every second and tells it to leave when the window mode or the end comes.
#include "app/ui/dialog.h"

#include "app/usb_link.h"
#include "platform/folders.h"
#include "platform/usb.h"

#include <QDebug>
#include <QFileInfo>
#include <QSettings>
#include <QThread>
#include <QTimer>

namespace {

constexpr quint16 kModuleVendor = 0x16D0;
constexpr quint16 kModuleProduct = 0x0DF0;
constexpr int kControlInterface = 2;
constexpr int kTransferTimeoutMs = 1000;
constexpr int kKeepAliveMs = 1000;

// Device/Count of a driver configuration; a file that cannot be read counts 0.
int DriverDeviceCount(const QString& path)
{
    QSettings settings(path, QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    return settings.value(QStringLiteral("Device/Count"), 0).toInt();
}

void DebugLine(const QString& line)
{
    qDebug().noquote() << line;
}

}  // namespace

int Dialog::PenDriverDeviceCount() const
{
    if (!m_penDriverConfigPath.isEmpty() && QFileInfo(m_penDriverConfigPath).isFile()) {
        const int count = DriverDeviceCount(m_penDriverConfigPath);
        if (count != 0)
            return count;
    }
    // The driver variants install next to the other bundled programs.
    const QString programs = platform::KnownFolderPath(platform::KnownFolder::ProgramFiles);
    int count = 0;
    for (const char* variant : {"/Stylane Marl/config.ini", "/Stylane Quill/config.ini",
                                "/Stylane Brace/config.ini"}) {
        const QString path = programs + QLatin1String(variant);
        if (!QFileInfo(path).isFile())
            continue;
        count = DriverDeviceCount(path);
        if (count > 0)
            break;
    }
    return count;
}

void Dialog::CheckPenDriverDevice()
{
    if (PenDriverDeviceCount() != 0)
        return;
    OpenUsbDevice();
    if (m_usbDevice)
        StartUsbLink();
}

void Dialog::OpenUsbDevice()
{
    if (!m_usbLibraryReady || m_usbDevice)
        return;
    platform::UsbDeviceList devices;
    if (!devices.isValid())
        return;
    for (int i = 0; i < devices.count() && !m_usbDevice; ++i) {
        quint16 vendor = 0;
        quint16 product = 0;
        if (!devices.Descriptor(i, &vendor, &product))
            continue;
        DebugLine(QString::asprintf("[0x%04X, 0x%04X]", vendor, product));
        if (vendor != kModuleVendor || product != kModuleProduct)
            continue;
        platform::UsbHandle handle = nullptr;
        const int opened = devices.Open(i, &handle);
        DebugLine(QString::asprintf("libusb_open() = %d ", opened));
        if (opened != 0 || !handle)
            continue;
        m_usbDevice = handle;
        // A module whose configuration lacks the control interface's
        // endpoint cannot be written: it counts as not found.
        platform::UsbConfigInfo config;
        const int read = platform::UsbReadConfig(handle, &config);
        m_usbEndpoint = read == 0 ? platform::UsbControlEndpoint(config) : -1;
        DebugLine(QString::asprintf("config_descriptor: %d %d", config.interfaceCount, m_usbEndpoint));
        if (m_usbEndpoint < 0) {
            platform::UsbClose(handle);
            m_usbDevice = nullptr;
            continue;
        }
        const int claimed = platform::UsbClaimInterface(handle, kControlInterface);
        DebugLine(QString::asprintf("libusb_claim_interface(2) = %d ", claimed));
        if (claimed != 0) {
            platform::UsbClose(handle);
            m_usbDevice = nullptr;
            m_usbEndpoint = -1;
            DebugLine(QStringLiteral("libusb_claim_interface(2) FAIL!! %1: %2: %3")
                          .arg(claimed)
                          .arg(platform::UsbErrorName(claimed), platform::UsbErrorDescription(claimed)));
        }
    }
    DebugLine(QString::asprintf("[0x%04X, 0x%04X] Device[%p] open ", kModuleVendor, kModuleProduct,
                                static_cast<void*>(m_usbDevice))
              + (m_usbDevice ? QStringLiteral("SUCCESS!!") : QStringLiteral("FAIL!!")));
    if (m_usbDevice && !m_usbSender) {
        const platform::UsbHandle handle = m_usbDevice;
        const int endpoint = m_usbEndpoint;
        m_usbSender = new UsbSender(&m_usbSendMutex, [handle, endpoint](const QByteArray& packet) {
            platform::UsbBulkOut(handle, endpoint, packet, kTransferTimeoutMs);
        });
    }
}

void Dialog::StartUsbLink()
{
    if (!m_usbDevice)
        return;
    SendUsbCommand(kUsbCommandStart, nullptr, 0);
    delete m_usbKeepAliveTimer;
    m_usbKeepAliveTimer = new QTimer(this);
    connect(m_usbKeepAliveTimer, SIGNAL(timeout()), this, SLOT(onTimer()));
    m_usbKeepAliveTimer->start(kKeepAliveMs);
}

void Dialog::onTimer()
{
    SendUsbCommand(kUsbCommandKeepAlive, nullptr, 0);
}

void Dialog::StopUsbLink()
{
    if (!m_usbDevice)
        return;
    if (m_usbKeepAliveTimer) {
        disconnect(m_usbKeepAliveTimer, SIGNAL(timeout()), this, SLOT(onTimer()));
        m_usbKeepAliveTimer->stop();
        delete m_usbKeepAliveTimer;
        m_usbKeepAliveTimer = nullptr;
    }
    SendUsbCommand(kUsbCommandStop, nullptr, 0);
}

void Dialog::SendUsbCommand(quint32 command, const void* payload, int length)
{
    if (!m_usbDevice || !m_usbSender)
        return;
    const QByteArray packet = BuildUsbCommandPacket(command, payload, length);
    if (packet.isEmpty()) {
        DebugLine(QStringLiteral("exe : USB command 0x%1 with payload length %2 refused")
                      .arg(command, 0, 16)
                      .arg(length));
        return;
    }
    m_usbSender->Enqueue(packet);
}

void Dialog::ShutdownUsbLink()
{
    if (m_usbDevice)
        StopUsbLink();
    else
        SendPenDriverMode(QStringLiteral("Window"));
    if (m_usbDevice) {
        QThread::msleep(500);
        // Every queued packet goes out before the interface is released.
        if (m_usbSender)
            m_usbSender->Drain();
        m_usbSendMutex.lock();
        m_usbSendMutex.unlock();
        delete m_usbSender;
        m_usbSender = nullptr;
        platform::UsbReleaseInterface(m_usbDevice, kControlInterface);
        platform::UsbClose(m_usbDevice);
        m_usbDevice = nullptr;
        m_usbEndpoint = -1;
    }
    if (m_usbLibraryReady) {
        platform::UsbExit();
        m_usbLibraryReady = false;
    }
}
