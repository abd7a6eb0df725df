#include "collab/konnexa_binding.h"

#include "platform/library.h"

#include <QDebug>

namespace coll {

const char* const kKonnexaFile = "Konnexa.dll";

bool BindKonnexa(KonnexaLibrary& konnexa)
{
    QStringList missing;
    const platform::LibraryBinding result =
        platform::BindLibrary(konnexa, QString::fromLatin1(kKonnexaFile), &missing);
    if (result == platform::LibraryBinding::MissingFunction)
        qDebug().noquote() << kKonnexaFile << "lacks" << missing.join(QStringLiteral(", "));
    return result == platform::LibraryBinding::Bound;
}

KonnexaLibrary& SharedKonnexa()
{
    static KonnexaLibrary konnexa;
    return konnexa;
}

QStringList KonnexaFunctionNames()
{
    return platform::BindingFunctionNames<KonnexaLibrary>();
}

}  // namespace coll
