#include "app/update_bridge_functions.h"

#include <QFile>
#include <QTextStream>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

// Writes the arguments it receives, one per line, to the file named by
// DRAVIK_FAKE_BRIDGE_LOG, so a test can check what the window handed over.
FAKE_EXPORT void InitialParameter(const QString& maker, const QString& product, const QString& major,
                                  const QString& platform, const QString& version, const QString& folder,
                                  const QString& program, const QString& language, UpdateCallback callback)
{
    QFile file(qEnvironmentVariable("DRAVIK_FAKE_BRIDGE_LOG"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    QTextStream out(&file);
    for (const QString& value : {maker, product, major, platform, version, folder, program, language})
        out << value << '\n';
    out << (callback ? "callback" : "no callback") << '\n';
}
FAKE_EXPORT void ConnectAddressServer(const QString&) {}
FAKE_EXPORT int GetUpdateServerCount() { return 0; }
FAKE_EXPORT QString GetUpdateServerURL(int) { return QString(); }
FAKE_EXPORT bool ExecuteManager() { return false; }
FAKE_EXPORT bool NextTimeCheck() { return false; }
