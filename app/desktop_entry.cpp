#include "app/desktop_entry.h"

#include "platform/folders.h"
#include "platform/launch.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

const char kPackageMimeType[] = "application/x-dravik-package";
const char kProjectMimeType[] = "application/x-dravik-project";
const char kLessonMimeType[] = "application/x-dravik-lesson";

namespace {

const QString kEntryName = QStringLiteral("dravik.desktop");
const QString kTypesName = QStringLiteral("dravik.xml");
const int kRefreshTimeoutMs = 30000;

// An argument of an Exec line: quoted, with the characters the desktop entry
// format reserves inside quotes escaped, then escaped once more as a string
// value of the entry file.
QString ExecArgument(const QString& argument)
{
    QString quoted;
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted = QLatin1Char('"') + quoted + QLatin1Char('"');
    QString value;
    for (const QChar c : quoted) {
        if (c == QLatin1Char('\\'))
            value += QLatin1String("\\\\");
        else if (c == QLatin1Char('%'))
            value += QLatin1String("%%");  // a field code otherwise
        else if (c == QLatin1Char('\n'))
            value += QLatin1String("\\n");
        else
            value += c;
    }
    return value;
}

// Where a link stands in for a file or folder, another account could steer
// our writes; only plain folders are made or entered.
QString PlainFolder(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return QStringLiteral("%1 is a link, not a folder.").arg(path);
    if (info.exists() && !info.isDir())
        return QStringLiteral("%1 is not a folder.").arg(path);
    if (!info.exists() && !QDir().mkpath(path))
        return QStringLiteral("%1 cannot be made.").arg(path);
    return QString();
}

enum class WriteResult { Unchanged, Written, Failed };

WriteResult WriteIfChanged(const QString& path, const QByteArray& text, QString* problem)
{
    const QFileInfo info(path);
    if (info.isSymLink() || (info.exists() && !info.isFile())) {
        *problem = QStringLiteral("%1 is a link or no file.").arg(path);
        return WriteResult::Failed;
    }
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.size() == text.size() && current.readAll() == text)
        return WriteResult::Unchanged;
    current.close();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        *problem = QStringLiteral("%1 cannot be written: %2").arg(path, file.errorString());
        return WriteResult::Failed;
    }
    return WriteResult::Written;
}

void Refresh(const QString& tool, const QString& folder)
{
    if (platform::ResolveProgram(tool).isEmpty())
        return;
    QByteArray output;
    const int code = platform::RunAndWait(tool, {folder}, kRefreshTimeoutMs, &output);
    if (code != 0)
        qDebug().noquote() << QStringLiteral("exe : %1 %2 ended with %3: %4").arg(tool, folder).arg(code).arg(QString::fromLocal8Bit(output).trimmed());
}

}  // namespace

QByteArray DesktopEntryText(const QString& programPath)
{
    const QStringList types{QLatin1String(kPackageMimeType), QLatin1String(kProjectMimeType),
                            QLatin1String(kLessonMimeType)};
    QStringList lines;
    lines << QStringLiteral("[Desktop Entry]") << QStringLiteral("Type=Application")
          << QStringLiteral("Name=Dravik") << QStringLiteral("Comment=Interactive whiteboard")
          << QStringLiteral("Exec=%1 %f").arg(ExecArgument(programPath)) << QStringLiteral("Terminal=false")
          << QStringLiteral("Categories=Education;") << QStringLiteral("MimeType=%1;").arg(types.join(QLatin1Char(';')));
    return lines.join(QLatin1Char('\n')).toUtf8() + '\n';
}

QByteArray MimeTypesText()
{
    struct Type {
        const char* name;
        const char* comment;
        const char* glob;
    };
    const Type types[] = {{kPackageMimeType, "Dravik contents package", "*.iic"},
                          {kProjectMimeType, "Dravik project", "*.vk"},
                          {kLessonMimeType, "Dravik lesson", "*.vj"}};
    QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    for (const Type& type : types) {
        // All three are zip archives: as a kind of zip, the extension decides
        // over the archive's own signature.
        text += QByteArray("  <mime-type type=\"") + type.name + "\">\n"
                + "    <comment>" + type.comment + "</comment>\n"
                + "    <sub-class-of type=\"application/zip\"/>\n"
                + "    <glob pattern=\"" + type.glob + "\" weight=\"60\"/>\n"
                + "  </mime-type>\n";
    }
    text += "</mime-info>\n";
    return text;
}

QString DesktopDataHome()
{
    if (!platform::FolderRoot().isEmpty())
        return platform::KnownFolderPath(platform::KnownFolder::Home) + QStringLiteral("/.local/share");
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString InstallDesktopIntegration(const QString& dataHome, const QString& programPath)
{
    const QString applications = dataHome + QStringLiteral("/applications");
    const QString mime = dataHome + QStringLiteral("/mime");
    const QString packages = mime + QStringLiteral("/packages");
    for (const QString& folder : {dataHome, applications, mime, packages}) {
        const QString problem = PlainFolder(folder);
        if (!problem.isEmpty())
            return problem;
    }
    QString problem;
    const WriteResult entry =
        WriteIfChanged(applications + QLatin1Char('/') + kEntryName, DesktopEntryText(programPath), &problem);
    if (entry == WriteResult::Failed)
        return problem;
    const WriteResult types = WriteIfChanged(packages + QLatin1Char('/') + kTypesName, MimeTypesText(), &problem);
    if (types == WriteResult::Failed)
        return problem;
    // The desktop's opener reads the caches, not our files: each is rebuilt
    // when its source changed, or when it was never built.
    if (entry == WriteResult::Written || !QFileInfo::exists(applications + QStringLiteral("/mimeinfo.cache")))
        Refresh(QStringLiteral("update-desktop-database"), applications);
    if (types == WriteResult::Written || !QFileInfo::exists(mime + QStringLiteral("/globs2")))
        Refresh(QStringLiteral("update-mime-database"), mime);
    return QString();
}
