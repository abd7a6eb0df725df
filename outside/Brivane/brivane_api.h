#pragma once

// The update bridge's functions as the whiteboard resolves them by name from
// "Brivane.dll" (libBrivane.so). The bridge asks the update server for
// "UpdateVersion.inf", tells the whiteboard through its callback whether a
// newer version is offered, and starts the updater with a parameter file.
//
// Where the update server is: the environment variable DRAVIK_UPDATE_SERVER,
// else the key "Server" of group "Update" in "UpdateServer.ini" beside the
// settings file (common application data, "Norvane/Dravik"), else the address
// handed to ConnectAddressServer. With none, no update is reported.

#include <QString>

#if defined(BRIVANE_LIBRARY_BUILD)
#define BRIVANE_EXPORT __attribute__((visibility("default")))
#else
#define BRIVANE_EXPORT
#endif

// Called with true when the server offers a version newer than the installed
// one (or a downloaded one waits to be installed), false otherwise. It is
// called on the thread that called ConnectAddressServer, from its event loop.
using UpdateCallback = void (*)(bool updateAvailable);

using InitialParameterFunction = void (*)(const QString& maker, const QString& product,
                                          const QString& majorVersion, const QString& platformName,
                                          const QString& fullVersion, const QString& applicationFolder,
                                          const QString& programFile, const QString& languageCode,
                                          UpdateCallback callback);
using ConnectAddressServerFunction = void (*)(const QString& url);
using GetUpdateServerCountFunction = int (*)();
using GetUpdateServerURLFunction = QString (*)(int index);
using ExecuteManagerFunction = bool (*)();
using NextTimeCheckFunction = bool (*)();

extern "C" {
// Keeps the product data for the parameter file. Call once, first.
BRIVANE_EXPORT void InitialParameter(const QString& maker, const QString& product, const QString& majorVersion,
                                     const QString& platformName, const QString& fullVersion,
                                     const QString& applicationFolder, const QString& programFile,
                                     const QString& languageCode, UpdateCallback callback);
// Starts the check; the answer comes later through the callback.
BRIVANE_EXPORT void ConnectAddressServer(const QString& url);
BRIVANE_EXPORT int GetUpdateServerCount();
BRIVANE_EXPORT QString GetUpdateServerURL(int index);
// Writes the parameter file and starts the updater with it; false when the
// updater cannot be started.
BRIVANE_EXPORT bool ExecuteManager();
// True when the user asked to be asked again later and that day has not come.
BRIVANE_EXPORT bool NextTimeCheck();
}
