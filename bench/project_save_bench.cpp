// A project save of a lesson, from the snapshot to the archive in place:
// N pages of 300 free-pen strokes of 150 samples spread over the eleven
// slots, and 20 pictures. The floor is the packer alone on the same files
// ("zip -q -r -j" of the staged folder), measured in the same run:
// "ratio_to_zip" is the save's time over it. BM_ProjectSaveGrowth saves 60
// pages and 30 and reports the ratio of the two: a save that grows with the
// lesson stays near 2.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "board/event_kind.h"
#include "storage/project_file.h"
#include "storage/staging_writer.h"

namespace {

constexpr int kStrokesPerNote = 300;
constexpr int kSamplesPerStroke = 150;
constexpr int kPictures = 20;

// Photographs do not pack; noise stands in for them.
QStringList MakePictures(const QString& folder)
{
    QStringList files;
    QRandomGenerator random(7);
    for (int i = 0; i < kPictures; ++i) {
        QImage picture(640, 480, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y) {
            auto* line = reinterpret_cast<quint32*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                line[x] = random.generate();
        }
        const QString file = folder + QStringLiteral("/picture%1.jpg").arg(i);
        picture.save(file, "JPEG", 90);
        files << file;
    }
    return files;
}

storage::ProjectSnapshot Lesson(int notes, const QStringList& pictures)
{
    storage::ProjectSnapshot project;
    project.boardSize = QSize(1920, 1080);
    project.pageSize = QSize(1920, 1080);
    project.mediaFiles = pictures;
    for (int n = 0; n < notes; ++n) {
        NoteInfo note;
        note.name = QStringLiteral("WhiteBoard");
        note.path = note.name;
        note.create_data = QStringLiteral("2024010110101%1").arg(n, 3, 10, QLatin1Char('0'));
        note.width = 1920;
        note.height = 1080;
        project.notes.append(note);
    }
    std::array<quint16, kPointerSlotCount> next{};
    for (int s = 0; s < notes * kStrokesPerNote; ++s) {
        const int slot = s % kPointerSlotCount;
        storage::SlotSnapshot& tables = project.slotTables[slot];
        const quint16 id = next[slot]++;
        const int x = (s * 37) % 1700, y = (s * 53) % 900;
        EventMaster m;
        m.EventID = id;
        m.Kind = ekFree;
        m.Slot = quint16(slot);
        m.NoteName = project.notes.at(s % notes).create_data;
        tables.masters.append(m);
        EventDetail d;
        d.EventID = id;
        d.S = QPointF(x, y);
        d.E = QPointF(x + kSamplesPerStroke, y + kSamplesPerStroke / 2);
        d.OriginRF = QRect(x, y, kSamplesPerStroke, kSamplesPerStroke / 2);
        d.BoundRF = d.OriginRF;
        d.PenColor = QColor(0, 0, 255);
        d.PenWidth = 3;
        tables.details.append(d);
        for (int i = 0; i < kSamplesPerStroke; ++i) {
            FreePenPoint p;
            p.EventID = id;
            p.MouseAction = i == 0 ? 1 : (i == kSamplesPerStroke - 1 ? 3 : 2);
            p.MediaPos = 1000.0 + s * 0.37 + i;
            p.Press = 0.5f + float(i % 7) / 10.f;
            p.S = QPointF(x + i, y + i / 2.0);
            p.M = p.S;
            tables.points.append(p);
        }
    }
    return project;
}

double SaveMs(const storage::ProjectSnapshot& project, const QString& work, const QString& stamp,
              const QString& target, QString* error)
{
    QElapsedTimer clock;
    clock.start();
    const storage::ProjectSaveResult result =
        storage::SaveProjectFile(project, work, stamp, target, [](const QString&, int) {});
    const double ms = clock.nsecsElapsed() / 1e6;
    if (!result.saved)
        *error = result.error;
    return ms;
}

// The packer alone on the files the save stages.
double ZipFloorMs(const storage::ProjectSnapshot& project, const QString& work, QString* error)
{
    QString problem;
    const QString staging = storage::PrepareStagingFolder(work, QStringLiteral("floor"), &problem);
    if (staging.isEmpty()) {
        *error = problem;
        return 0;
    }
    const auto quiet = [](const QString&, int) {};
    storage::StagingWriter writer(staging);
    if (!storage::StageEventFiles(project, writer, quiet) || !storage::StageNoteList(project, writer, quiet)
        || !storage::StageMediaList(project, writer, quiet))
        *error = writer.error();
    const QString archive = work + QStringLiteral("/floor.zip");
    QFile::remove(archive);
    QProcess zip;
    QElapsedTimer clock;
    clock.start();
    zip.start(QStringLiteral("zip"), {QStringLiteral("-q"), QStringLiteral("-r"), QStringLiteral("-j"), archive, staging});
    if (!zip.waitForFinished(10 * 60 * 1000) || zip.exitCode() != 0)
        *error = QStringLiteral("zip failed");
    const double ms = clock.nsecsElapsed() / 1e6;
    QDir(staging).removeRecursively();
    QFile::remove(archive);
    return ms;
}

void BM_ProjectSave(benchmark::State& state)
{
    const int notes = int(state.range(0));
    QTemporaryDir work;
    const storage::ProjectSnapshot project = Lesson(notes, MakePictures(work.path()));
    const QString target = work.filePath(QStringLiteral("lesson.vk"));
    int round = 0;
    double saveMs = 0, zipMs = 0;
    for (auto _ : state) {
        QString error;
        const double ms = SaveMs(project, work.path(), QStringLiteral("stamp%1").arg(round++), target, &error);
        state.SetIterationTime(ms / 1000.0);
        saveMs += ms;
        zipMs += ZipFloorMs(project, work.path(), &error);
        if (!error.isEmpty())
            state.SkipWithError(error.toUtf8().constData());
    }
    state.counters["samples"] = double(notes) * kStrokesPerNote * kSamplesPerStroke;
    state.counters["zip_ms"] = zipMs / round;
    state.counters["ratio_to_zip"] = zipMs > 0 ? saveMs / zipMs : 0;
}

void BM_ProjectSaveGrowth(benchmark::State& state)
{
    QTemporaryDir work;
    const QStringList pictures = MakePictures(work.path());
    const storage::ProjectSnapshot small = Lesson(30, pictures);
    const storage::ProjectSnapshot large = Lesson(60, pictures);
    const QString target = work.filePath(QStringLiteral("lesson.vk"));
    int round = 0;
    double smallMs = 0, largeMs = 0;
    for (auto _ : state) {
        QString error;
        smallMs += SaveMs(small, work.path(), QStringLiteral("small%1").arg(round), target, &error);
        const double ms = SaveMs(large, work.path(), QStringLiteral("large%1").arg(round), target, &error);
        largeMs += ms;
        ++round;
        state.SetIterationTime(ms / 1000.0);
        if (!error.isEmpty())
            state.SkipWithError(error.toUtf8().constData());
    }
    state.counters["ms_30_pages"] = smallMs / round;
    state.counters["ms_60_pages"] = largeMs / round;
    state.counters["ratio_60_to_30"] = smallMs > 0 ? largeMs / smallMs : 0;
}

}  // namespace

BENCHMARK(BM_ProjectSave)->Arg(30)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_ProjectSaveGrowth)->Unit(benchmark::kMillisecond)->Iterations(2)->UseManualTime();
