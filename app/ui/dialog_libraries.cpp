#include "app/ui/dialog.h"
#include "app/ui/outside_libraries.h"

#include "platform/folders.h"
#include "platform/library.h"

#include <QCoreApplication>
#include <QDebug>

QLibrary& CollaborationLibrary()
{
    return coll::SharedKonnexa().library;
}

QLibrary& CaptureLibrary()
{
    static QLibrary library;
    return library;
}

// The capture library counts as loaded only when every operation the
// recording calls resolves; a library lacking one is unloaded again, so no call
// can go through a missing function. GetDeviceList only refreshes the
// library's own device table and is not required.
void Dialog::LoadCaptureLibrary()
{
    QLibrary& library = CaptureLibrary();
    m_bCaptureLibLoaded = false;
    if (platform::LoadOutsideLibrary(library, QStringLiteral("Vidorra.dll"))) {
        ConfigSetting = platform::ResolveFunction<ConfigSettingFunction>(library, "ConfigSetting");
        StartRecording = platform::ResolveFunction<StartRecordingFunction>(library, "StartRecording");
        StopRecording = platform::ResolveFunction<StopRecordingFunction>(library, "StopRecording");
        ReadLineData = platform::ResolveFunction<ReadLineDataFunction>(library, "ReadLineData");
        DeviceSave = platform::ResolveFunction<DeviceSaveFunction>(library, "DeviceSave");
        GetDeviceList = platform::ResolveFunction<GetDeviceListFunction>(library, "GetDeviceList");
        if (ConfigSetting && StartRecording && StopRecording && ReadLineData && DeviceSave) {
            m_bCaptureLibLoaded = true;
            qDebug().noquote() << "exe : Success load Vidorra.dll";
            return;
        }
        qDebug().noquote() << "exe : Vidorra.dll lacks an operation of the recording";
        library.unload();
        ConfigSetting = nullptr;
        StartRecording = nullptr;
        StopRecording = nullptr;
        ReadLineData = nullptr;
        DeviceSave = nullptr;
        GetDeviceList = nullptr;
    }
    qDebug().noquote() << "exe : cannot load Vidorra.dll";
}

// Binds the update bridge and hands it the product data. A missing bridge is
// not reported: every call into it is skipped while its function is unbound.
void Dialog::LoadUpdateBridge()
{
    QLibrary& library = m_updateBridgeLibrary;
    if (platform::LoadOutsideLibrary(library, QStringLiteral("Brivane.dll")))
        qDebug().noquote() << "exe : Success load Brivane.dll";
    InitialParameter = platform::ResolveFunction<InitialParameterFunction>(library, "InitialParameter");
    ConnectAddressServer = platform::ResolveFunction<ConnectAddressServerFunction>(library, "ConnectAddressServer");
    GetUpdateServerCount = platform::ResolveFunction<GetUpdateServerCountFunction>(library, "GetUpdateServerCount");
    GetUpdateServerURL = platform::ResolveFunction<GetUpdateServerURLFunction>(library, "GetUpdateServerURL");
    ExecuteManager = platform::ResolveFunction<ExecuteManagerFunction>(library, "ExecuteManager");

    if (InitialParameter) {
        InitialParameter(QStringLiteral("NORVANE"), QStringLiteral("Dravik"), QStringLiteral("5.0"),
                         QStringLiteral("Linux"), QString::fromLatin1(kProgramVersion),
                         platform::ProgramFolder(), QStringLiteral("Dravik.exe"), m_languageCode,
                         &UpdateCheckCallback);
    }
    NextTimeCheck = platform::ResolveFunction<NextTimeCheckFunction>(library, "NextTimeCheck");
}
