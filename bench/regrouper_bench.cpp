// A whole Regrouper run (read the folder, group, order, write New_Event.xml)
// on a large synthetic lesson: one slot holding 2,000 free-pen strokes of 100
// samples each (200,000 stroke records), 5,000 figures and 1,000 erase events.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTextStream>

#include "regrouper/regrouper_run.h"

namespace {

constexpr int kStrokes = 2000;
constexpr int kSamplesPerStroke = 100;
constexpr int kFigures = 5000;
constexpr int kErases = 1000;

bool WriteLesson(const QString& folder)
{
    QFile notes(folder + QStringLiteral("/Notes.xml"));
    if (!notes.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream(&notes) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<NoteList PDFName=\"big.pdf\">\n"
                           "<NoteInfo Type=\"1\" Name=\"WhiteBoard\" Create=\"big\" Path=\"WhiteBoard\" Access=\"0\" "
                           "NoteWidth=\"1920\" NoteHeight=\"1080\" PageOption=\"0\"/>\n</NoteList>\n";

    QFile events(folder + QStringLiteral("/big.xml"));
    if (!events.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&events);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Event Note=\"big\" Width=\"1920\" Height=\"1080\">\n";

    // Strokes get ids 1..2000 and start every 500 ms; figures 2001..7000.
    out << "<EM_0 Type=\"EM\" Index=\"0\">\n";
    for (int s = 0; s < kStrokes; ++s)
        out << "<EM KD=\"3\" MP=\"" << (1000 + s * 500) << "\" SD=\"0\" EI=\"" << (1 + s)
            << "\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n";
    for (int f = 0; f < kFigures; ++f) {
        const int kind = f % 3 == 0 ? 5 : (f % 3 == 1 ? 8 : 10);
        out << "<EM KD=\"" << kind << "\" MP=\"" << (1200 + f * 200) << "\" SD=\"0\" EI=\"" << (kStrokes + 1 + f)
            << "\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n";
    }
    out << "</EM_0>\n<ED_0 Type=\"ED\" Index=\"0\">\n";
    for (int s = 0; s < kStrokes; ++s) {
        const int x = (s * 37) % 1800, y = (s * 53) % 1000;
        out << "<ED EI=\"" << (1 + s) << "\" SX=\"" << x << "\" SY=\"" << y << "\" EX=\"" << x + 100 << "\" EY=\""
            << y + 50 << "\" OX=\"" << x << "\" OY=\"" << y << "\" OW=\"100\" OH=\"50\" PC=\"#0000ff\" PW=\"3\" OA=\"0\" "
            << "BD=\"0\" MD=\"0\" TP=\"255\"/>\n";
    }
    for (int f = 0; f < kFigures; ++f) {
        const int x = (f * 41) % 1880, y = (f * 29) % 1040;
        const bool erased = f < kErases;
        out << "<ED EI=\"" << (kStrokes + 1 + f) << "\" SX=\"" << x << "\" SY=\"" << y << "\" EX=\"" << x + 40
            << "\" EY=\"" << y + 40 << "\" OX=\"" << x << "\" OY=\"" << y << "\" OW=\"40\" OH=\"40\" PC=\"#ff0000\" "
            << "PW=\"2\" OA=\"0\" BD=\"" << (erased ? 1 : 0) << "\" MD=\"0\" TP=\"255\"/>\n";
    }
    out << "</ED_0>\n<EP_0 Type=\"EP\" Index=\"0\">\n";
    for (int e = 0; e < kErases; ++e) {
        const int x = (e * 41) % 1880, y = (e * 29) % 1040;
        out << "<EP EI=\"" << (kStrokes + 1 + e) << "\" MP=\"" << (1200 + e * 200 + 5000) << "\" EK=\"0\" BX=\"" << x
            << "\" BY=\"" << y << "\" BW=\"40\" BH=\"40\" AG=\"0\" GI=\"0\" GT=\"0\"/>\n";
    }
    out << "</EP_0>\n<FP_0 Type=\"FP\" Index=\"0\">\n";
    for (int s = 0; s < kStrokes; ++s) {
        const int x = (s * 37) % 1800, y = (s * 53) % 1000;
        for (int i = 0; i < kSamplesPerStroke; ++i) {
            const int action = i == 0 ? 1 : (i == kSamplesPerStroke - 1 ? 3 : 2);
            out << "<FP EI=\"" << (1 + s) << "\" MP=\"" << (1000 + s * 500 + i * 3) << "\" MA=\"" << action
                << "\" PS=\"0.5\" SX=\"" << x + i << "\" SY=\"" << y + i / 2 << "\"/>\n";
        }
    }
    out << "</FP_0>\n</Event>\n";
    out.flush();
    return events.error() == QFile::NoError;
}

void BM_RegrouperWholeRun(benchmark::State& state)
{
    QTemporaryDir dir;
    if (!dir.isValid() || !WriteLesson(dir.path())) {
        state.SkipWithError("cannot write the synthetic lesson");
        return;
    }
    for (auto _ : state) {
        QString errors;
        QTextStream err(&errors);
        if (RunRegrouper(dir.path(), err) != 0) {
            state.SkipWithError("the run failed");
            return;
        }
    }
    QFile written(dir.path() + QStringLiteral("/New_Event.xml"));
    state.counters["output_MB"] = written.size() / 1e6;
}
BENCHMARK(BM_RegrouperWholeRun)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
