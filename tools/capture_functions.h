#pragma once

#include <QString>

// The functions of the capture controller library ("Vidorra.dll"), resolved by
// name at run time. Plain C linkage; Qt strings are passed by value.
extern "C" {
// folder, file name, camera, microphone, size ("WxH" or empty), mode, video
// quality, video frame rate, audio quality, audio bit rate
typedef void (*ConfigSettingFunction)(QString, QString, QString, QString, QString, int, int, int, int, int);
// record type 0 camera, 1 audio, 2 screen; non-zero when the recording runs
typedef int (*StartRecordingFunction)(int);
// non-zero when the recording finished and its file is complete
typedef int (*StopRecordingFunction)();
// the recorder's latest output line
typedef QString (*ReadLineDataFunction)();
// writes "deviceinfo.log" into the folder
typedef void (*DeviceSaveFunction)(QString);
// refreshes the library's table of the devices it lists
typedef void (*GetDeviceListFunction)();
}

// Title of the library's camera preview window; the whiteboard finds the
// window by it to place it.
constexpr char kCameraPreviewTitle[] = "Camera Preview";
