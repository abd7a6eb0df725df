#pragma once

// The whiteboard's binding of the collaboration transport ("Konnexa.dll"):
// loaded by file name, every function resolved by name, all or nothing. A
// library that lacks one of the functions counts as not loaded, so no caller
// can ever reach a null function.

#include "outside/Konnexa/konnexa_api.h"

#include <QLibrary>
#include <QStringList>

namespace coll {

// The functions, listed once in the order they are resolved; the members and
// the names come from this one list.
#define DRAVIK_KONNEXA_FUNCTIONS(F)             \
    F(server_start, ServerStartFunction)         \
    F(server_close, ServerCloseFunction)         \
    F(server_delete, ServerDeleteFunction)       \
    F(soc_canReadLine, SocCanReadLineFunction)   \
    F(soc_readLine, SocReadLineFunction)         \
    F(soc_write, SocWriteFunction)               \
    F(soc_connectToHost, SocConnectToHostFunction) \
    F(soc_close, SocCloseFunction)               \
    F(soc_new, SocNewFunction)                   \
    F(soc_delete, SocDeleteFunction)             \
    F(soc_, SocFunction)

#define DRAVIK_KONNEXA_MEMBER(name, type) type name = nullptr;
#define DRAVIK_KONNEXA_VISIT(name, type) visit(#name, name);

struct KonnexaLibrary {
    QLibrary library;
    bool bound = false;
    DRAVIK_KONNEXA_FUNCTIONS(DRAVIK_KONNEXA_MEMBER)

    template <typename Visit>
    void forEachFunction(Visit visit)
    {
        DRAVIK_KONNEXA_FUNCTIONS(DRAVIK_KONNEXA_VISIT)
    }
};

#undef DRAVIK_KONNEXA_MEMBER
#undef DRAVIK_KONNEXA_VISIT
#undef DRAVIK_KONNEXA_FUNCTIONS

extern const char* const kKonnexaFile;  // "Konnexa.dll"

// Loads the library and resolves every name. Binding again first drops what
// was bound before. False (library unloaded, every function null) when the
// file does not load or lacks a name.
bool BindKonnexa(KonnexaLibrary& konnexa);

// The one binding of the program, kept for the whole process.
KonnexaLibrary& SharedKonnexa();

// The names the binding resolves, in order.
QStringList KonnexaFunctionNames();

}  // namespace coll
