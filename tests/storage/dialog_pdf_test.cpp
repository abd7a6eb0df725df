#include "app/ui/dialog.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The main window's side of the PDF libraries: the boxes shown when a library
// or one of its functions is missing, and the document-open command.
namespace {

const QString kRenderer = QStringLiteral("libhalcy_pdf_renderer10.so");
const QString kExporter = QStringLiteral("libhalcy_pdf_exporter10.so");

bool MakePdf(const QString& path, int pages)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QSize(200, 100), QString(), QPageSize::ExactMatch));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        painter.fillRect(QRectF(10, 10, 20, 20), Qt::black);
    }
    return painter.end();
}

bool IsMapped(const QString& libraryPath)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(QFile::encodeName(libraryPath));
}

}  // namespace

class DialogPdfTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_files;

    // A library folder holding each of the two libraries as asked: "good",
    // "lacking" (one function missing) or "none".
    QString libraryFolder(const QString& renderer, const QString& exporter)
    {
        const QString folder = m_files.filePath(renderer + QLatin1Char('-') + exporter);
        QDir().mkpath(folder);
        auto place = [&](const QString& kind, const QString& file, const QString& library) {
            QFile::remove(folder + QLatin1Char('/') + file);
            if (kind == QLatin1String("good"))
                QFile::copy(BuiltProgramFolder() + QLatin1Char('/') + file, folder + QLatin1Char('/') + file);
            else if (kind == QLatin1String("lacking"))
                QFile::copy(BuiltProgramFolder() + QStringLiteral("/pdf_lacking/") + library + QLatin1Char('/') + file,
                            folder + QLatin1Char('/') + file);
        };
        place(renderer, kRenderer, QStringLiteral("halcy_pdf_renderer10"));
        place(exporter, kExporter, QStringLiteral("halcy_pdf_exporter10"));
        return folder;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_files.isValid());
        qputenv("DRAVIK_NO_MODAL", "1");
        qInstallMessageHandler(CollectLog);
    }

    void init() { g_log.clear(); }
    void cleanup() { qunsetenv("DRAVIK_LIBRARY_DIR"); }

    void startUpBindsOrReports_data()
    {
        QTest::addColumn<QString>("renderer");
        QTest::addColumn<QString>("exporter");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("both found") << "good" << "good" << QStringList();
        QTest::newRow("renderer lacks a function")
            << "lacking" << "good" << QStringList{"message box critical:  | cannot find renderer API"};
        QTest::newRow("exporter lacks a function")
            << "good" << "lacking" << QStringList{"message box critical:  | cannot find exporter API"};
        QTest::newRow("renderer missing")
            << "none" << "good" << QStringList{"message box critical:  | cannot load render module"};
        QTest::newRow("both lacking") << "lacking" << "lacking"
                                      << QStringList{"message box critical:  | cannot find renderer API",
                                                     "message box critical:  | cannot find exporter API"};
    }

    void startUpBindsOrReports()
    {
        QFETCH(QString, renderer);
        QFETCH(QString, exporter);
        QFETCH(QStringList, boxes);
        ScopedFolderRoot root;
        const QString folder = libraryFolder(renderer, exporter);
        qputenv("DRAVIK_LIBRARY_DIR", folder.toUtf8());
        Dialog dialog;

        QCOMPARE(g_log.filter(QStringLiteral("message box critical")), boxes);
        QCOMPARE(dialog.m_pdfRendererBound, renderer == QLatin1String("good"));
        QCOMPARE(dialog.m_pdfExporterBound, exporter == QLatin1String("good"));
        QCOMPARE(dialog.m_pdfRenderer.bound, dialog.m_pdfRendererBound);
        QCOMPARE(bool(dialog.m_pdfRenderer.LoadDocument), dialog.m_pdfRendererBound);
        QCOMPARE(bool(dialog.m_pdfExporter.MergePDF), dialog.m_pdfExporterBound);
        // A library that lacks a function is not left loaded.
        QCOMPARE(IsMapped(folder + QLatin1Char('/') + kRenderer), renderer == QLatin1String("good"));
        QCOMPARE(IsMapped(folder + QLatin1Char('/') + kExporter), exporter == QLatin1String("good"));
        QCOMPARE(dialog.m_pdfDocument, 0);
        QCOMPARE(dialog.m_pdfPage, 0);
    }

    // A PDF is opened for the import; the one before is closed first; what
    // does not open leaves nothing open.
    void chosenPdfIsOpenedForImport()
    {
        ScopedFolderRoot root;
        qputenv("DRAVIK_LIBRARY_DIR", libraryFolder(QStringLiteral("good"), QStringLiteral("good")).toUtf8());
        const QString twelve = m_files.filePath(QStringLiteral("twelve.pdf"));
        const QString three = m_files.filePath(QStringLiteral("three.PDF"));
        QVERIFY(MakePdf(twelve, 12));
        QVERIFY(MakePdf(three, 3));
        int first = 0;
        {
            Dialog dialog;
            dialog.OpenChosenDocument(twelve);
            QCOMPARE(dialog.m_pdfPageCount, 12);
            QVERIFY(dialog.m_pdfDocument > 0);
            QCOMPARE(dialog.m_pdfCurrentPage, -1);
            first = dialog.m_pdfDocument;

            dialog.OpenChosenDocument(three);
            QCOMPARE(dialog.m_pdfPageCount, 3);
            QVERIFY(dialog.m_pdfDocument != first);
            QCOMPARE(dialog.m_pdfRenderer.GetPageCount(first), 0);
            first = dialog.m_pdfDocument;

            const QString broken = m_files.filePath(QStringLiteral("broken.pdf"));
            QFile file(broken);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("%PDF-1.4\nnothing else");
            file.close();
            dialog.OpenChosenDocument(broken);
            QCOMPARE(dialog.m_pdfDocument, 0);
            QCOMPARE(dialog.m_pdfPageCount, 0);
            QCOMPARE(dialog.m_pdfRenderer.GetPageCount(first), 0);
            QVERIFY(!g_log.contains(QStringLiteral("pdf page error")));

            // Not a PDF by its name: nothing is opened.
            for (const QString& other : {m_files.filePath(QStringLiteral("picture.png")),
                                         m_files.filePath(QStringLiteral("twelve.pdf.txt")), QString()}) {
                dialog.OpenChosenDocument(other);
                QCOMPARE(dialog.m_pdfDocument, 0);
            }

            dialog.OpenChosenDocument(twelve);
            first = dialog.m_pdfDocument;
            QVERIFY(first > 0);
        }
        // The window's teardown closed the document.
        QCOMPARE(storage::SharedPdfRenderer().GetPageCount(first), 0);
    }

    void withoutRendererNothingOpens()
    {
        ScopedFolderRoot root;
        qputenv("DRAVIK_LIBRARY_DIR", libraryFolder(QStringLiteral("none"), QStringLiteral("good")).toUtf8());
        const QString pdf = m_files.filePath(QStringLiteral("one.pdf"));
        QVERIFY(MakePdf(pdf, 1));
        Dialog dialog;
        dialog.OpenChosenDocument(pdf);
        QCOMPARE(dialog.m_pdfDocument, 0);
        QCOMPARE(dialog.m_pdfPageCount, 0);
    }

    void cancelledDialogClearsTheStartPath()
    {
        ScopedFolderRoot root;
        qputenv("DRAVIK_LIBRARY_DIR", libraryFolder(QStringLiteral("good"), QStringLiteral("good")).toUtf8());
        Dialog dialog;
        dialog.m_lang.hint[4] = QStringLiteral("Open document");
        dialog.m_documentOpenPath = QStringLiteral("/somewhere/report.pdf");
        dialog.OpenDocuments();
        QVERIFY(g_log.contains(QStringLiteral("file dialog open: Open document | /somewhere/report.pdf")));
        QVERIFY(dialog.m_documentOpenPath.isEmpty());
        QCOMPARE(dialog.m_pdfDocument, 0);
    }
};

QTEST_MAIN(DialogPdfTest)
#include "dialog_pdf_test.moc"
