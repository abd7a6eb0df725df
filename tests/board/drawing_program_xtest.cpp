// Starts the whiteboard under a private X server, drags the mouse over the
// board with xdotool and looks at the screen and the log from outside; the
// pen driver's touch points draw too, and neither silent connections nor a
// greeting that names the board itself hold a stroke back.

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QtEndian>
#include <QtTest>

#include <memory>
#include <vector>

#include "platform/window_messages.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

namespace {

QImage Screenshot(const QString& folder)
{
    const QString path = folder + QStringLiteral("/screen.png");
    QFile::remove(path);
    QProcess import;
    import.start(QStringLiteral("import"), {"-window", "root", path});
    if (!import.waitForFinished(20000))
        return QImage();
    return QImage(path);
}

// Dark pixels (the default black pen) in a small square around p.
int InkAround(const QImage& image, QPoint p, int half = 4)
{
    int n = 0;
    for (int y = p.y() - half; y <= p.y() + half; ++y) {
        for (int x = p.x() - half; x <= p.x() + half; ++x) {
            if (!image.rect().contains(x, y))
                continue;
            const QRgb c = image.pixel(x, y);
            n += (qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90) ? 1 : 0;
        }
    }
    return n;
}

// Takes screenshots until every point shows ink, at most `timeoutMs`: the
// screen shows a stroke a moment after the board has recorded it.
QImage ScreenshotWithInk(const QString& folder, const QVector<QPoint>& points, int half, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QImage shot;
    do {
        shot = Screenshot(folder);
        bool all = !shot.isNull();
        for (const QPoint& p : points)
            all = all && InkAround(shot, p, half) > 0;
        if (all)
            break;
    } while (clock.elapsed() < timeoutMs);
    return shot;
}

}  // namespace

class DrawingProgramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> root;
    RunningProgram board;

    // The line of the board's log that announces a finished object.
    QRegularExpressionMatch waitForObject(const QString& key, int timeoutMs, int from = 0)
    {
        const QRegularExpression made(
            QStringLiteral("exe : object %1 kind 3 media -1 StrData 65535 samples (\\d+)").arg(key));
        const int line = board.waitForLine(QStringLiteral("exe : object %1 kind 3").arg(key), timeoutMs, from);
        if (line < 0)
            return QRegularExpressionMatch();
        return made.match(board.lines().at(line));
    }

