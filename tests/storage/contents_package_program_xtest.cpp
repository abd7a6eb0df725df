// A contents package written by the board's save, handed to the whiteboard
// program as its argument: it is unpacked into the player's folder and the
// browser is sent to the player on it.
#include "storage/contents_package.h"
#include "storage/pdf_libraries.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/zip_fixture.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QtTest>

class ContentsPackageProgramXTest : public QObject
{
    Q_OBJECT

private slots:
    void packagePlays()
    {
        ScopedFolderRoot root;
        const QString work = root.path() + QStringLiteral("/work/");
        const QString recordName = QStringLiteral("20260102030405");
        QVERIFY(WriteTestFile(work + recordName + QStringLiteral(".mp4"), QByteArray(4000, 'v')));
        QImage page(640, 480, QImage::Format_RGB32);
        page.fill(Qt::white);
        QVERIFY(page.save(work + QStringLiteral("A.jpg")));

        storage::ContentsSaveInput input;
        input.recordType = 0;
        input.workFolder = work;
        input.recordName = recordName;
        input.recordFolder = root.path() + QStringLiteral("/Recordings");
        input.stamp = QStringLiteral("20260102_030405");
        NoteInfo note;
        note.name = note.path = QStringLiteral("WhiteBoard");
        note.create_data = QStringLiteral("20260102030000123");
        note.imagePath = work + QStringLiteral("A.jpg");
        note.width = 640;
        note.height = 480;
        input.notes = {note};
        input.visits = {{0, note.name, note.create_data, QStringLiteral("0")}};
        input.boardSize = input.pdf.view = QSize(640, 480);
        storage::PdfExporterLibrary& exporter = storage::SharedPdfExporter();
        storage::BindPdfExporter(exporter);
        const storage::ContentsSaveResult saved =
            storage::SaveContentsPackage(input, exporter, [](const QString&, int) {});
        QVERIFY2(saved.packageWritten, qPrintable(saved.failure));

        QProcess list;
        list.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), saved.savedPath});
        QVERIFY(list.waitForFinished(20000));
        QStringList entries = QString::fromUtf8(list.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        entries.sort();
        QCOMPARE(entries.size(), 7);

        // The browser is a stand-in that notes where it was sent; unzip is
        // the system's.
        const QString fakes = root.path() + QStringLiteral("/fakebin");
        QVERIFY(WriteTestFile(fakes + QStringLiteral("/xdg-open"),
                              "#!/bin/sh\nprintf '%s\\n' \"$1\" > \"$FAKE_LOG_DIR/browser.args\"\n",
                              kExecutablePermissions));
        QVERIFY(WriteTestFile(root.path() + QStringLiteral("/ProgramFiles/Norvane/Dravik/Player/index.html"),
                              "<html></html>"));
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("DRAVIK_NO_MODAL"), QStringLiteral("1"));
        environment.insert(QStringLiteral("PATH"), fakes + QLatin1Char(':') + qEnvironmentVariable("PATH"));
        environment.insert(QStringLiteral("FAKE_LOG_DIR"), root.path());

        RunningProgram player;
        QVERIFY(player.start(QStringLiteral("Dravik"), {saved.savedPath}, environment));
        QCOMPARE(player.waitForExit(30000), 0);

        const QString unpacked = root.path() + QStringLiteral("/Temp/Orbel5 Player/20260102_030405");
        QStringList files = QDir(unpacked).entryList(QDir::Files);
        files.sort();
        QCOMPARE(files, entries);
        QTRY_COMPARE_WITH_TIMEOUT(ReadTestFile(root.path() + QStringLiteral("/browser.args")),
                                  QByteArray("http://127.0.0.1:8080/?ist=20260102_030405&OEM=NORVANE\n"), 10000);
    }
};

QTEST_MAIN(ContentsPackageProgramXTest)
#include "contents_package_program_xtest.moc"
