// Pictures from outside: only regular files are read, never waiting on them,
// and no picture is decoded past the pixel budget, in every place that reads
// one.
#include <QtTest>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include "board/page_background.h"
#include "board/page_render.h"
#include "board/picture_file.h"
#include "panels/clip_art.h"
#include "panels/note_list.h"
#include "tests/support/picture_bombs.h"

namespace {

constexpr int kBombSide = 20000;  // 400 million pixels: 1.6 GB decoded
// Far below the bombs, with room for the pictures the budget lets through.
constexpr qint64 kPeakGrowthKb = 400 * 1024;

}  // namespace

class PictureFileTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_pngBomb;
    QString m_jpegBomb;
    QString m_fifo;
    QString m_small;
    qint64 m_peakAtStart = 0;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    void checkPeak()
    {
        const qint64 peak = PeakResidentKb(QCoreApplication::applicationPid());
        QVERIFY2(peak - m_peakAtStart < kPeakGrowthKb,
                 qPrintable(QStringLiteral("peak memory grew by %1 kB").arg(peak - m_peakAtStart)));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pngBomb = path(QStringLiteral("bomb.png"));
        m_jpegBomb = path(QStringLiteral("bomb.jpg"));
        m_fifo = path(QStringLiteral("pipe.png"));
        m_small = path(QStringLiteral("small.png"));
        QVERIFY(WritePngBomb(m_pngBomb, kBombSide, kBombSide));
        QVERIFY(WriteJpegBomb(m_jpegBomb, kBombSide, kBombSide));
        QVERIFY(::mkfifo(QFile::encodeName(m_fifo).constData(), 0600) == 0);
        QImage small(40, 20, QImage::Format_RGB32);
        small.fill(Qt::red);
        QVERIFY(small.save(m_small));
        QVERIFY(QFile::link(m_small, path(QStringLiteral("link.png"))));
        QFile text(path(QStringLiteral("notes.png")));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("no picture at all\n") > 0);
        text.close();
        m_peakAtStart = PeakResidentKb(QCoreApplication::applicationPid());
        QVERIFY(m_peakAtStart > 0);
    }

    void refusesWhatIsNoPictureFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("why");
        QTest::newRow("pipe without a writer") << QStringLiteral("pipe.png") << QStringLiteral("not a regular file");
        QTest::newRow("endless device") << QStringLiteral("/dev/zero") << QStringLiteral("not a regular file");
        QTest::newRow("folder") << QStringLiteral(".") << QStringLiteral("not a regular file");
        QTest::newRow("link to a picture") << QStringLiteral("link.png") << QStringLiteral("link");
        QTest::newRow("text") << QStringLiteral("notes.png") << QStringLiteral("not a picture");
        QTest::newRow("missing") << QStringLiteral("gone.png") << QStringLiteral("No such file");
        QTest::newRow("PNG bomb") << QStringLiteral("bomb.png")
                                  << QStringLiteral("20000 x 20000 pixels, more than the 40 million");
    }
    void refusesWhatIsNoPictureFile()
    {
        QFETCH(QString, file);
        QFETCH(QString, why);
        const QString full = file.startsWith(QLatin1Char('/')) ? file : path(file);
        QElapsedTimer clock;
        clock.start();
        const PictureRead read = ReadPicture(full);
        QVERIFY(clock.elapsed() < 5000);
        QVERIFY(read.image.isNull());
        QVERIFY2(read.error.startsWith(full + QStringLiteral(": ")), qPrintable(read.error));
        QVERIFY2(read.error.contains(why), qPrintable(read.error));
        checkPeak();
    }

    // A JPEG can be decoded at 1/2, 1/4 or 1/8 of its size: past the budget
    // it comes scaled down instead of refused, and within the budget.
    void decodesLargeJpegScaledDown()
    {
        const PictureRead read = ReadPicture(m_jpegBomb);
        QVERIFY2(!read.image.isNull(), qPrintable(read.error));
        QCOMPARE(read.fullSize, QSize(kBombSide, kBombSide));
        QCOMPARE(read.image.size(), QSize(kBombSide / 4, kBombSide / 4));
        checkPeak();
    }

    void fitsIntoABox_data()
    {
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("as it is") << QSize() << QSize(40, 20);
        QTest::newRow("smaller") << QSize(10, 10) << QSize(10, 5);
        QTest::newRow("larger") << QSize(200, 200) << QSize(200, 100);
    }
    void fitsIntoABox()
    {
        QFETCH(QSize, box);
        QFETCH(QSize, expected);
        const PictureRead read = ReadPicture(m_small, box);
        QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
        QCOMPARE(read.image.size(), expected);
        QCOMPARE(read.image.pixelColor(read.image.width() / 2, read.image.height() / 2), QColor(Qt::red));
    }

    // Every place that reads a picture from outside goes through the loader:
    // a bomb or a pipe there leaves nothing decoded and nothing waiting.
    void everyPlaceBoundsPictures_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("file");
        const QStringList places{QStringLiteral("picture page"), QStringLiteral("board background"),
                                 QStringLiteral("clip art"), QStringLiteral("note thumbnail"),
                                 QStringLiteral("image object")};
        for (const QString& place : places) {
            for (const QString& file : {QStringLiteral("bomb.png"), QStringLiteral("pipe.png")})
                QTest::newRow(qPrintable(place + QLatin1Char(' ') + file)) << place << file;
        }
    }
    void everyPlaceBoundsPictures()
    {
        QFETCH(QString, place);
        QFETCH(QString, file);
        const QString picture = path(file);
        if (place == QLatin1String("picture page") || place == QLatin1String("board background")) {
            BackgroundRequest request;
            request.view = QSize(800, 600);
            request.content = QRect(0, 0, 800, 600);
            if (place == QLatin1String("picture page")) {
                request.type = 2;
                request.path = picture;
            } else {
                request.type = 1;
                request.path = QStringLiteral("WhiteBoard");
                request.boardColor = Qt::blue;
                request.backgroundPicture = picture;
            }
            const BackgroundResult out = BuildPageBackground(request, DocumentRenderer());
            QVERIFY2(out.pictureError.startsWith(picture), qPrintable(out.pictureError));
            QCOMPARE(out.image.size(), QSize(800, 600));
            QCOMPARE(out.pictureLoadFailed, place == QLatin1String("picture page"));
        } else if (place == QLatin1String("clip art")) {
            QTemporaryDir folder;
            QVERIFY(QFile::copy(m_small, folder.filePath(QStringLiteral("a.png"))));
            if (file == QLatin1String("pipe.png"))
                QVERIFY(::mkfifo(QFile::encodeName(folder.filePath(file)).constData(), 0600) == 0);
            else
                QVERIFY(QFile::copy(picture, folder.filePath(file)));
            QStringList shown;
            DecodeClipArtFolder(folder.path(), QSize(96, 96), 4, nullptr,
                                [&shown](const QVector<ClipArtThumbnail>& batch) {
                                    for (const ClipArtThumbnail& one : batch)
                                        shown << one.name;
                                });
            QCOMPARE(shown, QStringList{QStringLiteral("a.png")});
        } else if (place == QLatin1String("note thumbnail")) {
            const QString thumbnail = path(QStringLiteral("thumb.jpg"));
            QVERIFY(!WriteNoteThumbnail(picture, thumbnail, QSize(120, 90)));
            QVERIFY(!QFileInfo::exists(thumbnail));
        } else {
            QImage target(800, 600, QImage::Format_ARGB32_Premultiplied);
            EventDetail detail;
            detail.BoundRF = QRect(0, 0, 100, 100);
            QVERIFY(!PaintImageObject(target, picture, detail, 1.0));
        }
        checkPeak();
    }
};

QTEST_MAIN(PictureFileTest)
#include "picture_file_test.moc"
