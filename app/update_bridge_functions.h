#pragma once

#include <QString>

// The functions of the update bridge library ("Brivane.dll"), resolved by name
// at run time. Plain C linkage; Qt strings are passed by value.
extern "C" {
// Called by the bridge with whether an update is available.
typedef void (*UpdateCallback)(bool);
// maker, product, major version, platform, full version, program folder,
// program file, language code, callback
typedef void (*InitialParameterFunction)(QString, QString, QString, QString, QString, QString, QString,
                                         QString, UpdateCallback);
typedef void (*ConnectAddressServerFunction)(QString);
typedef int (*GetUpdateServerCountFunction)();
typedef QString (*GetUpdateServerURLFunction)(int);
typedef void (*ExecuteManagerFunction)();
typedef bool (*NextTimeCheckFunction)();
}
