#include "tests/support/board_window.h"

#include <QDir>
#include <QtTest>

void BoardWindowTest::initTestCase()
{
    qputenv("DRAVIK_NO_MODAL", "1");
    root = std::make_unique<ScopedFolderRoot>();
    QVERIFY(root->isValid());
}

void BoardWindowTest::cleanupTestCase() { root.reset(); }

void BoardWindowTest::init()
{
    board = new Dialog;
    board->resize(800, 600);
    board->InitBoardModel();
    board->ResetBoard(false);
    board->show();
    QVERIFY(QTest::qWaitForWindowExposed(board));
}

void BoardWindowTest::cleanup()
{
    delete board;
    board = nullptr;
}

void BoardWindowTest::Drag(int slot, QPoint from, QPoint to, int steps)
{
    board->PointerPress(slot, from.x(), from.y(), true, false);
    for (int i = 1; i <= steps; ++i) {
        const QPoint p = from + (to - from) * i / steps;
        board->PointerMove(slot, p.x(), p.y(), true, false);
    }
    board->PointerRelease(slot, to.x(), to.y(), true, false);
}

void BoardWindowTest::Draw(int slot, int kind, QPoint from, QPoint to, int steps)
{
    board->m_board.slot[slot].event_kind = kind;
    Drag(slot, from, to, steps);
}

quint16 BoardWindowTest::AddStroke(int slot, const QVector<QPointF>& points, QRect bound)
{
    PointerSlotState& s = board->m_board.slot[slot];
    const quint16 id = quint16(s.nextEventId++);
    EventMaster em;
    em.EventID = id;
    em.Kind = ekFree;
    em.NoteName = board->m_curr_note.create_data;
    EventDetail ed;
    ed.EventID = id;
    ed.PenWidth = 3;
    ed.PenColor = Qt::black;
    ed.M = ed.S = points.first();
    ed.C = ed.E = points.last();
    ed.BoundRF = ed.OriginRF = bound;
    QVector<FreePenPoint> samples;
    for (const QPointF& p : points) {
        FreePenPoint fp;
        fp.EventID = id;
        fp.S = fp.M = p;
        samples.append(fp);
    }
    s.records.appendMaster(em);
    s.records.appendDetail(ed);
    s.allPoints += samples;
    board->m_board.FreePenMap.insert(MakeObjectKey(slot, id), samples);
    return id;
}

bool BoardWindowTest::PrepareSoundRecording(const QString& folder)
{
    board->SetButtons();
    board->ConnectSignals();
    board->CreateMenus();
    board->m_config.Type = 1;
    board->m_config.Check = false;
    board->m_config.Name = false;
    board->m_config.Path = folder;
    board->m_mic_name = "Test Tone";
    QDir().mkpath(board->m_workFolder);
    return board->m_bCaptureLibLoaded;
}
