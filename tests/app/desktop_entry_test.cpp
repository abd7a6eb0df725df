// The whiteboard's desktop entry and file types: what the desktop's opener
// learns from them, the Exec line of awkward program paths, a second start
// that changes nothing, and links where our files or folders belong.
#include "app/desktop_entry.h"
#include "platform/launch.h"
#include "tests/support/zip_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ino_t Inode(const QString& path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

QString ExecLine(const QByteArray& entry)
{
    for (const QByteArray& line : entry.split('\n'))
        if (line.startsWith("Exec="))
            return QString::fromUtf8(line.mid(5));
    return QString();
}

}  // namespace

class DesktopEntryTest : public QObject
{
    Q_OBJECT

private slots:
    // After the install the desktop's own tools find the whiteboard as the
    // program for each of the three extensions.
    void openerFindsTheWhiteboard()
    {
        if (platform::ResolveProgram("update-mime-database").isEmpty()
            || platform::ResolveProgram("update-desktop-database").isEmpty())
            QSKIP("the desktop's database tools are not installed");
        QTemporaryDir home;
        QVERIFY(InstallDesktopIntegration(home.path(), "/opt/Dravik/Dravik").isEmpty());

        const QByteArray globs = ReadAll(home.path() + "/mime/globs2");
        for (const char* line : {"application/x-dravik-package:*.iic", "application/x-dravik-project:*.vk",
                                 "application/x-dravik-lesson:*.vj"})
            QVERIFY2(globs.contains(line), line);
        const QByteArray subclasses = ReadAll(home.path() + "/mime/subclasses");
        QVERIFY(subclasses.contains("application/x-dravik-package application/zip"));

        const QByteArray cache = ReadAll(home.path() + "/applications/mimeinfo.cache");
        for (const char* type : {kPackageMimeType, kProjectMimeType, kLessonMimeType})
            QVERIFY2(cache.contains(QByteArray(type) + "=dravik.desktop;"), type);

        if (!platform::ResolveProgram("xdg-mime").isEmpty()) {
            QProcess query;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("XDG_DATA_HOME", home.path());
            environment.insert("XDG_CONFIG_HOME", home.path() + "/config");
            query.setProcessEnvironment(environment);
            query.start("xdg-mime", {"query", "default", kPackageMimeType});
            QVERIFY(query.waitForFinished(20000));
            QCOMPARE(query.readAllStandardOutput().trimmed(), QByteArray("dravik.desktop"));
        }
    }

    // The Exec line starts the program named, whatever its path holds.
    void execLineQuotesThePath_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << "/opt/Dravik/Dravik" << "\"/opt/Dravik/Dravik\" %f";
        QTest::newRow("blank") << "/home/a b/Dravik" << "\"/home/a b/Dravik\" %f";
        QTest::newRow("quote and dollar") << "/x/\"$y`/Dravik" << "\"/x/\\\\\"\\\\$y\\\\`/Dravik\" %f";
        QTest::newRow("backslash") << "/x\\y/Dravik" << "\"/x\\\\\\\\y/Dravik\" %f";
        QTest::newRow("percent") << "/x/100%/Dravik" << "\"/x/100%%/Dravik\" %f";
    }

    void execLineQuotesThePath()
    {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        QCOMPARE(ExecLine(DesktopEntryText(program)), exec);
    }

    // A normal start finds everything in place and writes nothing.
    void secondInstallWritesNothing()
    {
        QTemporaryDir home;
        QVERIFY(InstallDesktopIntegration(home.path(), "/opt/Dravik/Dravik").isEmpty());
        const QString entry = home.path() + "/applications/dravik.desktop";
        const QString types = home.path() + "/mime/packages/dravik.xml";
        QCOMPARE(ReadAll(entry), DesktopEntryText("/opt/Dravik/Dravik"));
        QCOMPARE(ReadAll(types), MimeTypesText());
        // A write goes to a new file renamed over the old one: a new inode.
        const ino_t entryNode = Inode(entry);
        const ino_t typesNode = Inode(types);
        QVERIFY(entryNode != 0 && typesNode != 0);

        QVERIFY(InstallDesktopIntegration(home.path(), "/opt/Dravik/Dravik").isEmpty());
        QCOMPARE(Inode(entry), entryNode);
        QCOMPARE(Inode(types), typesNode);

        // A moved program gets its entry rewritten.
        QVERIFY(InstallDesktopIntegration(home.path(), "/srv/Dravik").isEmpty());
        QCOMPARE(ReadAll(entry), DesktopEntryText("/srv/Dravik"));
    }

    // A link where our file or folder belongs is refused, and nothing is
    // written through it.
    void linksAreRefused_data()
    {
        QTest::addColumn<QString>("linkPath");
        QTest::addColumn<bool>("folder");
        QTest::newRow("entry file") << "applications/dravik.desktop" << false;
        QTest::newRow("types file") << "mime/packages/dravik.xml" << false;
        QTest::newRow("applications folder") << "applications" << true;
        QTest::newRow("types folder") << "mime/packages" << true;
    }

    void linksAreRefused()
    {
        QFETCH(QString, linkPath);
        QFETCH(bool, folder);
        QTemporaryDir home;
        QTemporaryDir elsewhere;
        const QString target = elsewhere.path() + (folder ? QString() : "/victim");
        if (!folder)
            QVERIFY(WriteTestFile(target, "keep"));
        const QString link = home.path() + "/" + linkPath;
        QVERIFY(QDir().mkpath(QFileInfo(link).path()));
        QVERIFY(QFile::link(target, link));

        QVERIFY(!InstallDesktopIntegration(home.path(), "/opt/Dravik/Dravik").isEmpty());
        if (folder)
            QCOMPARE(QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        else
            QCOMPARE(ReadAll(target), QByteArray("keep"));
        QVERIFY(QFileInfo(link).isSymLink());
    }
};

QTEST_GUILESS_MAIN(DesktopEntryTest)

#include "desktop_entry_test.moc"