private slots:
    void initTestCase()
    {
        root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(root->isValid());
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("DRAVIK_NO_MODAL"), QStringLiteral("1"));
        QVERIFY(StartWhiteboard(board, {QStringLiteral("/noAutoUpdate")}, environment));
        // The splash closes and the board is shown.
        QVERIFY(board.waitForLine(QStringLiteral("time Done"), 20000) >= 0);
    }

    void cleanupTestCase()
    {
        if (board.isRunning())
            CloseWhiteboard(board);
        root.reset();
    }

    void dragDrawsInk()
    {
        const QStringList windows = FindXWindows(QStringLiteral("^Dialog6601$"), board.pid());
        QVERIFY(!windows.isEmpty());
        const QRect frame = XWindowGeometry(windows.first());
        QVERIFY(frame.width() > 200 && frame.height() > 200);

        // A zig-zag through the middle of the board.
        const QPoint origin = frame.topLeft() + QPoint(frame.width() / 3, frame.height() / 3);
        QVector<QPoint> path;
        for (int i = 0; i <= 40; ++i)
            path.append(origin + QPoint(i * 6, (i % 20 < 10 ? i % 10 : 10 - i % 10) * 8));
        Xdotool({"mousemove", QString::number(path[0].x()), QString::number(path[0].y())});
        const QImage before = Screenshot(root->path());
        QVERIFY(!before.isNull());
        QStringList stroke{"mousedown", "1"};
        for (const QPoint& p : path)
            stroke << "mousemove" << QString::number(p.x()) << QString::number(p.y()) << "sleep" << "0.01";
        stroke << "mouseup" << "1";
        Xdotool(stroke);

        // One free-pen object with its samples in the mouse's slot.
        const QRegularExpressionMatch match = waitForObject(QStringLiteral("0-0"), 10000);
        QVERIFY2(match.hasMatch(), qPrintable(board.lines().mid(board.lines().size() - 40).join('\n')));
        QVERIFY(match.captured(1).toInt() >= 3);
        QVERIFY(!board.hasLine(QStringLiteral("exe : object 0-1 ")));

        // Ink along the path (the smoothing rounds the turns, so the points
        // looked at lie on the straight runs), none in a clear area beside it.
        QVector<QPoint> looked;
        for (int i : {0, 3, 5, 7, 13, 15, 17, 23, 25, 27, 33, 35, 37})
            looked << path[i];
        const QImage shot = ScreenshotWithInk(root->path(), looked, 5, 10000);
        QVERIFY(!shot.isNull());
        for (int i = 0; i < looked.size(); ++i)
            QVERIFY2(InkAround(shot, looked[i], 5) > 0, qPrintable(QString("no ink at point %1").arg(i)));
        // No ink on the white board away from the stroke (widgets may repaint:
        // the press moves the keyboard focus to the main bar).
        QRect pathBounds;
        for (const QPoint& p : path)
            pathBounds |= QRect(p, QSize(1, 1));
        const QRect allowed = pathBounds.adjusted(-15, -15, 15, 15);
        const QImage a = before.convertToFormat(QImage::Format_RGB32);
        const QImage b = shot.convertToFormat(QImage::Format_RGB32);
        QCOMPARE(a.size(), b.size());
        int changedOutside = 0;
        QRect where;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.pixel(x, y) == qRgb(255, 255, 255) && a.pixel(x, y) != b.pixel(x, y)
                    && !allowed.contains(x, y)) {
                    ++changedOutside;
                    where |= QRect(x, y, 1, 1);
                }
        QVERIFY2(changedOutside == 0, qPrintable(QStringLiteral("%1 pixels changed at %2,%3 %4x%5")
                                                     .arg(changedOutside).arg(where.x()).arg(where.y())
                                                     .arg(where.width()).arg(where.height())));
    }

    // The pen driver's touch points draw in the slots of their pointers.
    void penDriverTouchesDraw()
    {
        RunningProgram driver;
        QVERIFY(driver.start(QStringLiteral("PenDriverStub"), QStringList()));
        QVERIFY(driver.waitForLine(QStringLiteral("ready "), 10000) >= 0);
        int answered = 0;
        auto command = [&](const QString& line) {
            const int from = driver.lines().size();
            driver.write(line.toUtf8() + '\n');
            const int ok = driver.waitForLine(QStringLiteral("ok "), 10000, from);
            answered += ok >= 0 ? 1 : 0;
            return ok >= 0;
        };
        QVERIFY(command(QStringLiteral("greet")));
        for (int pointer : {1, 3, 9}) {
            const int y = 450 + pointer * 12;
            QVERIFY(command(QStringLiteral("touch %1 %2 %3 50").arg(pointer).arg(100).arg(y)));
            for (int x = 110; x <= 300; x += 10)
                command(QStringLiteral("touch %1 %2 %3 10").arg(pointer).arg(x).arg(y));
            QVERIFY(command(QStringLiteral("touch %1 %2 %3 60").arg(pointer).arg(300).arg(y)));
        }
        driver.write("quit\n");
        driver.waitForExit(5000);

        // The window covers the screen from its top-left corner.
        QVector<QPoint> looked;
        for (int pointer : {1, 3, 9}) {
            QVERIFY2(waitForObject(QStringLiteral("%1-0").arg(pointer), 5000).hasMatch(),
                     qPrintable(QString::number(pointer)));
            looked << QPoint(200, 450 + pointer * 12);
        }
        const QImage shot = ScreenshotWithInk(root->path(), looked, 3, 10000);
        for (int i = 0; i < looked.size(); ++i)
            QVERIFY2(InkAround(shot, looked[i], 3) > 0, qPrintable(QString::number(i)));
    }

    // Five connections that never say a word, one that stops half-way through
    // a frame, and a greeting naming the board itself, all while a stroke is
    // drawn: the stroke is on the board within a second.
    void silentAndSelfNamingConnectionsHoldNothingUp()
    {
        const platform::WindowHandle window =
            platform::FindWindowByName(QStringLiteral("Qt5QWindowIcon"), QStringLiteral("Dialog6601"));
        QVERIFY(window != 0);
        const QString socketPath = platform::WindowRegistryFolder() + QLatin1Char('/') + QString::number(window, 16);
        std::vector<std::unique_ptr<QLocalSocket>> silent;
        for (int i = 0; i < 6; ++i) {
            silent.push_back(std::make_unique<QLocalSocket>());
            silent.back()->connectToServer(socketPath);
            QVERIFY(silent.back()->waitForConnected(2000));
        }
        silent.back()->write(QByteArray::fromHex("00000040") + "DWM1");
        silent.back()->flush();
        const int mark = board.lines().size();

        QElapsedTimer clock;
        clock.start();
        // The self-naming greeting is posted; the board must refuse it and
        // go on, not greet itself until it runs out of stack.
        QVERIFY(platform::PostWindowMessage(window, 2024, window, 1, 5000));
        const int y = 620;
        QVERIFY(platform::SendWindowMessage(window, 1144, platform::MakePointParam(100, y), 50, nullptr, 5000));
        for (int x = 140; x <= 300; x += 40)
            QVERIFY(platform::SendWindowMessage(window, 1144, platform::MakePointParam(x, y), 10, nullptr, 5000));
        QVERIFY(platform::SendWindowMessage(window, 1144, platform::MakePointParam(300, y), 60, nullptr, 5000));
        QVERIFY(waitForObject(QStringLiteral("6-0"), 5000, mark).hasMatch());
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));

        QVERIFY(board.waitForLine(QStringLiteral("greeting naming window"), 5000, mark) >= 0);
        QVERIFY(board.isRunning());
        const QImage shot = ScreenshotWithInk(root->path(), {QPoint(200, y)}, 3, 10000);
        QVERIFY(InkAround(shot, QPoint(200, y), 3) > 0);
    }
};

QTEST_MAIN(DrawingProgramTest)
#include "drawing_program_xtest.moc"
