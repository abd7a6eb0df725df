#include "bench/board_fixture.h"
#include "board/page_background.h"
#include "board/page_render.h"
#include "storage/pdf_libraries.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// As many strokes on the page "current" as on the page "other".
void FillBoard(BoardModel& board, int count)
{
    board.Init();
    bench::AddStrokes(board, QStringLiteral("current"), count);
    bench::AddStrokes(board, QStringLiteral("other"), count);
}

// The full redraw of the current page. Time per object should stay flat as
// the object count grows.
void BM_RedrawPageObjects(benchmark::State& state)
{
    const int count = int(state.range(0));
    BoardModel board;
    FillBoard(board, count);
    QImage background(1920, 1080, QImage::Format_RGB32);
    background.fill(Qt::white);
    PageRenderOptions options;
    int painted = 0;
    for (auto _ : state) {
        QImage view = background;
        painted = PaintPageObjects(view, board, QStringLiteral("current"), true, {}, nullptr, options);
        benchmark::DoNotOptimize(view.constBits());
    }
    state.counters["painted"] = painted;
    state.counters["per_object_us"] = benchmark::Counter(
        double(count) * state.iterations(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
        benchmark::Counter::kIs1000);
    state.SetComplexityN(count);
}
BENCHMARK(BM_RedrawPageObjects)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// The full redraw of the page zoomed 2x (a zoom change, or a page change to a
// full page while zoomed): the whole 3840 x 2160 layer. Aim under 250 ms at
// 5,000 objects.
void BM_RedrawZoomedPage(benchmark::State& state)
{
    const int count = int(state.range(0));
    BoardModel board;
    FillBoard(board, count);
    QImage background(3840, 2160, QImage::Format_RGB32);
    background.fill(Qt::white);
    PageRenderOptions options;
    options.zoom = 2.0;
    for (auto _ : state) {
        QImage layer = background.copy();
        PaintPageObjects(layer, board, QStringLiteral("current"), true, {}, nullptr, options);
        benchmark::DoNotOptimize(layer.constBits());
    }
}
BENCHMARK(BM_RedrawZoomedPage)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

// A page change rebuilds the background of the page shown: a white board, a
// 4000 x 3000 picture and an A4 document page, in turn.
void BM_PageChangeBackground(benchmark::State& state)
{
    QTemporaryDir dir;
    QImage picture(4000, 3000, QImage::Format_RGB32);
    picture.fill(QColor(90, 140, 200));
    {
        QPainter p(&picture);
        p.setPen(QPen(Qt::black, 12));
        for (int i = 0; i < 40; ++i)
            p.drawLine(0, i * 75, 4000, 3000 - i * 75);
    }
    const QString picturePath = dir.filePath("big.jpg");
    picture.save(picturePath, "JPG", 90);

    const QString pdfPath = dir.filePath("a4.pdf");
    {
        QPdfWriter writer(pdfPath);
        writer.setPageSize(QPageSize(QPageSize::A4));
        QPainter p(&writer);
        p.setPen(QPen(Qt::black, 8));
        for (int i = 0; i < 60; ++i)
            p.drawLine(0, i * 200, writer.width(), i * 200 + 500);
    }

    storage::PdfRendererLibrary& library = storage::SharedPdfRenderer();
    storage::PdfRendererState pdf;
    DocumentRenderer renderer;
    if (storage::BindPdfRenderer(library) == storage::PdfBinding::Bound) {
        library.InitLibrary();
        renderer.available = true;
        renderer.openFirstPage = [&](const QString& path, double* w, double* h) {
            if (storage::OpenRendererDocument(library, pdf, path) <= 0)
                return false;
            if (library.LoadPage(pdf.document, 0, &pdf.page) != 0 || pdf.page <= 0)
                return false;
            pdf.currentPage = 0;
            *w = library.GetPageWidth(pdf.page);
            *h = library.GetPageHeight(pdf.page);
            return true;
        };
        renderer.renderPage = [&](double scale, QImage* target) {
            library.RenderPage(pdf.page, 0.0, 0.0, scale, target);
        };
    } else {
        state.SkipWithError("PDF renderer library not found beside the benchmark");
        return;
    }

    BackgroundRequest white;
    white.path = QStringLiteral("WhiteBoard");
    white.type = 1;
    white.view = QSize(1920, 1080);
    white.content = QRect(0, 0, 1920, 1080);
    white.currentImageSize = white.view;
    BackgroundRequest pictureRequest = white;
    pictureRequest.path = picturePath;
    pictureRequest.type = 2;
    BackgroundRequest document = white;
    document.path = pdfPath;
    document.type = 3;
    const BackgroundRequest* cycle[] = {&white, &pictureRequest, &document};

    const int which = int(state.range(0));
    for (auto _ : state) {
        const BackgroundResult out = BuildPageBackground(*cycle[which], renderer);
        benchmark::DoNotOptimize(out.image.constBits());
    }
    storage::ShutdownRenderer(library, pdf);
    static const char* names[] = {"white board", "4000x3000 picture", "A4 PDF page"};
    state.SetLabel(names[which]);
}
BENCHMARK(BM_PageChangeBackground)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
