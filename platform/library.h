#pragma once

#include <QLibrary>
#include <QString>

// Outside libraries are bound at run time by their Windows file name
// ("Vidorra.dll"); our stand-in for each is a shared library beside the program
// ("libVidorra.so"). A library that is missing leaves its feature unavailable,
// exactly as a missing DLL does.
namespace platform {

// "X.dll" -> "<library folder>/libX.so". The library folder is the program's
// folder, or DRAVIK_LIBRARY_DIR when that is set (tests use it to hide a library).
QString OutsideLibraryPath(const QString& windowsLibraryName);

// Sets the file name of `library` from the Windows name and loads it.
// Returns false (and leaves the library unloaded) when it cannot be loaded.
bool LoadOutsideLibrary(QLibrary& library, const QString& windowsLibraryName);

// Resolves one exported function by name into a typed pointer; nullptr when the
// library is not loaded or does not export the name.
template <typename Function>
Function ResolveFunction(QLibrary& library, const char* name)
{
    if (!library.isLoaded())
        return nullptr;
    return reinterpret_cast<Function>(library.resolve(name));
}

}  // namespace platform
