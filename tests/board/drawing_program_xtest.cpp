// Starts the whiteboard under a private X server, drags the mouse over the
// board with xdotool and looks at the screen and the log from outside.

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

#include "tests/support/test_folders.h"

namespace {

QByteArray RunTool(const QString& program, const QStringList& arguments, int timeoutMs = 10000)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs))
        return QByteArray();
    return process.readAllStandardOutput();
}

bool Xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    return process.waitForFinished(10000) && process.exitCode() == 0;
}

// The whiteboard's top-level window, by its title.
QString FindBoardWindow(int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        const QByteArray found =
            RunTool(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "^Dialog6601$"}).trimmed();
        if (!found.isEmpty())
            return QString::fromLatin1(found.split('\n').last());
        QTest::qWait(200);
    }
    return QString();
}

QRect WindowGeometry(const QString& window)
{
    const QByteArray out = RunTool(QStringLiteral("xdotool"), {"getwindowgeometry", "--shell", window});
    QRect r;
    for (const QByteArray& line : out.split('\n')) {
        const QList<QByteArray> kv = line.split('=');
        if (kv.size() != 2)
            continue;
        const int v = kv[1].toInt();
        if (kv[0] == "X")
            r.moveLeft(v);
        else if (kv[0] == "Y")
            r.moveTop(v);
        else if (kv[0] == "WIDTH")
            r.setWidth(v);
        else if (kv[0] == "HEIGHT")
            r.setHeight(v);
    }
    return r;
}

QImage Screenshot(const QString& folder)
{
    const QString path = folder + QStringLiteral("/screen.png");
    RunTool(QStringLiteral("import"), {"-window", "root", path}, 20000);
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

}  // namespace

class DrawingProgramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> root;
    QProcess board;
    QByteArray m_log;

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(root->isValid());
        board.setProcessChannelMode(QProcess::MergedChannels);
        board.start(BuiltProgramFolder() + QStringLiteral("/Dravik"), {QStringLiteral("/noAutoUpdate")});
        QVERIFY(board.waitForStarted(10000));
    }

    void cleanupTestCase()
    {
        if (board.state() != QProcess::NotRunning) {
            board.terminate();
            if (!board.waitForFinished(5000)) {
                board.kill();
                board.waitForFinished(5000);
            }
        }
        root.reset();
    }

    void dragDrawsInk()
    {
        const QString window = FindBoardWindow(20000);
        QVERIFY2(!window.isEmpty(), board.readAll().constData());
        QTest::qWait(2500);  // the splash closes and the board is shown
        const QRect frame = WindowGeometry(window);
        QVERIFY(frame.width() > 200 && frame.height() > 200);

        // A zig-zag through the middle of the board.
        const QPoint origin = frame.topLeft() + QPoint(frame.width() / 3, frame.height() / 3);
        QVector<QPoint> path;
        for (int i = 0; i <= 40; ++i)
            path.append(origin + QPoint(i * 6, (i % 20 < 10 ? i % 10 : 10 - i % 10) * 8));
        QVERIFY(Xdotool({"mousemove", QString::number(path[0].x()), QString::number(path[0].y())}));
        QTest::qWait(300);
        const QImage before = Screenshot(root->path());
        QVERIFY(!before.isNull());
        QVERIFY(Xdotool({"mousedown", "1"}));
        for (const QPoint& p : path) {
            QVERIFY(Xdotool({"mousemove", QString::number(p.x()), QString::number(p.y())}));
            QTest::qWait(10);
        }
        QVERIFY(Xdotool({"mouseup", "1"}));
        QTest::qWait(700);

        const QImage shot = Screenshot(root->path());
        QVERIFY(!shot.isNull());
        // Ink along the path (the smoothing rounds the turns, so the points
        // looked at lie on the straight runs), none in a clear area beside it.
        for (int i : {0, 3, 5, 7, 13, 15, 17, 23, 25, 27, 33, 35, 37})
            QVERIFY2(InkAround(shot, path[i], 5) > 0, qPrintable(QString("no ink at point %1").arg(i)));
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

        // One free-pen object with its samples in the mouse's slot.
        QElapsedTimer clock;
        clock.start();
        QByteArray log;
        const QRegularExpression made(QStringLiteral("exe : object 0-0 kind 3 media -1 StrData 65535 samples (\\d+)"));
        QRegularExpressionMatch match;
        while (clock.elapsed() < 5000) {
            log += board.readAll();
            match = made.match(QString::fromUtf8(log));
            if (match.hasMatch())
                break;
            QTest::qWait(100);
        }
        QVERIFY2(match.hasMatch(), log.right(3000).constData());
        QVERIFY(match.captured(1).toInt() >= 3);
        QVERIFY(!log.contains("exe : object 0-1 "));
        m_log = log;
    }

    // The pen driver's touch points draw in the slots of their pointers.
    void penDriverTouchesDraw()
    {
        QProcess driver;
        driver.setProcessChannelMode(QProcess::MergedChannels);
        driver.start(BuiltProgramFolder() + QStringLiteral("/PenDriverStub"), QStringList());
        QVERIFY(driver.waitForStarted(10000));
        auto command = [&driver](const QByteArray& line) {
            driver.write(line + '\n');
            QElapsedTimer clock;
            clock.start();
            QByteArray answer;
            while (clock.elapsed() < 10000) {
                driver.waitForReadyRead(200);
                answer += driver.readAll();
                if (answer.contains("ok ") || answer.contains("fail "))
                    break;
            }
            return answer;
        };
        QVERIFY(command("greet").contains("ok greet"));
        for (int pointer : {1, 3, 9}) {
            const int y = 450 + pointer * 12;
            QVERIFY(command(QStringLiteral("touch %1 %2 %3 50").arg(pointer).arg(100).arg(y).toUtf8()).contains("ok"));
            for (int x = 110; x <= 300; x += 10)
                command(QStringLiteral("touch %1 %2 %3 10").arg(pointer).arg(x).arg(y).toUtf8());
            QVERIFY(command(QStringLiteral("touch %1 %2 %3 60").arg(pointer).arg(300).arg(y).toUtf8()).contains("ok"));
        }
        command("quit");
        driver.waitForFinished(5000);

        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 5000 && !m_log.contains("exe : object 9-0 kind 3")) {
            m_log += board.readAll();
            QTest::qWait(100);
        }
        for (int pointer : {1, 3, 9})
            QVERIFY2(m_log.contains(QStringLiteral("exe : object %1-0 kind 3").arg(pointer).toUtf8()),
                     m_log.right(3000).constData());
        // The window covers the screen from its top-left corner.
        const QImage shot = Screenshot(root->path());
        for (int pointer : {1, 3, 9})
            QVERIFY2(InkAround(shot, QPoint(200, 450 + pointer * 12), 3) > 0, qPrintable(QString::number(pointer)));
    }
};

QTEST_MAIN(DrawingProgramTest)
#include "drawing_program_xtest.moc"
