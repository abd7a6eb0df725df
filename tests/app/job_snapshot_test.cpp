// A background job reads the board while the GUI thread keeps drawing: the
// job sees the board as it was when it started, whole, and the live board
// goes on growing. Run under the address sanitizer too.
#include "app/ui/dialog.h"
#include "tests/support/test_folders.h"

#include <QFutureWatcher>
#include <QtTest>

#include <atomic>
#include <memory>

namespace {

// Strokes and samples of every slot, as a save job would walk them.
struct Tally {
    int masters = 0;
    int details = 0;
    qint64 samples = 0;
    bool operator==(const Tally& o) const
    {
        return masters == o.masters && details == o.details && samples == o.samples;
    }
};

Tally Walk(const BoardModel& board)
{
    Tally t;
    for (const PointerSlotState& slot : board.slot) {
        t.masters += slot.records.masters().size();
        t.details += slot.records.details().size();
        for (const EventMaster& em : slot.records.masters())
            t.samples += board.FreePenMap.value(MakeObjectKey(em.Slot, em.EventID)).size();
    }
    return t;
}

}  // namespace

class JobSnapshotTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;

    static void Drag(Dialog& board, int slot, int row)
    {
        const int y = 40 + (row * 13) % 500;
        board.PointerPress(slot, 30, y, true, false);
        for (int x = 34; x < 400; x += 4)
            board.PointerMove(slot, x, y + (x / 4) % 7, true, false);
        board.PointerRelease(slot, 400, y, true, false);
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
    }

    void jobReadsTheBoardAsItWasWhileStrokesAreAdded()
    {
        Dialog board;
        board.resize(800, 600);
        board.InitBoardModel();
        board.show();
        QVERIFY(QTest::qWaitForWindowExposed(&board));
        for (int i = 0; i < 40; ++i)
            Drag(board, i % 3, i);
        const Tally before = Walk(board.m_board);
        QCOMPARE(before.masters, 40);
        const int pages = board.m_note_list.size();

        std::atomic<int> rounds{0};
        std::atomic<bool> steady{true};
        std::atomic<bool> stop{false};
        Tally seen;
        QFutureWatcher<void> watcher;
        board.StartSnapshotJob(watcher, [&](const JobSnapshot& s) {
            seen = Walk(s.board);
            // Walks again and again while the GUI thread draws, with a bound
            // of its own should the drawing end first.
            while (!stop.load() && rounds.load() < 100000) {
                if (!(Walk(s.board) == seen) || s.notes.size() != pages)
                    steady = false;
                ++rounds;
            }
        });
        // The GUI thread adds strokes from several slots while the job reads.
        for (int i = 0; i < 120 && watcher.isRunning(); ++i) {
            Drag(board, i % kPointerSlotCount, 40 + i);
            if (i % 40 == 39)
                board.m_note_list.append(board.m_curr_note);
            QCoreApplication::processEvents();
        }
        stop = true;
        watcher.waitForFinished();

        QVERIFY(rounds.load() > 0);
        QVERIFY(steady.load());
        QVERIFY(seen == before);
        QVERIFY(Walk(board.m_board).masters > before.masters);
    }
};

QTEST_MAIN(JobSnapshotTest)
#include "job_snapshot_test.moc"
