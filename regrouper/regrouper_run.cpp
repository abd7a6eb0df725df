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

const QString kMaxOutputOption = QStringLiteral("--max-output-bytes");

}  // namespace

QString DefaultContentsFolder()
{
    const QString base = QStringLiteral("%1%2").arg(platform::KnownFolderPath(platform::KnownFolder::Temp),
                                                     QStringLiteral("/Orbel5/"));
    return QStringLiteral("%1/%2").arg(base, QStringLiteral("20181227_153335"));
}

QString RegrouperUsage()
{
    return QStringLiteral("usage: Regrouper [%1 N] [folder]\n"
                          "  rebuilds folder/New_Event.xml from the folder's note list and note event files.\n"
                          "  %1 N  write nothing when the file would be larger than N bytes (default %2)")
        .arg(kMaxOutputOption, QString::number(kDefaultMaxOutputBytes));
}

bool ParseRegrouperArguments(const QStringList& arguments, RegrouperOptions* options, QString* error)
{
    *options = RegrouperOptions();
    bool folderGiven = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        QString value;
        if (argument == kMaxOutputOption) {
            if (i + 1 >= arguments.size()) {
                *error = QStringLiteral("%1 needs a number of bytes").arg(kMaxOutputOption);
                return false;
            }
            value = arguments.at(++i);
        } else if (argument.startsWith(kMaxOutputOption + QLatin1Char('='))) {
            value = argument.mid(kMaxOutputOption.size() + 1);
        } else if (argument.startsWith(QLatin1String("--")) || folderGiven) {
            *error = QStringLiteral("unexpected argument \"%1\"").arg(argument);
            return false;
        } else {
            options->folder = argument;
            folderGiven = true;
            continue;
        }
        bool ok = false;
        options->maxOutputBytes = value.toLongLong(&ok);
        if (!ok || options->maxOutputBytes <= 0) {
            *error = QStringLiteral("%1 needs a positive number of bytes, not \"%2\"").arg(kMaxOutputOption, value);
            return false;
        }
    }
    if (!folderGiven)
        options->folder = DefaultContentsFolder();
    return true;
}

int RunRegrouper(const QString& folder, QTextStream& err, qint64 maxOutputBytes)
{
    if (!QFileInfo(folder).isDir()) {
        err << QStringLiteral("Regrouper: the folder \"%1\" does not exist; nothing was written.").arg(folder)
            << Qt::endl;
        return kNoFolder;
    }

    // "unzip" restores links from a package: the output is never written
    // through one, wherever it leads.
    const QString output = folder + QStringLiteral("/New_Event.xml");
    if (QFileInfo(output).isSymLink()) {
        err << QStringLiteral("Regrouper: \"%1\" is a link; nothing was written.").arg(output) << Qt::endl;
        return kNotWritten;
    }

    EventRegrouper regrouper;
    regrouper.initSlotTables();
    regrouper.setOutputLimit(maxOutputBytes);
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
        if (regrouper.outputTooLarge())
            err << QStringLiteral("Regrouper: a larger file may be allowed with %1.").arg(kMaxOutputOption)
                << Qt::endl;
        return kNotWritten;
    }
    return kWritten;
}
