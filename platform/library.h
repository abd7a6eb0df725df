#pragma once

#include <QLibrary>
#include <QString>
#include <QStringList>

#include <type_traits>

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

enum class LibraryBinding {
    Bound,
    NotLoaded,        // the library file is missing or does not load
    MissingFunction,  // it loaded but lacks a name; it has been unloaded
};

// A binding is a struct with a `library`, a `bound` flag and a
// forEachFunction(visit) that hands every function pointer member to
// visit(name, member). Unbinding nulls every member and unloads the library.
template <typename Binding>
void UnbindLibrary(Binding& binding)
{
    binding.bound = false;
    binding.forEachFunction([](const char*, auto& slot) { slot = nullptr; });
    if (binding.library.isLoaded())
        binding.library.unload();
}

// Loads the library by its Windows name and resolves every function, all or
// nothing: a library that lacks one name is unloaded again and every member
// stays null, so no caller can reach a null function. `missing` receives the
// names that did not resolve.
template <typename Binding>
LibraryBinding BindLibrary(Binding& binding, const QString& windowsLibraryName, QStringList* missing = nullptr)
{
    UnbindLibrary(binding);
    if (!LoadOutsideLibrary(binding.library, windowsLibraryName))
        return LibraryBinding::NotLoaded;
    QStringList lacking;
    binding.forEachFunction([&](const char* name, auto& slot) {
        slot = ResolveFunction<std::decay_t<decltype(slot)>>(binding.library, name);
        if (!slot)
            lacking << QString::fromLatin1(name);
    });
    if (missing)
        *missing = lacking;
    if (!lacking.isEmpty()) {
        UnbindLibrary(binding);
        return LibraryBinding::MissingFunction;
    }
    binding.bound = true;
    return LibraryBinding::Bound;
}

// The names a binding resolves, in order.
template <typename Binding>
QStringList BindingFunctionNames()
{
    Binding binding;
    QStringList names;
    binding.forEachFunction([&](const char* name, auto&) { names << QString::fromLatin1(name); });
    return names;
}

}  // namespace platform
