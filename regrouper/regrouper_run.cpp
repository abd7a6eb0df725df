#include "regrouper/regrouper_run.h"

#include "platform/folders.h"
#include "regrouper/event_regrouper.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

enum ExitCode {
    kWritten = 0,
    kNoFolder = 1,
    kNotWritten = 2,
};

}  // namespace

QString DefaultContentsFolder()
{
    const QString base = QStringLiteral("%1%2").arg(platform::KnownFolderPath(platform::KnownFolder::Temp),
                                                     QStringLiteral("/Orbel5/"));
    return QStringLiteral("%1/%2").arg(base, QStringLiteral("20181227_153335"));
}

int RunRegrouper(const QString& folder, QTextStream& err)
{
    if (!QFileInfo(folder).isDir()) {
        err << QStringLiteral("Regrouper: the folder \"%1\" does not exist; nothing was written.").arg(folder)
            << Qt::endl;
        return kNoFolder;
    }

    EventRegrouper regrouper;
    regrouper.initSlotTables();
    if (!regrouper.readNotesList(folder))
        err << QStringLiteral("Regrouper: warning: no note list \"%1/Notes.xml\"; writing an event file without notes.")
                   .arg(folder)
            << Qt::endl;
    regrouper.readNoteEvents(folder);
    regrouper.buildSlotGroups();
    regrouper.sortSlotLists();
    qCDebug(lcRegrouper) << "#2 finished~";
    for (const QString& warning : regrouper.warnings())
        err << QStringLiteral("Regrouper: warning: ") << warning << Qt::endl;

    QString errorText;
    const bool written = regrouper.writeNewEvent(folder, &errorText);
    regrouper.clearAllTables();
    if (!written) {
        err << QStringLiteral("Regrouper: ") << errorText << Qt::endl;
        return kNotWritten;
    }
    return kWritten;
}
