// Pictures a host sends, on a real window: a small file of a huge picture,
// sent as an image object or as a picture page, is refused at once; the
// board neither stalls on it nor decodes it.
#include "app/ui/dialog.h"
#include "board/picture_file.h"
#include "collab/coll_messages.h"
#include "tests/support/debug_log.h"
#include "tests/support/picture_bombs.h"
#include "tests/support/session_tap.h"
#include "tests/support/test_folders.h"

#include <QtTest>

#include <memory>

namespace {

bool AnyImagePlaced(const Dialog& d)
{
    for (const EventMaster& em : d.m_board.slot[kMouseOverflowSlot].records.masters()) {
        if (em.Kind == ekImage)
            return true;
    }
    return false;
}

}  // namespace

class ReceivedPictureTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<Dialog> board;
    std::unique_ptr<SessionTap> tap;

    // A session as a viewer.
    void Join()
    {
        tap = std::make_unique<SessionTap>(board.get(), 1);
        QVERIFY(tap->ok());
        board->m_ownId = QStringLiteral("pupil");
    }

private slots:
    void initTestCase()
    {
        qInstallMessageHandler(CollectLog);
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
    }

    void init()
    {
        ScopedLibraryFolder libraries(BuiltProgramFolder());
        board = std::make_unique<Dialog>();
        board->InitDialog(false);
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board.get()));
        g_log.clear();
    }

    void cleanup()
    {
        tap.reset();
        board.reset();
    }

    void cleanupTestCase() { m_root.reset(); }

    // A small file of a huge picture, sent as an image object or as a
    // picture page, is refused at once: the board neither stalls on it nor
    // decodes it.
    void pictureBombIsRefused_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("image object") << 3;
        QTest::newRow("picture page") << 0;
    }
    void pictureBombIsRefused()
    {
        QFETCH(int, kind);
        Join();
        static const QByteArray bomb = [] {
            QTemporaryDir folder;
            const QString path = folder.filePath(QStringLiteral("bomb.png"));
            QFile file(path);
            return WritePngBomb(path, 20000, 20000) && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        QVERIFY(!bomb.isEmpty());
        if (kind == 0)
            tap->Deliver("NOTEDATA_SET", "0,,bomb.png,20260101120000006,C:\\x\\bomb.png,,,2,0,800,600,0");
        const QByteArray tail = kind == 3 ? coll::FileTail(coll::ToEveryone(), 3, QStringLiteral("20260101120000001"))
                                          : coll::FileTail(coll::ToEveryone(), 0);
        for (int at = 0; at < bomb.size(); at += 3072)
            tap->Deliver("DOC_ST", bomb.mid(at, 3072), tail);
        const qint64 peakBefore = PeakResidentKb(QCoreApplication::applicationPid());
        g_log.clear();
        QElapsedTimer clock;
        clock.start();
        tap->Deliver("DOC_EN", coll::FileEndData(), tail);
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        const qint64 growth = PeakResidentKb(QCoreApplication::applicationPid()) - peakBefore;
        QVERIFY2(growth < kPicturePixelBudget * 4 / 1024, qPrintable(QStringLiteral("%1 kB").arg(growth)));
        QVERIFY2(!g_log.filter(QStringLiteral("20000 x 20000 pixels")).isEmpty(), qPrintable(g_log.join('\n')));
        QVERIFY(!AnyImagePlaced(*board));
    }

};

QTEST_MAIN(ReceivedPictureTest)
#include "received_picture_test.moc"
