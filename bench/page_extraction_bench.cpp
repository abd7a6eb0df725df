// Importing the pages of one PDF one by one, as the document import does: the
// time per page must not grow with the document's page count. Each run
// extracts every page of a document of 100, 1,000 or 2,000 pages;
// "ms_per_page" should stay flat across the three.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include "storage/pdf_libraries.h"

namespace {

bool MakeDocument(const QString& path, int pages)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QSize(400, 300), QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        painter.fillRect(QRectF(10 + i % 300, 10, 40, 40), QColor::fromHsv(i % 360, 200, 200));
    }
    return painter.end();
}

void BM_ExtractPagesOneByOne(benchmark::State& state)
{
    static int argc = 1;
    static char name[] = "page_extraction_bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = qEnvironmentVariableIsSet("QT_QPA_PLATFORM")
                                      ? new QGuiApplication(argc, argv)
                                      : (qputenv("QT_QPA_PLATFORM", "offscreen"), new QGuiApplication(argc, argv));
    Q_UNUSED(app);
    storage::PdfEditorLibrary& editor = storage::SharedPdfEditor();
    if (!editor.bound && storage::BindPdfEditor(editor) != storage::PdfBinding::Bound) {
        state.SkipWithError("the page editor library does not load");
        return;
    }
    const int pages = int(state.range(0));
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.pdf"));
    if (!MakeDocument(source, pages)) {
        state.SkipWithError("cannot make the document");
        return;
    }
    double seconds = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < pages; ++i) {
            const QString target = dir.filePath(QStringLiteral("page%1.pdf").arg(i));
            if (editor.ExtractPage(source, i, target) != 0) {
                state.SkipWithError("a page was not extracted");
                return;
            }
        }
        seconds += timer.nsecsElapsed() / 1e9;
    }
    state.counters["ms_per_page"] = seconds * 1000 / (double(state.iterations()) * pages);
}

}  // namespace

BENCHMARK(BM_ExtractPagesOneByOne)->Arg(100)->Arg(1000)->Arg(2000)->Iterations(1)->Unit(benchmark::kMillisecond);
