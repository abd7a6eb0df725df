// Pictures put on the page as image objects: the size they take, where
// their files go, and the object each becomes in the main window.
#include <QtTest>

#include <QDir>
#include <QImage>

#include "app/ui/dialog.h"
#include "collab/file_transfer.h"
#include "editing/image_objects.h"
#include "tests/support/board_window.h"
#include "tests/support/debug_log.h"
#include "tests/support/session_tap.h"

class ImageObjectsTest : public BoardWindowTest
{
    Q_OBJECT

    // A picture of one colour in a folder of the test's own.
    QString Picture(const QString& name, QSize size, QColor colour = Qt::red)
    {
        const QString folder = root->path() + QStringLiteral("/pictures/");
        QDir().mkpath(folder);
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = folder + name;
        return image.save(path) ? path : QString();
    }

    const EventDetail& LastDetail(int slot) { return board->m_board.slot[slot].records.details().last(); }
    const EventMaster& LastMaster(int slot) { return board->m_board.slot[slot].records.masters().last(); }

private slots:
    // A picture larger than the board in either direction keeps its
    // proportions at the board's size; a smaller one keeps its own.
    void sizeOnTheBoard_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("smaller") << QSize(1000, 500) << QSize(1000, 500);
        QTest::newRow("board's own size") << QSize(1920, 1080) << QSize(1920, 1080);
        QTest::newRow("wide and tall") << QSize(3000, 2000) << QSize(1620, 1080);
        QTest::newRow("tall") << QSize(1200, 2400) << QSize(540, 1080);
        QTest::newRow("wide") << QSize(4000, 1000) << QSize(1920, 480);
        QTest::newRow("a thin line") << QSize(100000, 1) << QSize(1920, 1);
    }

    void sizeOnTheBoard()
    {
        QFETCH(QSize, image);
        QFETCH(QSize, expected);
        QCOMPARE(ImageObjectSize(image, QSize(1920, 1080)), expected);
    }

    // A host's name is used only when it is a bare file name.
    void hostNamesStayInTheFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        QTest::newRow("plain") << "pic" << "/w/Doc/pic.png";
        QTest::newRow("empty") << "" << "/w/Doc/Obj_image20260101120000000.png";
        QTest::newRow("parent") << ".." << "/w/Doc/Obj_image20260101120000000.png";
        QTest::newRow("slash") << "../../etc/x" << "/w/Doc/Obj_image20260101120000000.png";
        QTest::newRow("backslash") << "..\\x" << "/w/Doc/Obj_image20260101120000000.png";
    }

    void hostNamesStayInTheFolder()
    {
        QFETCH(QString, name);
        QFETCH(QString, file);
        QCOMPARE(ReceivedImagePath(coll::DocumentFolder("/w/"), name, "20260101120000000"), file);
    }

    // Until the host's board size is known, a received picture keeps its
    // size; then it is scaled by our canvas over the host's.
    void hostScale()
    {
        QCOMPARE(HostImageSize(QSize(400, 200), coll::ScaleFromHost(QSize(800, 600), QSize(0, 0))), QSize(400, 200));
        QCOMPARE(HostImageSize(QSize(400, 200), coll::ScaleFromHost(QSize(800, 600), QSize(1600, 0))), QSize(400, 200));
        QCOMPARE(HostImageSize(QSize(400, 200), coll::ScaleFromHost(QSize(800, 600), QSize(1600, 1200))),
                 QSize(200, 100));
    }

    // An inserted picture is saved in the work folder as "Obj_image" and a
    // time stamp, listed in the media list at its object's StrData, centred,
    // painted, and selected when asked.
    void insertedPictureBecomesAnObject_data()
    {
        QTest::addColumn<int>("select");
        QTest::newRow("selected") << 1;
        QTest::newRow("not selected") << 0;
    }

    void insertedPictureBecomesAnObject()
    {
        QFETCH(int, select);
        const QString picture = Picture("red.png", QSize(200, 100));
        const int media = board->m_mediaFiles.size();
        board->InsertImageObject(picture, select, QString());

        QCOMPARE(board->m_board.slot[0].records.masters().size(), 1);
        const EventMaster& em = LastMaster(0);
        QCOMPARE(em.Kind, int(ekImage));
        QCOMPARE(int(em.StrData), media);
        QCOMPARE(board->m_mediaFiles.size(), media + 1);
        const QString file = board->m_mediaFiles.last();
        QVERIFY2(QRegularExpression("^" + QRegularExpression::escape(board->m_workFolder)
                                    + "Obj_image\\d{17}\\.png$").match(file).hasMatch(),
                 qPrintable(file));
        QCOMPARE(QImage(file).size(), QSize(200, 100));
        const QPoint topLeft(board->width() / 2 - 100, board->height() / 2 - 50);
        QCOMPARE(LastDetail(0).BoundRF.topLeft(), topLeft);
        QCOMPARE(board->m_board.slot[0].event_kind, int(ekSelect));
        QCOMPARE(board->m_select_id_str, select ? QStringList{"0-0"} : QStringList());
        QCOMPARE(board->m_viewImage.pixelColor(topLeft + QPoint(100, 50)), QColor(Qt::red));
        QCOMPARE(board->m_undo.URList.last().Kind, int(URKindAdd));
    }

    // A large picture is fitted into the board keeping its proportions; a
    // pending drop position centres one picture there, once.
    void sizeAndDropPosition()
    {
        board->InsertImageObject(Picture("big.png", QSize(1600, 1600)), 0, QString());
        QCOMPARE(QImage(board->m_mediaFiles.last()).size(), QSize(board->height(), board->height()));

        const QString small = Picture("small.png", QSize(40, 30));
        board->m_dropPositionPending = true;
        board->m_dropPosition = QPoint(100, 100);
        board->InsertImageObject(small, 0, QString());
        QCOMPARE(LastDetail(0).BoundRF.topLeft(), QPoint(80, 85));
        QVERIFY(!board->m_dropPositionPending);
        board->InsertImageObject(small, 0, QString());
        QCOMPARE(LastDetail(0).BoundRF.topLeft(), QPoint(board->width() / 2 - 20, board->height() / 2 - 15));
        // Three files, none written over another.
        QCOMPARE(QSet<QString>(board->m_mediaFiles.begin(), board->m_mediaFiles.end()).size(), 3);
    }

    // A file that does not read as a picture inserts nothing and says so.
    void unreadableFileInsertsNothing()
    {
        const QString path = root->path() + QStringLiteral("/not_a_picture.png");
        QFile text(path);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("no picture here");
        text.close();
        g_log.clear();
        QtMessageHandler previous = qInstallMessageHandler(CollectLog);
        board->InsertImageObject(path, 1, QString());
        board->InsertImageObject(root->path() + QStringLiteral("/missing.png"), 1, QString());
        qInstallMessageHandler(previous);
        QVERIFY(board->m_board.slot[0].records.masters().isEmpty());
        QVERIFY(board->m_mediaFiles.isEmpty());
        QVERIFY(board->m_undo.URList.isEmpty());
        QCOMPARE(g_log.filter("message box").size(), 2);
    }

    // A viewer keeps the host's picture in the document folder under the
    // host's name, made if missing, in slot 10 and unselected; a name that
    // would leave the folder gets a time-stamp name instead. Before the
    // host's size is known nothing is divided by it.
    void viewerKeepsHostPicturesInTheDocumentFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("kept");
        QTest::newRow("plain") << "pic" << true;
        QTest::newRow("parent") << ".." << false;
        QTest::newRow("path") << "../../escaped" << false;
        QTest::newRow("backslash") << "..\\escaped" << false;
        QTest::newRow("empty") << "" << false;
    }

    void viewerKeepsHostPicturesInTheDocumentFolder()
    {
        QFETCH(QString, name);
        QFETCH(bool, kept);
        const QString docFolder = coll::DocumentFolder(board->m_workFolder);
        QDir(docFolder).removeRecursively();
        board->m_collUserLevel = 1;
        board->m_hostBoardSize = QSize();
        board->InsertImageObject(Picture("host.png", QSize(60, 40)), 0, name);
        board->m_collUserLevel = 0;

        QCOMPARE(board->m_board.slot[kMouseOverflowSlot].records.masters().size(), 1);
        QCOMPARE(LastMaster(kMouseOverflowSlot).Kind, int(ekImage));
        QCOMPARE(board->m_board.slot[kMouseOverflowSlot].event_kind, int(ekSelect));
        QVERIFY(board->m_select_id_str.isEmpty());
        const QString file = board->m_mediaFiles.last();
        QCOMPARE(QFileInfo(file).absolutePath(), QFileInfo(docFolder + "x").absolutePath());
        if (kept)
            QCOMPARE(file, docFolder + name + ".png");
        else
            QVERIFY2(QFileInfo(file).fileName().startsWith("Obj_image"), qPrintable(file));
        QCOMPARE(QImage(file).size(), QSize(60, 40));
        QCOMPARE(QDir(board->m_workFolder).entryList({"escaped*"}).size(), 0);
        QCOMPARE(QDir(root->path()).entryList({"escaped*"}).size(), 0);

        // Scaled once the host's size is known: a host twice our size.
        board->m_collUserLevel = 2;
        board->m_hostBoardSize = QSize(board->m_canvasWidth * 2, board->m_canvasHeight * 2);
        board->InsertImageObject(Picture("host.png", QSize(60, 40)), 0, "scaled");
        board->m_collUserLevel = 0;
        QCOMPARE(QImage(docFolder + "scaled.png").size(), QSize(30, 20));
    }

    // The host sends each inserted picture to its peers as an image file.
    void hostSendsThePicture()
    {
        SessionTap tap(board, 3);
        QVERIFY(tap.ok());
        board->InsertImageObject(Picture("red.png", QSize(20, 20)), 1, QString());
        const QStringList keywords = tap.Keywords();
        QVERIFY2(keywords.contains("DOC_ST") && keywords.last() == "DOC_EN", qPrintable(keywords.join(',')));
        QVERIFY(tap.Frames().last().tail.contains(QFileInfo(board->m_mediaFiles.last()).completeBaseName().toUtf8()));
    }
};

QTEST_MAIN(ImageObjectsTest)
#include "image_objects_test.moc"
