#include "storage/document_import.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>

// The import's page files and its extraction loop, without a window: where
// the files go, progress, the last flag, stopping and refused pages.
class DocumentImportTest : public QObject
{
    Q_OBJECT

    struct Run {
        QStringList pages;   // "<file name>|last|vertical"
        QList<int> progress;
        int endedEarly = 0;
        storage::PageExtractionResult result;
    };

    // Runs the loop over [first, end) with a stand-in library that writes a
    // small file per page, refuses the pages in `refused` and clears
    // `running` after `stopAfter` pages (-1: never).
    static Run Extract(const storage::ImportPageFiles& files, int first, int end, const QList<int>& refused,
                       int stopAfter = -1)
    {
        Run run;
        std::atomic_bool running{true};
        storage::PageExtractionJob job;
        job.source = QStringLiteral("/nowhere/report.pdf");
        job.files = files;
        job.first = first;
        job.end = end;
        job.vertical = true;
        storage::PageExtractionEvents events;
        events.progress = [&](int percent) { run.progress << percent; };
        events.page = [&](const QString& path, bool last, bool vertical) {
            run.pages << QStringLiteral("%1|%2|%3").arg(QFileInfo(path).fileName()).arg(last).arg(vertical);
            if (run.pages.size() == stopAfter)
                running = false;
        };
        events.endedEarly = [&] { ++run.endedEarly; };
        int calls = 0;
        run.result = storage::ExtractPages(
            job,
            [&](const QString& source, int page, const QString& target) {
                ++calls;
                if (source != job.source || refused.contains(page))
                    return 2;
                QFile file(target);
                return file.open(QIODevice::WriteOnly) && file.write("%PDF") == 4 ? 0 : 3;
            },
            running, events);
        return run;
    }

private slots:
    void pageFilesStayInTheOutputFolder_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("base");
        QTest::newRow("plain") << "report.pdf" << "report";
        QTest::newRow("upper-case ending") << "Report.PDF" << "Report";
        QTest::newRow("dots and spaces") << "unit 3. fractions.pdf" << "unit 3. fractions";
        QTest::newRow("name of dots") << "...pdf" << "document";
        QTest::newRow("single dot") << "..pdf" << "document";
        QTest::newRow("ending only") << ".pdf" << "document";
        QTest::newRow("backslash") << "..\\..\\x.pdf" << "document";
    }

    void pageFilesStayInTheOutputFolder()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, base);
        QTemporaryDir out;
        const QString root = out.path() + QLatin1Char('/');
        const storage::ImportPageFiles files = storage::ImportPageFilesFor(root, fileName);
        QCOMPARE(files.base, base);
        QCOMPARE(files.folder, root + base);
        const QString target = storage::ImportPageTarget(files, 7);
        QCOMPARE(target, root + base + QLatin1Char('/') + base + QStringLiteral("7.pdf"));
        QVERIFY(QDir::cleanPath(target).startsWith(out.path() + QLatin1Char('/') + base + QLatin1Char('/')));
        // The output folder may come without its separator.
        QCOMPARE(storage::ImportPageFilesFor(out.path(), fileName).folder, files.folder);
    }

    // A second import of a document of the same name must not overwrite the
    // page files the first import's pages show.
    void earlierImportKeepsItsFiles()
    {
        QTemporaryDir out;
        const QString root = out.path() + QLatin1Char('/');
        QVERIFY(QDir().mkdir(root + QStringLiteral("report")));
        QVERIFY(QDir().mkdir(root + QStringLiteral("report_2")));
        const storage::ImportPageFiles files = storage::ImportPageFilesFor(root, QStringLiteral("report.pdf"));
        QCOMPARE(files.folder, root + QStringLiteral("report_3"));
        QCOMPARE(QFileInfo(storage::ImportPageTarget(files, 0)).fileName(), QStringLiteral("report_30.pdf"));
    }

    void extractionRun_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("end");
        QTest::addColumn<QList<int>>("refused");
        QTest::addColumn<int>("stopAfter");
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<QList<int>>("progress");
        QTest::addColumn<int>("endedEarly");

        QTest::newRow("pages 1..3") << 0 << 3 << QList<int>() << -1
                                    << QStringList{"report0.pdf|0|1", "report1.pdf|0|1", "report2.pdf|1|1"}
                                    << QList<int>{0, 50, 100} << 0;
        QTest::newRow("pages 3..5") << 2 << 5 << QList<int>() << -1
                                    << QStringList{"report2.pdf|0|1", "report3.pdf|0|1", "report4.pdf|1|1"}
                                    << QList<int>{0, 50, 100} << 0;
        QTest::newRow("one page") << 4 << 5 << QList<int>() << -1 << QStringList{"report4.pdf|1|1"}
                                  << QList<int>{100} << 0;
        QTest::newRow("stopped after two") << 0 << 5 << QList<int>() << 2
                                           << QStringList{"report0.pdf|0|1", "report1.pdf|0|1"}
                                           << QList<int>{0, 25} << 1;
        QTest::newRow("middle page refused") << 0 << 3 << QList<int>{1} << -1
                                             << QStringList{"report0.pdf|0|1", "report2.pdf|1|1"}
                                             << QList<int>{0, 50, 100} << 0;
        // Without the final page the import still has to end on the board.
        QTest::newRow("final page refused") << 0 << 3 << QList<int>{2} << -1
                                            << QStringList{"report0.pdf|0|1", "report1.pdf|0|1"}
                                            << QList<int>{0, 50, 100} << 1;
        QTest::newRow("every page refused") << 0 << 2 << QList<int>{0, 1} << -1 << QStringList()
                                            << QList<int>{0, 100} << 0;
    }

    void extractionRun()
    {
        QFETCH(int, first);
        QFETCH(int, end);
        QFETCH(QList<int>, refused);
        QFETCH(int, stopAfter);
        QFETCH(QStringList, pages);
        QFETCH(QList<int>, progress);
        QFETCH(int, endedEarly);
        QTemporaryDir out;
        const storage::ImportPageFiles files = storage::ImportPageFilesFor(out.path(), QStringLiteral("report.pdf"));
        const Run run = Extract(files, first, end, refused, stopAfter);
        QCOMPARE(run.pages, pages);
        QCOMPARE(run.progress, progress);
        QCOMPARE(run.endedEarly, endedEarly);
        QCOMPARE(run.result.extracted, pages.size());
        QCOMPARE(run.result.failedPages.toList(), refused);
        QCOMPARE(run.result.stopped, stopAfter >= 0);
        // Exactly the reported files exist; a run that wrote nothing leaves no folder.
        QStringList written = QDir(files.folder).entryList(QDir::Files, QDir::Name);
        QStringList reported;
        for (const QString& page : pages)
            reported << page.section(QLatin1Char('|'), 0, 0);
        QCOMPARE(written, reported);
        QCOMPARE(QFileInfo::exists(files.folder), !pages.isEmpty());
    }

    void renderScale_data()
    {
        QTest::addColumn<bool>("fitToWidth");
        QTest::addColumn<int>("level");
        QTest::addColumn<double>("scale");
        // A 400 x 300 page on an 800 x 400 view; the host's board is 1600 x 1200.
        QTest::newRow("whole page, alone") << false << 0 << 400.0 / 300.0;
        QTest::newRow("whole page, host") << false << 3 << 400.0 / 300.0;
        QTest::newRow("whole page, viewer") << false << 1 << 4.0;
        QTest::newRow("fit to width") << true << 0 << 2.0;
        QTest::newRow("fit to width, writer") << true << 2 << 2.0;
    }

    void renderScale()
    {
        QFETCH(bool, fitToWidth);
        QFETCH(int, level);
        QFETCH(double, scale);
        QCOMPARE(storage::ImportRenderScale(400, 300, QSize(800, 400), level, QSize(1600, 1200), fitToWidth), scale);
    }
};

QTEST_GUILESS_MAIN(DocumentImportTest)
#include "document_import_test.moc"
