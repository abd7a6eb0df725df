#pragma once

#include <QLibrary>

// Program-wide library objects of the outside libraries that live for the
// whole process (the update bridge's object is a member of Dialog).
QLibrary& CollaborationLibrary();  // "Konnexa.dll"
QLibrary& CaptureLibrary();        // "Vidorra.dll"

// Handed to the update bridge; the bridge calls it with whether an update is
// available.
void UpdateCheckCallback(bool updateAvailable);
