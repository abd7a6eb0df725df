// Reading the command line's file argument, the contents player's address,
// and the application object's file-open events.
#include "app/startup.h"
#include "app/ui/single_application.h"

#include <QFileOpenEvent>
#include <QSignalSpy>
#include <QTest>

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void fileArgument_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("baseName");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("project");
        QTest::addColumn<bool>("package");

        QTest::newRow("project") << "/home/u/lesson.vk" << "lesson" << "vk" << true << false;
        QTest::newRow("other project kind") << "/home/u/lesson.vj" << "lesson" << "vj" << true << false;
        QTest::newRow("package") << "/home/u/x&y+z%.iic" << "x&y+z%" << "iic" << false << true;
        QTest::newRow("dots in folder names") << "/home/my.files/a.vk" << "a" << "vk" << true << false;
        QTest::newRow("second dot in the name") << "/home/u/a.b.vk" << "a" << "b" << false << false;
        QTest::newRow("no dot") << "/home/u.v/vk" << "vk" << "" << false << false;
        QTest::newRow("kind is case-sensitive") << "/home/u/a.VK" << "a" << "VK" << false << false;
        QTest::newRow("bare name") << "a.iic" << "a" << "iic" << false << true;
        QTest::newRow("nothing") << "" << "" << "" << false << false;
        QTest::newRow("switch") << "/noAutoUpdate" << "noAutoUpdate" << "" << false << false;
    }

    void fileArgument()
    {
        QFETCH(QString, path);
        const FileArgument argument = ReadFileArgument(path);
        QCOMPARE(argument.path, path);
        QTEST(argument.baseName, "baseName");
        QTEST(argument.extension, "extension");
        QTEST(argument.isProject(), "project");
        QTEST(argument.isContentsPackage(), "package");
    }

    // The switch and the file are found wherever they stand.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("updateCheck");
        QTest::addColumn<QString>("file");

        QTest::newRow("nothing") << QStringList() << true << "";
        QTest::newRow("file alone") << QStringList{"/u/a.vk"} << true << "/u/a.vk";
        QTest::newRow("switch alone") << QStringList{"/noAutoUpdate"} << false << "";
        QTest::newRow("switch, then file") << QStringList{"/noAutoUpdate", "/u/a.vk"} << false << "/u/a.vk";
        QTest::newRow("file, then switch") << QStringList{"/u/a.vk", "/noAutoUpdate"} << false << "/u/a.vk";
        QTest::newRow("two files name none") << QStringList{"/u/a.vk", "/u/b.vk"} << true << "";
        QTest::newRow("two files and the switch") << QStringList{"/u/a.vk", "/noAutoUpdate", "/u/b.vk"} << false << "";
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        const CommandLine line = ReadCommandLine(arguments);
        QTEST(line.updateCheck, "updateCheck");
        QTEST(line.file.path, "file");
    }

    void playerAddress_data()
    {
        QTest::addColumn<QString>("baseName");
        QTest::addColumn<QString>("url");
        QTest::newRow("plain") << "lesson1" << "http://127.0.0.1:8080/?ist=lesson1&OEM=NORVANE";
        QTest::newRow("query characters") << "x&y+z%" << "http://127.0.0.1:8080/?ist=x%26y%2Bz%25&OEM=NORVANE";
        QTest::newRow("fragment mark") << "a#b" << "http://127.0.0.1:8080/?ist=a%23b&OEM=NORVANE";
        // "%" goes first, so the escapes made after it stay as they are.
        QTest::newRow("escape-like name") << "%23" << "http://127.0.0.1:8080/?ist=%2523&OEM=NORVANE";
    }

    void playerAddress()
    {
        QFETCH(QString, baseName);
        QTEST(ContentsPlayerUrl(baseName).toString(QUrl::FullyEncoded), "url");
    }

    void fileOpenEvent_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("kind");
        QTest::newRow("project") << "/a/lesson.vk" << 1;
        QTest::newRow("package") << "/a/lesson.iic" << 2;
        QTest::newRow("ends in vk inside a longer ending") << "/a/lesson.xvk" << 1;
        QTest::newRow("other project kind is not taken") << "/a/lesson.vj" << 0;
        QTest::newRow("something else") << "/a/notes.txt" << 0;
    }

    void fileOpenEvent()
    {
        QFETCH(QString, path);
        QFETCH(int, kind);
        auto* app = static_cast<SingleApplication*>(QCoreApplication::instance());
        app->clearPending();
        QSignalSpy projects(app, &SingleApplication::OpenISPFile);
        QSignalSpy packages(app, &SingleApplication::OpenIICFile);

        QFileOpenEvent event(path);
        QVERIFY(QCoreApplication::sendEvent(app, &event));
        QCOMPARE(app->pendingKind(), kind);
        QCOMPARE(projects.size(), kind == 1 ? 1 : 0);
        QCOMPARE(packages.size(), kind == 2 ? 1 : 0);
        if (kind != 0)
            QCOMPARE(app->pendingPath(), path);
    }
};

int main(int argc, char* argv[])
{
    SingleApplication app(argc, argv);
    StartupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "startup_test.moc"
