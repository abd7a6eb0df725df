// Pointer records from an outside source of strokes, reached by the slot's
// name as that source would, drawn in pointer slot 2.
#include "app/ui/dialog.h"
#include "tests/support/test_folders.h"

#include <QElapsedTimer>
#include <QtTest>

#include <memory>

namespace {

const QColor kInk(0, 0, 220);

int InkIn(const QImage& image, QRect r)
{
    int n = 0;
    r = r.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            n += (qAbs(qRed(p) - kInk.red()) < 60 && qAbs(qGreen(p) - kInk.green()) < 60
                  && qAbs(qBlue(p) - kInk.blue()) < 60)
                     ? 1
                     : 0;
        }
    return n;
}

const QStringList kStroke = {"1,100,200", "2,150,220", "3,150,220"};

}  // namespace

class PointerReplayTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<Dialog> m_board;

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(m_root->isValid());
    }

    void init()
    {
        m_board = std::make_unique<Dialog>();
        m_board->resize(800, 600);
        m_board->InitBoardModel();
        m_board->ResetBoard(false);
        m_board->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_board.get()));
    }

    void cleanup() { m_board.reset(); }

    void records_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("tool");
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("alone, free pen") << 0 << int(ekFree) << kStroke << true;
        QTest::newRow("host, line") << 3 << int(ekLine) << kStroke << true;
        QTest::newRow("viewer") << 1 << int(ekFree) << kStroke << false;
        QTest::newRow("writer") << 2 << int(ekFree) << kStroke << false;
        QTest::newRow("two fields") << 0 << int(ekFree) << QStringList{"1,100", "2,150", "3,150"} << false;
        QTest::newRow("four fields") << 0 << int(ekFree)
                                     << QStringList{"1,100,200,5", "2,150,220,5", "3,150,220,5"} << false;
        QTest::newRow("unknown actions") << 0 << int(ekFree)
                                         << QStringList{"0,100,200", "4,150,220", "x,150,220", "-1,150,220"}
                                         << false;
        QTest::newRow("empty record") << 0 << int(ekFree) << QStringList{"", ",,", ",100,200"} << false;
    }
    void records()
    {
        QFETCH(int, level);
        QFETCH(int, tool);
        QFETCH(QStringList, records);
        QFETCH(bool, drawn);
        Dialog& board = *m_board;
        QVERIFY(board.metaObject()->indexOfSlot("Process_Rx()") >= 0);
        board.m_collUserLevel = level;
        PointerSlotState& slot = board.m_board.slot[2];
        slot.event_kind = tool;
        slot.pen = QPen(QBrush(kInk), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        const QImage before = board.m_viewImage;

        for (const QString& record : records)
            QVERIFY(QMetaObject::invokeMethod(&board, "Rx_data_processing", Q_ARG(QString, record)));

        if (!drawn) {
            QVERIFY(slot.records.masters().isEmpty());
            QVERIFY(!slot.pressed);
            QCOMPARE(board.m_viewImage, before);
            return;
        }
        QCOMPARE(slot.records.masters().size(), 1);
        QCOMPARE(slot.records.masters().first().Kind, tool);
        QCOMPARE(slot.records.details().first().S, QPointF(100, 200));
        QCOMPARE(slot.records.details().first().E, QPointF(150, 220));
        QVERIFY(!slot.pressed);
        for (int other = 0; other < kPointerSlotCount; ++other) {
            if (other != 2)
                QVERIFY(board.m_board.slot[other].records.masters().isEmpty());
        }
        QVERIFY(InkIn(board.m_viewImage, QRect(95, 195, 10, 10)) > 0);
        QVERIFY(InkIn(board.m_viewImage, QRect(120, 205, 10, 10)) > 0);
        QVERIFY(InkIn(board.m_viewImage, QRect(145, 215, 10, 10)) > 0);
        QCOMPARE(InkIn(board.m_viewImage, QRect(300, 300, 100, 100)), 0);
    }

    // Coordinates far off the page, as any outside source may send them,
    // make a stroke like any other and end in bounded time.
    void farOffThePage_data()
    {
        QTest::addColumn<int>("tool");
        QTest::newRow("free pen") << int(ekFree);
        QTest::newRow("ellipse") << int(ekEllipse);
    }
    void farOffThePage()
    {
        QFETCH(int, tool);
        m_board->m_board.slot[2].event_kind = tool;
        QElapsedTimer clock;
        clock.start();
        for (const QString& record : {"1,2147483647,-2147483648", "2,-2147483648,2147483647", "2,5,5",
                                      "3,-2147483648,-2147483648"})
            m_board->Rx_data_processing(record);
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!m_board->m_board.slot[2].pressed);
        QCOMPARE(m_board->m_board.slot[2].records.masters().size(), 1);
    }
};

QTEST_MAIN(PointerReplayTest)
#include "pointer_replay_test.moc"
