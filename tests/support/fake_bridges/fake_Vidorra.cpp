#include "tools/capture_functions.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

FAKE_EXPORT void ConfigSetting(QString, QString, QString, QString, QString, int, int, int, int, int) {}
FAKE_EXPORT int StartRecording(int) { return 1; }
#ifndef FAKE_VIDORRA_LACKS_STOP
FAKE_EXPORT int StopRecording() { return 1; }
#endif
FAKE_EXPORT QString ReadLineData() { return QString(); }
FAKE_EXPORT void DeviceSave(QString) {}
FAKE_EXPORT void GetDeviceList() {}
