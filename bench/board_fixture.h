#pragma once
// Shared by the benchmarks: a board filled with many free-pen strokes, and a
// main window on an offscreen display to drive the real pointer path.
#include <QApplication>
#include <QTemporaryDir>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <vector>

#include "board/board_model.h"

namespace bench {

constexpr int kSamplesPerStroke = 200;

// `count` free-pen strokes of 200 samples on the page `note`, spread over the
// eleven slots and over a full-HD page.
inline void AddStrokes(BoardModel& board, const QString& note, int count)
{
    for (int i = 0; i < count; ++i) {
        const int slot = i % kPointerSlotCount;
        PointerSlotState& s = board.slot[slot];
        const quint16 id = quint16(s.nextEventId++);
        EventMaster em;
        em.EventID = id;
        em.Kind = ekFree;
        em.NoteName = note;
        em.Slot = quint16(slot);
        EventDetail ed;
        ed.EventID = id;
        ed.PenColor = QColor(20, 20, 160);
        ed.PenWidth = 3;
        QVector<FreePenPoint> points;
        points.reserve(kSamplesPerStroke);
        const double x0 = 40 + (i * 37) % 1700;
        const double y0 = 40 + (i * 53) % 950;
        for (int k = 0; k < kSamplesPerStroke; ++k) {
            FreePenPoint fp;
            fp.EventID = id;
            fp.M = QPointF(x0 + k * 0.8, y0 + 25 * std::sin(k * 0.08 + i));
            fp.S = fp.M;
            fp.MouseAction = 2;
            points.append(fp);
        }
        ed.M = ed.S = points.first().M;
        ed.C = ed.E = points.last().M;
        s.records.appendMaster(em);
        s.records.appendDetail(ed);
        board.FreePenMap.insert(MakeObjectKey(slot, id), points);
    }
}

// `count` figures of seven kinds on the page `note`, spread over the slots
// and over a full-HD page; every fifth one turned by 30 degrees.
inline void AddFigures(BoardModel& board, const QString& note, int count)
{
    const int kinds[] = {ekLine, ekRect, ekFillRect, ekEllipse, ekCircle, ekEArrow, ekFillEllipse};
    for (int i = 0; i < count; ++i) {
        const int slot = (i * 7) % kPointerSlotCount;
        PointerSlotState& s = board.slot[slot];
        EventMaster em;
        em.EventID = quint16(s.nextEventId++);
        em.Kind = kinds[i % 7];
        em.NoteName = note;
        EventDetail ed;
        ed.EventID = em.EventID;
        ed.M = ed.S = QPointF(30 + (i * 97) % 1750, 30 + (i * 61) % 950);
        ed.C = ed.E = ed.M + QPointF(40 + i % 90, 30 + i % 70);
        ed.BoundRF = QRectF(ed.M, ed.C).normalized().toRect();
        ed.PenWidth = 3;
        ed.Angle = i % 5 == 0 ? 30.f : 0.f;
        s.records.appendMaster(em);
        s.records.appendDetail(ed);
    }
}

// One application on the offscreen platform for the whole benchmark
// program, with the whiteboard's folders in a private temporary folder.
inline QApplication& OffscreenApplication()
{
    static QTemporaryDir root;
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("DRAVIK_ROOT", root.path().toLocal8Bit());
    qputenv("DRAVIK_NO_MODAL", "1");
    qputenv("DRAVIK_NO_WEB_SERVER", "1");
    // The window's debug lines (one per object made) would drown the figures.
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    static QApplication app(argc, argv);
    return app;
}

struct Spread {
    double median = 0, p99 = 0, worst = 0;
};

inline Spread SpreadOf(std::vector<double> v)
{
    Spread s;
    if (v.empty())
        return s;
    std::sort(v.begin(), v.end());
    s.median = v[v.size() / 2];
    s.p99 = v[std::min(v.size() - 1, v.size() * 99 / 100)];
    s.worst = v.back();
    return s;
}

}  // namespace bench
