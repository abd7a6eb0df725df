// Files from peers, without a window: chunks arriving byte for byte in the
// document folder, and every name, kind and size that must write nothing.
#include "collab/file_reception.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray Bytes(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 131) ^ (i >> 8));
    return bytes;
}

// Every file below the root, as relative paths.
QStringList Listing(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class FileReceptionTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_work;  // the work folder: holds Doc/ and UpDateRx/
    coll::ReceiveFolders m_folders;

    void Send(coll::FileReceiver& receiver, int kind, const QString& name, const QByteArray& bytes, int chunk = 3072)
    {
        for (int at = 0; at < bytes.size(); at += chunk)
            receiver.Chunk(kind, name, bytes.mid(at, chunk), m_folders);
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_work = m_dir.path() + QStringLiteral("/work/");
        QDir().mkpath(m_work);
        m_folders.documentFolder = m_work + QStringLiteral("Doc/");
        m_folders.updateFolder = m_work + QStringLiteral("UpDateRx/");
        m_folders.debugMode = false;
    }
    void cleanup() { QDir(m_dir.path()).removeRecursively(); }

    void chunksArriveByteForByte_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("size");
        QTest::newRow("a page's document") << 0 << "lesson.pdf" << "Doc/lesson.pdf" << 10000;
        QTest::newRow("an inserted image") << 3 << "20260101120000000" << "Doc/20260101120000000.png" << 3072 * 3;
        QTest::newRow("an image re-sent") << 4 << "pic" << "Doc/pic.png" << 1;
        QTest::newRow("an empty document") << 0 << "empty.pdf" << QString() << 0;
    }
    void chunksArriveByteForByte()
    {
        QFETCH(int, kind);
        QFETCH(QString, name);
        QFETCH(QString, target);
        QFETCH(int, size);
        coll::FileReceiver receiver;
        const QByteArray bytes = Bytes(size);
        Send(receiver, kind, name, bytes);
        QCOMPARE(receiver.total(), qint64(size));
        const coll::ReceivedFile file = receiver.Finish();
        if (target.isEmpty()) {
            // No chunk came: there is nothing to place.
            QVERIFY(!file.complete);
            QCOMPARE(Listing(m_work), QStringList());
            return;
        }
        QVERIFY(file.complete);
        QCOMPARE(file.path, m_work + target);
        QCOMPARE(file.kind, kind);
        QCOMPARE(file.name, name);
        QCOMPARE(Read(file.path), bytes);
        QCOMPARE(Listing(m_work), QStringList{target});
        QCOMPARE(int(QFile::permissions(m_work + "Doc") & (QFile::WriteGroup | QFile::WriteOther)), 0);
    }

    // Names from peers are never paths; each of these writes nothing anywhere.
    void badNamesWriteNothing_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::newRow("parent folder") << 0 << "../evil.pdf";
        QTest::newRow("absolute") << 0 << "/tmp/evil.pdf";
        QTest::newRow("backslash") << 3 << "..\\..\\evil";
        QTest::newRow("dot dot") << 3 << "..";
        QTest::newRow("dot") << 0 << ".";
        QTest::newRow("empty") << 4 << "";
        QTest::newRow("sub folder") << 4 << "a/b";
        QTest::newRow("unknown kind") << 7 << "fine.png";
        QTest::newRow("negative kind") << -1 << "fine.png";
        QTest::newRow("library outside debug mode") << 1 << "";
        QTest::newRow("program outside debug mode") << 2 << "";
    }
    void badNamesWriteNothing()
    {
        QFETCH(int, kind);
        QFETCH(QString, name);
        coll::FileReceiver receiver;
        Send(receiver, kind, name, Bytes(5000));
        QVERIFY(!receiver.receiving());
        QVERIFY(!receiver.Finish().complete);
        QCOMPARE(Listing(m_dir.path()), QStringList());
        // The next transfer is taken as usual.
        Send(receiver, 3, QStringLiteral("next"), Bytes(10));
        QVERIFY(receiver.Finish().complete);
    }

    void programFilesInDebugModeAreDataFiles_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("target");
        QTest::newRow("library") << 1 << "UpDateRx/Konnexa.dll";
        QTest::newRow("program") << 2 << "UpDateRx/Orbel5.exe";
    }
    void programFilesInDebugModeAreDataFiles()
    {
        QFETCH(int, kind);
        QFETCH(QString, target);
        m_folders.debugMode = true;
        coll::FileReceiver receiver;
        const QByteArray bytes = Bytes(7000);
        Send(receiver, kind, QStringLiteral("../ignored"), bytes);
        const coll::ReceivedFile file = receiver.Finish();
        QVERIFY(file.complete);
        QCOMPARE(file.path, m_work + target);
        QCOMPARE(Read(file.path), bytes);
        const QFile::Permissions exec = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther | QFile::ExeUser;
        QCOMPARE(int(QFile::permissions(file.path) & exec), 0);
    }

    void oversizedFileIsStopped()
    {
        coll::FileReceiver receiver(10000);
        Send(receiver, 0, QStringLiteral("big.pdf"), Bytes(9000));
        QVERIFY(receiver.receiving());
        Send(receiver, 0, QStringLiteral("big.pdf"), Bytes(3000));
        QVERIFY(!receiver.receiving());
        // The rest of its chunks are dropped, the partial file is gone.
        Send(receiver, 0, QStringLiteral("big.pdf"), Bytes(3000));
        QCOMPARE(Listing(m_work), QStringList());
        QVERIFY(!receiver.Finish().complete);
        QCOMPARE(Listing(m_work), QStringList());
    }

    void unfinishedFileIsDeletedAtTheEnd()
    {
        {
            coll::FileReceiver receiver;
            Send(receiver, 3, QStringLiteral("half"), Bytes(4000));
            QVERIFY(receiver.receiving());
            receiver.Abort();
            QVERIFY(!receiver.receiving());
            QCOMPARE(Listing(m_work), QStringList());
            Send(receiver, 3, QStringLiteral("half"), Bytes(4000));
        }  // the window goes with a file still open
        QCOMPARE(Listing(m_work), QStringList());
    }

    // A transfer whose end never came is given up when another one starts;
    // its bytes never land under the new name.
    void anotherTransferGivesUpTheUnfinishedOne()
    {
        coll::FileReceiver receiver;
        Send(receiver, 3, QStringLiteral("first"), Bytes(100));
        Send(receiver, 4, QStringLiteral("second"), QByteArray("abc"));
        const coll::ReceivedFile file = receiver.Finish();
        QVERIFY(file.complete);
        QCOMPARE(file.name, QStringLiteral("second"));
        QCOMPARE(Read(file.path), QByteArray("abc"));
        QCOMPARE(Listing(m_work), QStringList{QStringLiteral("Doc/second.png")});
    }

    // A link standing where the file goes is replaced, never written through.
    void linkAtTheTargetIsNotFollowed()
    {
        const QString outside = m_dir.path() + QStringLiteral("/outside.txt");
        QFile keep(outside);
        QVERIFY(keep.open(QIODevice::WriteOnly));
        keep.write("keep");
        keep.close();
        QVERIFY(QDir().mkpath(m_folders.documentFolder));
        QVERIFY(QFile::link(outside, m_folders.documentFolder + QStringLiteral("pic.png")));
        coll::FileReceiver receiver;
        Send(receiver, 3, QStringLiteral("pic"), QByteArray("new"));
        QVERIFY(receiver.Finish().complete);
        QCOMPARE(Read(outside), QByteArray("keep"));
        QVERIFY(!QFileInfo(m_folders.documentFolder + QStringLiteral("pic.png")).isSymLink());
        QCOMPARE(Read(m_folders.documentFolder + QStringLiteral("pic.png")), QByteArray("new"));
    }

    void documentFolderThatIsALinkIsRefused()
    {
        const QString elsewhere = m_dir.path() + QStringLiteral("/elsewhere");
        QVERIFY(QDir().mkpath(elsewhere));
        QVERIFY(QFile::link(elsewhere, m_work + QStringLiteral("Doc")));
        coll::FileReceiver receiver;
        Send(receiver, 3, QStringLiteral("pic"), Bytes(10));
        QVERIFY(!receiver.Finish().complete);
        QCOMPARE(Listing(elsewhere), QStringList());
    }

    // A folder that cannot be made: the file's chunks are dropped, and the
    // receiver goes on with the next file.
    void uncreatableFileIsDropped()
    {
        QFile blocker(m_work + QStringLiteral("Doc"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        coll::FileReceiver receiver;
        Send(receiver, 3, QStringLiteral("pic"), Bytes(10));
        QVERIFY(!receiver.receiving());
        QVERIFY(!receiver.Finish().complete);
        QVERIFY(QFile::remove(m_work + QStringLiteral("Doc")));
        Send(receiver, 3, QStringLiteral("pic"), Bytes(10));
        QVERIFY(receiver.Finish().complete);
    }
};

QTEST_GUILESS_MAIN(FileReceptionTest)
#include "file_reception_test.moc"
