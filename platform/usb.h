#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

struct libusb_device_handle;

// The one place that talks to the USB library. Everything above it sees
// plain numbers and an opaque handle. With DRAVIK_USB_FAKE=<file> the bus is
// replaced by one pen module whose every call is appended to that file, so
// the link can be exercised without hardware.
namespace platform {

using UsbHandle = libusb_device_handle*;

// Initialises and ends the library's default context. UsbInit is true on
// success.
bool UsbInit();
void UsbExit();

// The endpoints of one configuration, by interface position, then alternate
// setting, then endpoint: the endpoint addresses.
struct UsbConfigInfo {
    int interfaceCount = 0;
    QVector<QVector<QVector<int>>> endpoints;
};

// The endpoint the module's control interface (number 2) is written on: the
// interface at position 2 when there are more than two, otherwise position 1;
// its first alternate setting, its first endpoint. -1 when any of these is
// missing.
int UsbControlEndpoint(const UsbConfigInfo& config);

// A snapshot of the devices on the bus; the devices are released with it.
class UsbDeviceList
{
public:
    UsbDeviceList();
    ~UsbDeviceList();
    UsbDeviceList(const UsbDeviceList&) = delete;
    UsbDeviceList& operator=(const UsbDeviceList&) = delete;

    // False when the bus could not be listed.
    bool isValid() const { return m_count >= 0; }
    int count() const { return m_count < 0 ? 0 : m_count; }
    // False when the device descriptor cannot be read.
    bool Descriptor(int index, quint16* vendor, quint16* product) const;
    // The library's result (0 on success); the handle is set on success.
    // The kernel driver is detached automatically when an interface is claimed.
    int Open(int index, UsbHandle* handle) const;

private:
    void* m_list = nullptr;
    int m_count = -1;
};

// Reads configuration descriptor 0 of the handle's device. 0 on success.
int UsbReadConfig(UsbHandle handle, UsbConfigInfo* config);
int UsbClaimInterface(UsbHandle handle, int number);
int UsbReleaseInterface(UsbHandle handle, int number);
void UsbClose(UsbHandle handle);
// One bulk transfer out; the library's result.
int UsbBulkOut(UsbHandle handle, int endpoint, const QByteArray& data, int timeoutMs);
QString UsbErrorName(int code);
QString UsbErrorDescription(int code);

}  // namespace platform
