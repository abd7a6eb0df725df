// The note list's thumbnail fill, its reorder, and a clip-art folder click.
//   BM_ThumbnailFill/N       the whole fill of N pages of 1920 x 1080, until
//                            the last thumbnail is in the list.
//   BM_ReorderGuiBlock/N     how long a reorder holds the window's thread
//                            with N pages listed.
//   BM_ClipArtFolder         300 pictures of 1024 x 768 (half PNG, half JPEG)
//                            and 50 files that are no pictures: the whole
//                            listing, and (counter gui_ms) the window's own
//                            share of it.
#include "panels/clip_art.h"
#include "panels/ui/clipart.h"
#include "panels/ui/notedialog.h"
#include "panels/ui/notelist.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

namespace {

QImage PagePicture(int seed, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((seed * 37) % 360, 60, 250));
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 4));
    for (int i = 0; i < 40; ++i)
        painter.drawLine((i * 97 + seed) % size.width(), (i * 53) % size.height(), (i * 31) % size.width(),
                         (i * 71 + seed) % size.height());
    return image;
}

QVector<NoteInfo> MakePages(const QTemporaryDir& dir, int count)
{
    QVector<NoteInfo> records(count);
    for (int i = 0; i < count; ++i) {
        records[i].create_data = QString::number(i);
        records[i].imagePath = dir.filePath(QString("%1.jpg").arg(i));
        if (!QFile::exists(records[i].imagePath))
            PagePicture(i, QSize(1920, 1080)).save(records[i].imagePath, "JPG");
    }
    return records;
}

void WaitFilled(NoteDialog& dialog, int count)
{
    while (dialog.FillRunning() || dialog.list()->count() < count)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

void BM_ThumbnailFill(benchmark::State& state)
{
    const int count = int(state.range(0));
    QTemporaryDir dir;
    QVector<NoteInfo> records = MakePages(dir, count);
    NoteDialog dialog;
    dialog.InitDialog(dir.path() + "/work/");
    for (auto _ : state) {
        dialog.SetEditMode(true);
        dialog.SetNoteList(&records, 0);
        dialog.StartMakeThumbnails();
        WaitFilled(dialog, count);
    }
    state.counters["pages"] = count;
}
BENCHMARK(BM_ThumbnailFill)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_ReorderGuiBlock(benchmark::State& state)
{
    const int count = int(state.range(0));
    QTemporaryDir dir;
    QVector<NoteInfo> records = MakePages(dir, count);
    NoteDialog dialog;
    dialog.InitDialog(dir.path() + "/work/");
    dialog.SetEditMode(true);
    dialog.SetNoteList(&records, 0);
    dialog.StartMakeThumbnails();
    WaitFilled(dialog, count);
    int step = 0;
    for (auto _ : state) {
        // First to fourth, then back, so every round moves a page.
        if (step++ % 2 == 0)
            dialog.sortingNote(3, 0);
        else
            dialog.sortingNote(0, 3);
    }
}
BENCHMARK(BM_ReorderGuiBlock)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

void BM_ClipArtFolder(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + "/Clipart/Many";
    QDir().mkpath(folder);
    const QImage picture = PagePicture(7, QSize(1024, 768));
    for (int i = 0; i < 300; ++i)
        picture.save(QString("%1/picture%2.%3").arg(folder).arg(i, 3, 10, QChar('0')).arg(i % 2 ? "jpg" : "png"));
    for (int i = 0; i < 50; ++i) {
        QFile file(QString("%1/text%2.txt").arg(folder).arg(i));
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(4096, 'x'));
    }
    clipart browser;
    browser.InitDialog(dir.path() + "/Clipart/");
    QTreeWidgetItem* many = browser.tree()->topLevelItem(0)->child(0);
    double guiMs = 0;
    for (auto _ : state) {
        QElapsedTimer gui;
        gui.start();
        browser.SelectItem(many, 0);
        guiMs += gui.nsecsElapsed() / 1e6;
        while (browser.list()->count() < 300) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            // The window's share: the batches arriving and their items added.
            gui.start();
            QApplication::sendPostedEvents(&browser);
            guiMs += gui.nsecsElapsed() / 1e6;
        }
    }
    state.counters["gui_ms"] = guiMs / double(state.iterations());
}
BENCHMARK(BM_ClipArtFolder)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
