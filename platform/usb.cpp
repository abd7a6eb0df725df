#include "platform/usb.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>

#include <libusb.h>

namespace platform {

namespace {

constexpr quint16 kFakeVendor = 0x16D0;
constexpr quint16 kFakeProduct = 0x0DF0;

// The fake module. Its settings are read at each use, so a test can change
// them between windows; the clock runs from the first use.
struct Fake {
    QElapsedTimer clock;
    QMutex mutex;
    char handleTag = 0;
};

Fake& FakeState()
{
    static Fake* fake = [] {
        auto* state = new Fake;
        state->clock.start();
        return state;
    }();
    return *fake;
}

QString FakeLogPath()
{
    return qEnvironmentVariable("DRAVIK_USB_FAKE");
}

int FakeSetting(const char* name, int fallback, int maximum)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value >= 0 && value <= maximum ? value : fallback;
}

int FakeInterfaces()
{
    return FakeSetting("DRAVIK_USB_FAKE_INTERFACES", 3, 32);
}

int FakeStallMs()
{
    return FakeSetting("DRAVIK_USB_FAKE_STALL_MS", 0, 60000);
}

bool FakeOn()
{
    return !FakeLogPath().isEmpty();
}

void FakeLog(const QString& line)
{
    Fake& fake = FakeState();
    QMutexLocker lock(&fake.mutex);
    QFile file(FakeLogPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    file.write(QByteArray::number(fake.clock.elapsed()) + ' ' + line.toUtf8() + '\n');
}

UsbHandle FakeHandle()
{
    return reinterpret_cast<UsbHandle>(&FakeState().handleTag);
}

}  // namespace

bool UsbInit()
{
    if (FakeOn())
        return true;
    return libusb_init(nullptr) == 0;
}

void UsbExit()
{
    if (FakeOn()) {
        FakeLog(QStringLiteral("exit"));
        return;
    }
    libusb_exit(nullptr);
}

int UsbControlEndpoint(const UsbConfigInfo& config)
{
    const int position = config.interfaceCount > 2 ? 2 : 1;
    if (config.interfaceCount < 1 || position >= config.endpoints.size())
        return -1;
    const auto& altSettings = config.endpoints.at(position);
    if (altSettings.isEmpty() || altSettings.first().isEmpty())
        return -1;
    return altSettings.first().first();
}

UsbDeviceList::UsbDeviceList()
{
    if (FakeOn()) {
        m_count = 1;
        return;
    }
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(nullptr, &list);
    if (count < 0)
        return;
    m_list = list;
    m_count = int(count);
}

UsbDeviceList::~UsbDeviceList()
{
    if (m_list)
        libusb_free_device_list(static_cast<libusb_device**>(m_list), 1);
}

bool UsbDeviceList::Descriptor(int index, quint16* vendor, quint16* product) const
{
    if (index < 0 || index >= count())
        return false;
    if (FakeOn()) {
        *vendor = kFakeVendor;
        *product = kFakeProduct;
        return true;
    }
    libusb_device_descriptor descriptor;
    if (libusb_get_device_descriptor(static_cast<libusb_device**>(m_list)[index], &descriptor) != 0)
        return false;
    *vendor = descriptor.idVendor;
    *product = descriptor.idProduct;
    return true;
}

int UsbDeviceList::Open(int index, UsbHandle* handle) const
{
    *handle = nullptr;
    if (index < 0 || index >= count())
        return LIBUSB_ERROR_NOT_FOUND;
    if (FakeOn()) {
        FakeLog(QStringLiteral("open"));
        *handle = FakeHandle();
        return 0;
    }
    const int result = libusb_open(static_cast<libusb_device**>(m_list)[index], handle);
    if (result == 0)
        libusb_set_auto_detach_kernel_driver(*handle, 1);
    else
        *handle = nullptr;
    return result;
}

int UsbReadConfig(UsbHandle handle, UsbConfigInfo* config)
{
    *config = UsbConfigInfo();
    if (!handle)
        return LIBUSB_ERROR_INVALID_PARAM;
    if (FakeOn()) {
        // The interface at position i has one alternate setting with one
        // OUT endpoint at address i + 1.
        config->interfaceCount = FakeInterfaces();
        for (int i = 0; i < config->interfaceCount; ++i)
            config->endpoints.append(QVector<QVector<int>>{QVector<int>{i + 1}});
        return 0;
    }
    libusb_config_descriptor* descriptor = nullptr;
    const int result = libusb_get_config_descriptor(libusb_get_device(handle), 0, &descriptor);
    if (result != 0 || !descriptor)
        return result != 0 ? result : LIBUSB_ERROR_OTHER;
    config->interfaceCount = descriptor->bNumInterfaces;
    for (int i = 0; i < descriptor->bNumInterfaces; ++i) {
        const libusb_interface& interface = descriptor->interface[i];
        QVector<QVector<int>> settings;
        for (int a = 0; a < interface.num_altsetting; ++a) {
            const libusb_interface_descriptor& setting = interface.altsetting[a];
            QVector<int> addresses;
            for (int e = 0; e < setting.bNumEndpoints; ++e)
                addresses.append(setting.endpoint[e].bEndpointAddress);
            settings.append(addresses);
        }
        config->endpoints.append(settings);
    }
    libusb_free_config_descriptor(descriptor);
    return 0;
}

int UsbClaimInterface(UsbHandle handle, int number)
{
    if (FakeOn()) {
        FakeLog(QStringLiteral("claim %1").arg(number));
        return 0;
    }
    return libusb_claim_interface(handle, number);
}

int UsbReleaseInterface(UsbHandle handle, int number)
{
    if (FakeOn()) {
        FakeLog(QStringLiteral("release %1").arg(number));
        return 0;
    }
    return libusb_release_interface(handle, number);
}

void UsbClose(UsbHandle handle)
{
    if (FakeOn()) {
        FakeLog(QStringLiteral("close"));
        return;
    }
    libusb_close(handle);
}

int UsbBulkOut(UsbHandle handle, int endpoint, const QByteArray& data, int timeoutMs)
{
    if (FakeOn()) {
        if (FakeStallMs() > 0)
            QThread::msleep(ulong(qMin(FakeStallMs(), timeoutMs)));
        FakeLog(QStringLiteral("bulk 0x%1 %2")
                    .arg(endpoint & 0xff, 2, 16, QLatin1Char('0'))
                    .arg(QString::fromLatin1(data.toHex())));
        return 0;
    }
    int transferred = 0;
    QByteArray buffer = data;
    return libusb_bulk_transfer(handle, static_cast<unsigned char>(endpoint),
                                reinterpret_cast<unsigned char*>(buffer.data()), buffer.size(),
                                &transferred, static_cast<unsigned int>(timeoutMs));
}

QString UsbErrorName(int code)
{
    return QString::fromLatin1(libusb_error_name(code));
}

QString UsbErrorDescription(int code)
{
    return QString::fromLatin1(libusb_strerror(static_cast<libusb_error>(code)));
}

}  // namespace platform
