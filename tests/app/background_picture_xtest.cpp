// The configured background picture seen from outside: a pipe, an endless
// device or a picture bomb named there neither hangs the start nor takes the
// memory; the whiteboard says once which file it did not use and why.
#include "tests/support/picture_bombs.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/zip_fixture.h"

#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// Well above what the whiteboard takes with a picture the budget lets
// through, far below what a 20000 x 20000 picture takes decoded.
constexpr qint64 kPeakLimitKb = 900 * 1024;

}  // namespace

class BackgroundPictureXTest : public QObject
{
    Q_OBJECT

private slots:
    void startsWhateverTheSettingNames_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("why");  // empty: the picture is used
        QTest::newRow("pipe without a writer") << QStringLiteral("pipe.png") << QStringLiteral("not a regular file");
        QTest::newRow("endless device") << QStringLiteral("/dev/zero") << QStringLiteral("not a regular file");
        QTest::newRow("PNG bomb") << QStringLiteral("bomb.png")
                                  << QStringLiteral("the picture has 20000 x 20000 pixels, more than the 40 million");
        QTest::newRow("JPEG bomb, decoded scaled down") << QStringLiteral("bomb.jpg") << QString();
    }
    void startsWhateverTheSettingNames()
    {
        QFETCH(QString, file);
        QFETCH(QString, why);
        ScopedFolderRoot root;
        QTemporaryDir pictures;
        const QString path = file.startsWith(QLatin1Char('/')) ? file : pictures.filePath(file);
        if (file == QLatin1String("pipe.png"))
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else if (file == QLatin1String("bomb.png"))
            QVERIFY(WritePngBomb(path, 20000, 20000));
        else if (file == QLatin1String("bomb.jpg"))
            QVERIFY(WriteJpegBomb(path, 20000, 20000));
        QVERIFY(WriteTestFile(root.path() + QStringLiteral("/ProgramData/Norvane/Dravik/Config.ini"),
                              "[Note]\nbgfile=" + path.toUtf8() + "\n"));

        QProcessEnvironment environment;
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        environment.insert(QStringLiteral("DRAVIK_NO_MODAL"), QStringLiteral("1"));
        RunningProgram board;
        QVERIFY(StartWhiteboard(board, {}, environment));
        const QString refused = QStringLiteral("exe : background picture not used: ");
        if (why.isEmpty()) {
            QVERIFY(!board.hasLine(refused));
        } else {
            QVERIFY(board.waitForLine(QStringLiteral("message box warning: Background picture"), 10000) >= 0);
            const QStringList lines = board.lines().filter(refused);
            QCOMPARE(lines.size(), 1);
            QVERIFY2(lines.first().contains(path + QStringLiteral(": ") + why), qPrintable(lines.first()));
        }
        const qint64 peak = PeakResidentKb(board.pid());
        QVERIFY2(peak > 0 && peak < kPeakLimitKb, qPrintable(QStringLiteral("peak %1 kB").arg(peak)));
        QCOMPARE(CloseWhiteboard(board), 0);
    }
};

QTEST_GUILESS_MAIN(BackgroundPictureXTest)
#include "background_picture_xtest.moc"
