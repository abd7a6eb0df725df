#include "storage/pdf_libraries.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

// The three PDF libraries as the whiteboard binds them, on PDFs the tests make
// themselves, checked against the system's own PDF tools.
namespace {

// Page i of a fixture shows "Page <i+1>" at the top and a red square of
// 40 x 40 points at (20, 60); sizes are in points.
bool MakePdf(const QString& path, const QVector<QSize>& sizes)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    for (int i = 0; i < sizes.size(); ++i) {
        writer.setPageSize(QPageSize(sizes[i], QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        static QPainter* painter = nullptr;
        if (i == 0) {
            painter = new QPainter;
            if (!painter->begin(&writer))
                return false;
        } else {
            writer.newPage();
        }
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(24);
        painter->setFont(font);
        painter->setPen(Qt::black);
        painter->drawText(QPointF(20, 40), QStringLiteral("Page %1").arg(i + 1));
        painter->fillRect(QRectF(20, 60, 40, 40), Qt::red);
        if (i == sizes.size() - 1) {
            painter->end();
            delete painter;
            painter = nullptr;
        }
    }
    return true;
}

struct ToolResult {
    int exitCode = -1;
    QString output;
};

ToolResult RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    ToolResult result;
    if (!process.waitForFinished(30000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromUtf8(process.readAllStandardOutput());
    return result;
}

// "Pages:" and "Page size:" as pdfinfo reports them.
int InfoPageCount(const QString& pdf)
{
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf}).output;
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString InfoPageSize(const QString& pdf)
{
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf}).output;
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+ x [0-9.]+) pts")).match(info);
    return match.captured(1);
}

QString PageText(const QString& pdf, int page)
{
    return RunTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page), pdf,
                    QStringLiteral("-")})
        .output.simplified();
}

QImage Pdftoppm(const QString& pdf, int page, int dpi, const QString& folder)
{
    const QString prefix = folder + QStringLiteral("/ppm%1").arg(page);
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                                         QString::number(page), QStringLiteral("-l"), QString::number(page),
                                         QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

bool Near(QRgb a, QColor b, int tolerance = 40)
{
    return qAbs(qRed(a) - b.red()) <= tolerance && qAbs(qGreen(a) - b.green()) <= tolerance
           && qAbs(qBlue(a) - b.blue()) <= tolerance;
}

bool IsMapped(const QString& libraryPath)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(QFile::encodeName(libraryPath));
}

}  // namespace

class PdfLibrariesTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    storage::PdfRendererLibrary m_renderer;
    storage::PdfExporterLibrary m_exporter;
    storage::PdfEditorLibrary m_editor;
    QString m_fivePages;

    QString file(const QString& name) const { return m_dir.filePath(name); }

    // A one-page document with the given media box, written by hand so the box
    // can be damaged. No cross-reference table: the reader rebuilds it, as it
    // does for many files met in the field. Empty when it cannot be written.
    QString onePagePdf(const QByteArray& box)
    {
        const QString path = file(QStringLiteral("box.pdf"));
        QFile pdf(path);
        if (!pdf.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        pdf.write("%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
                  "2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj\n"
                  "3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [" + box + "] >> endobj\n"
                  "trailer << /Root 1 0 R >>\n%%EOF\n");
        return path;
    }

    // Page count and the first page's size as the renderer reads them.
    QSizeF rendererPageSize(const QString& pdf, int index, int* pageCount = nullptr)
    {
        int document = 0;
        if (m_renderer.LoadDocument(pdf, QString(), &document) != 0)
            return QSizeF();
        if (pageCount)
            *pageCount = m_renderer.GetPageCount(document);
        int page = 0;
        QSizeF size;
        if (m_renderer.LoadPage(document, index, &page) == 0)
            size = QSizeF(m_renderer.GetPageWidth(page), m_renderer.GetPageHeight(page));
        m_renderer.CloseDocument(document);
        return size;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("DRAVIK_LIBRARY_DIR", DRAVIK_BIN_DIR);
        QCOMPARE(storage::BindPdfRenderer(m_renderer), storage::PdfBinding::Bound);
        QCOMPARE(storage::BindPdfExporter(m_exporter), storage::PdfBinding::Bound);
        QCOMPARE(storage::BindPdfEditor(m_editor), storage::PdfBinding::Bound);
        m_renderer.InitLibrary();
        m_fivePages = file(QStringLiteral("five.pdf"));
        QVERIFY(MakePdf(m_fivePages, {{200, 300}, {612, 792}, {400, 250}, {300, 300}, {500, 200}}));
    }

    void cleanupTestCase() { m_renderer.DestroyLibrary(); }

    // Every name the whiteboard resolves is exported by the built library.
    void builtLibrariesExportEveryName_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("renderer") << "halcy_pdf_renderer10" << storage::PdfRendererFunctionNames();
        QTest::newRow("exporter") << "halcy_pdf_exporter10" << storage::PdfExporterFunctionNames();
        QTest::newRow("editor") << "halcy_pdf_editor10" << storage::PdfEditorFunctionNames();
    }

    void builtLibrariesExportEveryName()
    {
        QFETCH(QString, library);
        QFETCH(QStringList, names);
        QLibrary built(QStringLiteral(DRAVIK_BIN_DIR "/lib%1.so").arg(library));
        QVERIFY2(built.load(), qPrintable(built.errorString()));
        for (const QString& name : names)
            QVERIFY2(built.resolve(name.toLatin1().constData()), qPrintable(name));
        QCOMPARE(storage::PdfRendererFunctionNames().size(), 15);
        QCOMPARE(storage::PdfExporterFunctionNames().size(), 21);
        QCOMPARE(storage::PdfEditorFunctionNames().size(), 2);
    }

    void lackingOrMissingLibraryStaysUnbound_data()
    {
        QTest::addColumn<QString>("library");
        QTest::newRow("renderer") << "halcy_pdf_renderer10";
        QTest::newRow("exporter") << "halcy_pdf_exporter10";
        QTest::newRow("editor") << "halcy_pdf_editor10";
    }

    void lackingOrMissingLibraryStaysUnbound()
    {
        QFETCH(QString, library);
        const QString lackingFolder = QStringLiteral(DRAVIK_BIN_DIR "/pdf_lacking/") + library;
        const QString lackingFile = lackingFolder + QStringLiteral("/lib%1.so").arg(library);
        QVERIFY(QFile::exists(lackingFile));

        auto check = [&](auto& binding, auto bind) {
            qputenv("DRAVIK_LIBRARY_DIR", lackingFolder.toUtf8());
            QCOMPARE(bind(binding), storage::PdfBinding::MissingFunction);
            QVERIFY(!binding.bound);
            QVERIFY(!binding.library.isLoaded());
            QVERIFY2(!IsMapped(lackingFile), "the lacking library is still mapped");
            bool anyPointer = false;
            binding.forEachFunction([&](const char*, auto& slot) { anyPointer = anyPointer || slot; });
            QVERIFY(!anyPointer);

            qputenv("DRAVIK_LIBRARY_DIR", m_dir.path().toUtf8());  // holds no library
            QCOMPARE(bind(binding), storage::PdfBinding::NotLoaded);
            QVERIFY(!binding.bound);
        };
        if (library.contains(QLatin1String("renderer"))) {
            storage::PdfRendererLibrary binding;
            check(binding, storage::BindPdfRenderer);
        } else if (library.contains(QLatin1String("exporter"))) {
            storage::PdfExporterLibrary binding;
            check(binding, storage::BindPdfExporter);
        } else {
            storage::PdfEditorLibrary binding;
            check(binding, storage::BindPdfEditor);
        }
        qputenv("DRAVIK_LIBRARY_DIR", DRAVIK_BIN_DIR);
    }

    void rendererReadsCountAndSizesInPoints()
    {
        const QVector<QSizeF> expected = {{200, 300}, {612, 792}, {400, 250}, {300, 300}, {500, 200}};
        for (int i = 0; i < expected.size(); ++i) {
            int count = 0;
            QCOMPARE(rendererPageSize(m_fivePages, i, &count), expected[i]);
            QCOMPARE(count, 5);
        }
    }

    void renderedPageMatchesPdftoppm_data()
    {
        QTest::addColumn<int>("pageIndex");
        QTest::newRow("portrait") << 0;
        QTest::newRow("letter") << 1;
        QTest::newRow("landscape") << 2;
    }

    void renderedPageMatchesPdftoppm()
    {
        QFETCH(int, pageIndex);
        int document = 0;
        int page = 0;
        QCOMPARE(m_renderer.LoadDocument(m_fivePages, QString(), &document), 0);
        QVERIFY(document > 0);
        QCOMPARE(m_renderer.LoadPage(document, pageIndex, &page), 0);
        QVERIFY(page > 0);
        QImage ours(int(m_renderer.GetPageWidth(page)), int(m_renderer.GetPageHeight(page)), QImage::Format_RGB32);
        ours.fill(Qt::blue);
        m_renderer.RenderPage(page, 0.0, 0.0, 1.0, &ours);
        m_renderer.ClosePage(page);
        m_renderer.CloseDocument(document);

        const QImage reference = Pdftoppm(m_fivePages, pageIndex + 1, 72, m_dir.path());
        QCOMPARE(ours.size(), reference.size());
        qint64 total = 0;
        int farOff = 0;
        for (int y = 0; y < ours.height(); ++y) {
            for (int x = 0; x < ours.width(); ++x) {
                const QRgb a = ours.pixel(x, y);
                const QRgb b = reference.pixel(x, y);
                const int diff = qMax(qAbs(qRed(a) - qRed(b)), qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
                total += diff;
                if (diff > 48)
                    ++farOff;
            }
        }
        const double pixels = double(ours.width()) * ours.height();
        QVERIFY2(total / pixels < 2.0, qPrintable(QString::number(total / pixels)));
        QVERIFY2(farOff / pixels < 0.005, qPrintable(QString::number(farOff)));
        QVERIFY(Near(ours.pixel(40, 80), Qt::red, 8));  // the square
        QVERIFY(Near(ours.pixel(ours.width() - 5, ours.height() - 5), Qt::white, 8));
    }

    void renderingAtScaleAndOffset()
    {
        int document = 0;
        int page = 0;
        QCOMPARE(m_renderer.LoadDocument(m_fivePages, QString(), &document), 0);
        QCOMPARE(m_renderer.LoadPage(document, 0, &page), 0);
        // At scale 2 the red square spans (40..120, 120..200); offset (40, 120)
        // puts its corner at the target's origin.
        QImage target(60, 60, QImage::Format_RGB32);
        target.fill(Qt::blue);
        m_renderer.RenderPage(page, 40.0, 120.0, 2.0, &target);
        QVERIFY(Near(target.pixel(2, 2), Qt::red, 8));
        QVERIFY(Near(target.pixel(57, 57), Qt::red, 8));

        // Stepped rendering: nothing happens while paused; cancelled leaves the
        // target untouched.
        QImage stepped(200, 300, QImage::Format_RGB32);
        stepped.fill(Qt::blue);
        QCOMPARE(m_renderer.RenderPage_Start(page, 0.0, 0.0, 1.0, &stepped), 0);
        m_renderer.RenderPage_SetPause(page, true);
        QCOMPARE(m_renderer.RenderPage_Continue(page), 1);
        QVERIFY(Near(stepped.pixel(40, 80), Qt::blue, 0));
        m_renderer.RenderPage_SetPause(page, false);
        QCOMPARE(m_renderer.RenderPage_Continue(page), 0);
        QVERIFY(Near(stepped.pixel(40, 80), Qt::red, 8));
        stepped.fill(Qt::blue);
        QCOMPARE(m_renderer.RenderPage_Start(page, 0.0, 0.0, 1.0, &stepped), 0);
        m_renderer.RenderPage_Cancel(page);
        QVERIFY(m_renderer.RenderPage_Continue(page) != 0);
        QVERIFY(Near(stepped.pixel(40, 80), Qt::blue, 0));
        QCOMPARE(m_renderer.RenderPage_Start(page, 0.0, 0.0, 1.0, &stepped), 0);
        QCOMPARE(m_renderer.RenderPage_Finish(page), 0);
        QVERIFY(Near(stepped.pixel(40, 80), Qt::red, 8));
        m_renderer.CloseDocument(document);
    }

    // Handles stay valid while other documents come and go; closed ones miss.
    void handlesSurviveSeveralDocuments()
    {
        const QString second = file(QStringLiteral("second.pdf"));
        QVERIFY(MakePdf(second, {{100, 100}, {150, 150}}));
        int first = 0;
        int other = 0;
        QCOMPARE(m_renderer.LoadDocument(m_fivePages, QString(), &first), 0);
        QCOMPARE(m_renderer.LoadDocument(second, QString(), &other), 0);
        QVERIFY(first > 0 && other > 0 && first != other);
        int firstPage = 0;
        QCOMPARE(m_renderer.LoadPage(first, 1, &firstPage), 0);
        m_renderer.CloseDocument(other);
        QCOMPARE(m_renderer.GetPageCount(first), 5);
        QCOMPARE(m_renderer.GetPageWidth(firstPage), 612.0);
        QCOMPARE(m_renderer.GetPageCount(other), 0);

        m_renderer.CloseDocument(first);  // takes its page along
        QCOMPARE(m_renderer.GetPageWidth(firstPage), 0.0);
        QImage target(10, 10, QImage::Format_RGB32);
        target.fill(Qt::blue);
        m_renderer.RenderPage(firstPage, 0, 0, 1.0, &target);
        QVERIFY(Near(target.pixel(5, 5), Qt::blue, 0));
        int page = 0;
        QVERIFY(m_renderer.LoadPage(first, 0, &page) != 0);
        QCOMPARE(page, 0);
        QVERIFY(m_renderer.LoadPage(other, 9, &page) != 0);
        m_renderer.RenderPage(0, 0, 0, 1.0, nullptr);
    }

    void hostileInputFailsCleanly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << "missing.pdf";
        QTest::newRow("empty") << "empty.pdf";
        QTest::newRow("folder") << "folder.pdf";
        QTest::newRow("truncated header") << "truncated.pdf";
        QTest::newRow("not a pdf") << "noise.pdf";
        QTest::newRow("truncated half") << "half.pdf";
    }

    void hostileInputFailsCleanly()
    {
        QFETCH(QString, name);
        const QString path = file(name);
        QFile::remove(path);
        if (name == QLatin1String("empty.pdf")) {
            QFile empty(path);
            QVERIFY(empty.open(QIODevice::WriteOnly));
        } else if (name == QLatin1String("folder.pdf")) {
            QVERIFY(QDir().mkpath(path));
        } else if (name == QLatin1String("truncated.pdf")) {
            QFile whole(m_fivePages);
            QVERIFY(whole.open(QIODevice::ReadOnly));
            QFile cut(path);
            QVERIFY(cut.open(QIODevice::WriteOnly));
            cut.write(whole.read(200));
        } else if (name == QLatin1String("half.pdf")) {
            QFile whole(m_fivePages);
            QVERIFY(whole.open(QIODevice::ReadOnly));
            QFile cut(path);
            QVERIFY(cut.open(QIODevice::WriteOnly));
            cut.write(whole.read(whole.size() / 2));
        } else if (name == QLatin1String("noise.pdf")) {
            QFile noise(path);
            QVERIFY(noise.open(QIODevice::WriteOnly));
            QByteArray bytes(4096, '\0');
            for (int i = 0; i < bytes.size(); ++i)
                bytes[i] = char((i * 7919) % 251);
            noise.write("%PDF-1.4\n" + bytes);
        }

        QVERIFY(m_renderer.LoadDocument(path, QString(), nullptr) != 0);
        const QString target = file(QStringLiteral("out-%1").arg(name));
        int document = 77;
        QVERIFY(m_renderer.LoadDocument(path, QString(), &document) != 0);
        QCOMPARE(document, 0);

        QVERIFY(m_editor.ExtractPage(path, 0, target) != 0);
        QVERIFY(m_editor.ExtractPageMulti(path, 0, 1, target) != 0);
        QVERIFY(m_exporter.LoadPDF(path) != 0);
        QVERIFY(m_exporter.NewPDFFrom(path, 100, 100, 100, 100, 0, 0) != 0);
        QVERIFY(m_exporter.MergePDF({m_fivePages, path}, target) != 0);
        QVERIFY(!QFileInfo::exists(target));
    }

    void extractedPageEqualsSourcePage()
    {
        const QString target = file(QStringLiteral("page3.pdf"));
        QCOMPARE(m_editor.ExtractPage(m_fivePages, 2, target), 0);
        QCOMPARE(InfoPageCount(target), 1);
        QCOMPARE(InfoPageSize(target), QStringLiteral("400 x 250"));
        QCOMPARE(PageText(target, 1), PageText(m_fivePages, 3));
        QCOMPARE(PageText(target, 1), QStringLiteral("Page 3"));

        // A page outside the document writes nothing and leaves an old target.
        QCOMPARE(m_editor.ExtractPage(m_fivePages, 5, target), int(HPE_BAD_PAGE));
        QCOMPARE(m_editor.ExtractPage(m_fivePages, -1, target), int(HPE_BAD_PAGE));
        QCOMPARE(PageText(target, 1), QStringLiteral("Page 3"));
        QVERIFY(m_editor.ExtractPage(m_fivePages, 0, file(QStringLiteral("no/such/folder/x.pdf"))) != 0);

        const QString range = file(QStringLiteral("pages2to4.pdf"));
        QCOMPARE(m_editor.ExtractPageMulti(m_fivePages, 1, 3, range), 0);
        QCOMPARE(InfoPageCount(range), 3);
        QCOMPARE(PageText(range, 1), QStringLiteral("Page 2"));
        QCOMPARE(PageText(range, 3), QStringLiteral("Page 4"));
    }

    // The editor keeps the last source open between pages; a different file
    // put under the same name must be read afresh, not served from memory.
    void extractionSeesASourceReplacedUnderItsName()
    {
        const QString source = file(QStringLiteral("changing.pdf"));
        QVERIFY(QFile::copy(m_fivePages, source));
        const QString target = file(QStringLiteral("changing-page.pdf"));
        QCOMPARE(m_editor.ExtractPage(source, 4, target), 0);
        QCOMPARE(PageText(target, 1), QStringLiteral("Page 5"));

        const QString two = file(QStringLiteral("two.pdf"));
        QVERIFY(MakePdf(two, {{100, 100}, {150, 150}}));
        QVERIFY(QFile::remove(source) && QFile::copy(two, source));
        QCOMPARE(m_editor.ExtractPage(source, 4, target), int(HPE_BAD_PAGE));
        QCOMPARE(m_editor.ExtractPage(source, 1, target), 0);
        QCOMPARE(InfoPageSize(target), QStringLiteral("150 x 150"));
        QVERIFY(QFile::remove(source));
        QCOMPARE(m_editor.ExtractPage(source, 0, target), int(HPE_CANNOT_OPEN));
    }

    void mergeJoinsInListOrder()
    {
        const QString a = file(QStringLiteral("a.pdf"));
        const QString b = file(QStringLiteral("b.pdf"));
        const QString c = file(QStringLiteral("c.pdf"));
        QCOMPARE(m_editor.ExtractPage(m_fivePages, 4, a), 0);
        QCOMPARE(m_editor.ExtractPageMulti(m_fivePages, 0, 1, b), 0);
        QCOMPARE(m_editor.ExtractPage(m_fivePages, 3, c), 0);
        const QString merged = file(QStringLiteral("merged.pdf"));
        QCOMPARE(m_exporter.MergePDF({a, b, c}, merged), 0);
        QCOMPARE(InfoPageCount(merged), 4);
        QCOMPARE(PageText(merged, 1), QStringLiteral("Page 5"));
        QCOMPARE(PageText(merged, 2), QStringLiteral("Page 1"));
        QCOMPARE(PageText(merged, 3), QStringLiteral("Page 2"));
        QCOMPARE(PageText(merged, 4), QStringLiteral("Page 4"));
        QCOMPARE(rendererPageSize(merged, 0), QSizeF(500, 200));
        QCOMPARE(rendererPageSize(merged, 3), QSizeF(300, 300));

        QCOMPARE(m_exporter.MergePDF({}, merged), int(HPX_BAD_ARGUMENT));
        QCOMPARE(m_exporter.MergePDF({a, file(QStringLiteral("gone.pdf"))}, merged), int(HPX_CANNOT_OPEN));
        QCOMPARE(InfoPageCount(merged), 4);  // a failed merge leaves the old target
    }

    // A board of 400 x 300 pixels at 96 dpi is a page of 300 x 225 points;
    // rendered back at 96 dpi every mark is where it was drawn.
    void exportedDrawingRendersWhereDrawn()
    {
        QCOMPARE(m_exporter.NewPDF(400, 300, 1.0, QString(), QColor(255, 255, 255)), 0);
        QCOMPARE(m_exporter.DrawRect(QRectF(0, 0, 10, 10)), int(HPX_NOT_DRAWING));
        QCOMPARE(m_exporter.PainterSetPage(), 0);
        QImage picture(60, 40, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QCOMPARE(m_exporter.DrawImage(QPointF(20, 20), picture), 0);
        QCOMPARE(m_exporter.SetPenColor(Qt::blue), 0);
        QCOMPARE(m_exporter.SetPenStyle(Qt::SolidLine, 6.0), 0);
        QCOMPARE(m_exporter.SetBrushColor(Qt::green), 0);
        QCOMPARE(m_exporter.DrawRect(QRectF(200, 50, 80, 60)), 0);
        QCOMPARE(m_exporter.SetPenColor(Qt::black), 0);
        QCOMPARE(m_exporter.SetBrushColor(Qt::transparent), 0);
        QCOMPARE(m_exporter.DrawFreePen({QPointF(20, 200), QPointF(200, 210), QPointF(380, 200)}), 0);
        QCOMPARE(m_exporter.SetPenColor(Qt::magenta), 0);
        QCOMPARE(m_exporter.DrawCircle(QPointF(340, 260), 20.0), 0);
        QCOMPARE(m_exporter.PainterFinishPage(), 0);
        const QString pdf = file(QStringLiteral("drawn.pdf"));
        QCOMPARE(m_exporter.SavePDF(pdf), 0);
        QCOMPARE(m_exporter.Close(), 0);
        QCOMPARE(m_exporter.SavePDF(pdf), int(HPX_NO_DOCUMENT));

        QCOMPARE(rendererPageSize(pdf, 0), QSizeF(300, 225));
        const QImage shown = Pdftoppm(pdf, 1, 96, m_dir.path());
        QCOMPARE(shown.size(), QSize(400, 300));
        QVERIFY(Near(shown.pixel(50, 40), Qt::red));       // inside the picture
        QVERIFY(Near(shown.pixel(240, 80), Qt::green));    // inside the rectangle
        QVERIFY(Near(shown.pixel(200, 80), Qt::blue));     // its left edge
        QVERIFY(Near(shown.pixel(200, 210), Qt::black));   // the stroke's middle point
        QVERIFY(Near(shown.pixel(320, 260), Qt::magenta)); // the circle's left edge
        QVERIFY(Near(shown.pixel(340, 260), Qt::white));   // not filled
        QVERIFY(Near(shown.pixel(100, 150), Qt::white));
        QVERIFY(Near(shown.pixel(85, 40), Qt::white));     // right of the picture
    }

    void rotationTurnsAboutTheCentre()
    {
        QCOMPARE(m_exporter.NewPDF(200, 200, 1.0, QString(), QColor(Qt::white)), 0);
        QCOMPARE(m_exporter.PainterSetPage(), 0);
        QCOMPARE(m_exporter.SetPenStyle(Qt::NoPen, 0.0), 0);
        QCOMPARE(m_exporter.SetBrushColor(Qt::red), 0);
        QCOMPARE(m_exporter.Rotate(90.0, QPointF(100, 100)), 0);
        // A bar right of the centre turns clockwise to below it.
        QCOMPARE(m_exporter.DrawRect(QRectF(120, 90, 60, 20)), 0);
        QCOMPARE(m_exporter.PainterFinishPage(), 0);
        const QString pdf = file(QStringLiteral("turned.pdf"));
        QCOMPARE(m_exporter.SavePDF(pdf), 0);
        QCOMPARE(m_exporter.Close(), 0);
        const QImage shown = Pdftoppm(pdf, 1, 96, m_dir.path());
        QVERIFY(Near(shown.pixel(100, 150), Qt::red));
        QVERIFY(Near(shown.pixel(150, 100), Qt::white));
    }

    void newDocumentBackgrounds()
    {
        // The blackboard colour, and a background picture stretched over all.
        QCOMPARE(m_exporter.NewPDF(200, 100, 1.0, QString(), QColor(25, 74, 57, 255)), 0);
        const QString board = file(QStringLiteral("board.pdf"));
        QCOMPARE(m_exporter.SavePDF(board), 0);
        QCOMPARE(m_exporter.Close(), 0);
        QVERIFY(Near(Pdftoppm(board, 1, 96, m_dir.path()).pixel(100, 50), QColor(25, 74, 57), 3));

        const QString pictureFile = file(QStringLiteral("background.png"));
        QImage picture(20, 10, QImage::Format_RGB32);
        picture.fill(Qt::yellow);
        QVERIFY(picture.save(pictureFile));
        QCOMPARE(m_exporter.NewPDF(200, 100, 2.0, pictureFile, QColor(Qt::white)), 0);
        const QString pictured = file(QStringLiteral("pictured.pdf"));
        QCOMPARE(m_exporter.SavePDF(pictured), 0);
        QCOMPARE(m_exporter.Close(), 0);
        QCOMPARE(rendererPageSize(pictured, 0), QSizeF(75, 37.5));  // scale 2: 192 dpi pixels
        const QImage shown = Pdftoppm(pictured, 1, 192, m_dir.path());
        QVERIFY(Near(shown.pixel(2, 2), Qt::yellow));
        QVERIFY(Near(shown.pixel(197, 97), Qt::yellow));

        QCOMPARE(m_exporter.NewPDF(0, 100, 1.0, QString(), QColor(Qt::white)), int(HPX_BAD_ARGUMENT));
    }

    // A document made from a page keeps the page as it is; drawing lands in
    // the board pixels the page was shown at.
    void documentFromPageKeepsThePage()
    {
        // Page 3 is 400 x 250 points, shown on an 800 x 600 board at (0, 50)
        // as 800 x 500 pixels: two pixels a point.
        const QString page3 = file(QStringLiteral("page3.pdf"));
        QCOMPARE(m_editor.ExtractPage(m_fivePages, 2, page3), 0);
        QCOMPARE(m_exporter.NewPDFFrom(page3, 800, 600, 800, 500, 0, 50), 0);
        QCOMPARE(m_exporter.PainterSetPage(), 0);
        QCOMPARE(m_exporter.SetPenStyle(Qt::NoPen, 0.0), 0);
        QCOMPARE(m_exporter.SetBrushColor(Qt::blue), 0);
        QCOMPARE(m_exporter.DrawRect(QRectF(400, 250, 100, 100)), 0);  // points 200..250, 100..150
        QCOMPARE(m_exporter.PainterFinishPage(), 0);
        const QString pdf = file(QStringLiteral("from.pdf"));
        QCOMPARE(m_exporter.SavePDF(pdf), 0);
        QCOMPARE(m_exporter.Close(), 0);
        QCOMPARE(InfoPageSize(pdf), QStringLiteral("400 x 250"));
        QCOMPARE(PageText(pdf, 1), QStringLiteral("Page 3"));
        const QImage shown = Pdftoppm(pdf, 1, 72, m_dir.path());
        QVERIFY(Near(shown.pixel(225, 125), Qt::blue));
        QVERIFY(Near(shown.pixel(195, 125), Qt::white));
        QVERIFY(Near(shown.pixel(40, 80), Qt::red));  // the page's own square

        // Loading an existing PDF and adding a page to it.
        QCOMPARE(m_exporter.LoadPDF(pdf), 0);
        QCOMPARE(m_exporter.PainterSetPage_Pre(), 0);
        QCOMPARE(m_exporter.PainterSetPage_Save(), 0);
        QCOMPARE(m_exporter.PainterSetPage(), 0);
        QCOMPARE(m_exporter.SetPenStyle(Qt::NoPen, 0.0), 0);
        QCOMPARE(m_exporter.SetBrushColor(Qt::green), 0);
        QCOMPARE(m_exporter.DrawEllipse(QRectF(100, 50, 200, 150)), 0);
        QCOMPARE(m_exporter.PainterFinishPage_Post(), 0);
        QCOMPARE(m_exporter.PainterFinishPage_Restore(), 0);
        QCOMPARE(m_exporter.PainterFinishPage_Restore(), int(HPX_BAD_ARGUMENT));
        const QString grown = file(QStringLiteral("grown.pdf"));
        QCOMPARE(m_exporter.SavePDF(grown), 0);
        QCOMPARE(m_exporter.Close(), 0);
        QCOMPARE(InfoPageCount(grown), 2);
        QCOMPARE(PageText(grown, 1), QStringLiteral("Page 3"));
        const QImage added = Pdftoppm(grown, 2, 72, m_dir.path());
        QVERIFY(Near(added.pixel(200, 125), Qt::green));
        QVERIFY(Near(added.pixel(20, 20), Qt::white));
    }

    void saveFailureLeavesNothing()
    {
        QCOMPARE(m_exporter.NewPDF(100, 100, 1.0, QString(), QColor(Qt::white)), 0);
        QCOMPARE(m_exporter.SavePDF(file(QStringLiteral("no/such/folder/out.pdf"))), int(HPX_CANNOT_WRITE));
        QCOMPARE(m_exporter.SavePDF(m_dir.path()), int(HPX_CANNOT_WRITE));  // a folder
        QCOMPARE(m_exporter.SavePDF(QString()), int(HPX_BAD_ARGUMENT));
        QVERIFY(QFileInfo(m_dir.path()).isDir());
        QCOMPARE(m_exporter.Close(), 0);
        QCOMPARE(m_exporter.Close(), int(HPX_NO_DOCUMENT));
    }

    // A page box that is no real size gets no drawing, rather than a drawing
    // of a size the whole-point arithmetic cannot hold.
    void damagedPageBoxGetsNoDrawing_data()
    {
        QTest::addColumn<QByteArray>("box");
        QTest::newRow("past the whole-number range") << QByteArray("0 0 612 3000000000");
        QTest::newRow("far beyond any page") << QByteArray("0 0 20000000 792");
    }
    void damagedPageBoxGetsNoDrawing()
    {
        QFETCH(QByteArray, box);
        const QString path = onePagePdf(box);
        QVERIFY(!path.isEmpty());
        QCOMPARE(m_exporter.LoadPDF(path), 0);
        QCOMPARE(m_exporter.PainterSetPage(), int(HPX_CANNOT_WRITE));
        QCOMPARE(m_exporter.Close(), 0);
    }

    // A page whose box is no real size is unreadable for the board (it gets a
    // white page), rather than a scale of zero and an image size of NaN.
    void absurdPageBoxIsUnreadable_data()
    {
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<bool>("readable");
        QTest::newRow("letter") << QByteArray("0 0 612 792") << true;
        QTest::newRow("hundreds of digits") << ("0 0 612 " + QByteArray(400, '9')) << false;
        QTest::newRow("far beyond any page") << QByteArray("0 0 612 20000000") << false;
        QTest::newRow("no width") << QByteArray("0 0 0 792") << false;
    }
    void absurdPageBoxIsUnreadable()
    {
        QFETCH(QByteArray, box);
        QFETCH(bool, readable);
        const QString path = onePagePdf(box);
        QVERIFY(!path.isEmpty());
        storage::PdfRendererState state;
        double width = -1.0;
        double height = -1.0;
        QCOMPARE(storage::OpenRendererFirstPage(m_renderer, state, path, &width, &height), readable);
        QCOMPARE(state.document > 0, readable);
        QCOMPARE(storage::IsReadablePageSize(width, height), readable);
        storage::CloseRendererDocument(m_renderer, state);
    }

    void readablePageSizes_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<bool>("readable");
        QTest::newRow("A4") << 595.0 << 842.0 << true;
        QTest::newRow("endless") << std::numeric_limits<double>::infinity() << 842.0 << false;
        QTest::newRow("not a number") << 595.0 << std::numeric_limits<double>::quiet_NaN() << false;
        QTest::newRow("negative") << -595.0 << 842.0 << false;
        QTest::newRow("largest double") << 595.0 << std::numeric_limits<double>::max() << false;
    }
    void readablePageSizes()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(bool, readable);
        QCOMPARE(storage::IsReadablePageSize(width, height), readable);
    }

    // The open-document road of the main window: what is open is closed first,
    // a document without pages is not kept.
    void rendererStateFollowsOpenAndClose()
    {
        storage::PdfRendererState state;
        QCOMPARE(storage::OpenRendererDocument(m_renderer, state, m_fivePages), 5);
        const int first = state.document;
        QVERIFY(first > 0);
        QCOMPARE(state.pageCount, 5);
        QCOMPARE(state.currentPage, -1);
        QCOMPARE(storage::OpenRendererDocument(m_renderer, state, file(QStringLiteral("page3.pdf"))), 1);
        QCOMPARE(m_renderer.GetPageCount(first), 0);  // the first was closed
        QCOMPARE(storage::OpenRendererDocument(m_renderer, state, file(QStringLiteral("missing.pdf"))), -1);
        QCOMPARE(state.document, 0);
        QCOMPARE(state.pageCount, 0);
        QCOMPARE(storage::OpenRendererDocument(m_renderer, state, QString()), -1);

        storage::PdfRendererLibrary unbound;
        QCOMPARE(storage::OpenRendererDocument(unbound, state, m_fivePages), -1);
        storage::ShutdownRenderer(unbound, state);  // nothing to call
    }

    void chosenDocumentKinds_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("kind");
        QTest::newRow("pdf") << "/a/b/Report.pdf" << int(storage::ChosenDocumentKind::Pdf);
        QTest::newRow("PDF upper") << "/a/REPORT.PDF" << int(storage::ChosenDocumentKind::Pdf);
        QTest::newRow("png") << "/a/picture.Png" << int(storage::ChosenDocumentKind::Image);
        QTest::newRow("jpeg is not jpg") << "/a/picture.jpeg" << int(storage::ChosenDocumentKind::Other);
        QTest::newRow("emf") << "/a/x.emf" << int(storage::ChosenDocumentKind::Image);
        QTest::newRow("cancelled") << "" << int(storage::ChosenDocumentKind::Other);
        QTest::newRow("text") << "/a/notes.txt" << int(storage::ChosenDocumentKind::Other);
    }

    void chosenDocumentKinds()
    {
        QFETCH(QString, path);
        QFETCH(int, kind);
        QCOMPARE(int(storage::ClassifyChosenDocument(path)), kind);
    }
};

QTEST_MAIN(PdfLibrariesTest)
#include "pdf_libraries_test.moc"
