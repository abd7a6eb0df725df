// A recorded lesson played in a real browser: the test records a sound lesson
// of two pages with a stroke on each, plays the package the way the desktop
// opens it (`Dravik lesson.iic`, the browser command a stand-in that notes
// the page it is sent to), and looks at that page in headless chromium at
// moments before, between and after the strokes and the page change. Bad
// packages and bad lesson names get their message on the page.
#include "app/startup.h"
#include "platform/launch.h"
#include "tests/support/board_window.h"
#include "tests/support/running_program.h"
#include "tests/support/zip_fixture.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QXmlStreamReader>
#include <QtTest>
#include <QApplication>

#include <csignal>
#include <unistd.h>

namespace {

// The inks of the lessons' objects; each moment names where each lies.
const QColor kInks[] = {QColor(220, 0, 0), QColor(0, 0, 220), QColor(0, 200, 0)};

const int kPenWidth = 6;

struct Moment
{
    QString name;
    double ms;
    QLine lines[3];  // per ink: the board line it lies along, null for none
};

quint16 FreePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

bool PortAnswers(quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(500);
}

// The times a package's script and visit list give for its steps.
struct LessonTimes
{
    QList<double> presses;   // first point of each stroke, in order
    QList<double> releases;  // last point of each stroke
    QList<double> visits;    // when each page was shown
};

QByteArray EntryText(const QString& folder, const QString& name)
{
    QFile file(folder + QLatin1Char('/') + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

LessonTimes ReadTimes(const QString& folder)
{
    LessonTimes times;
    QXmlStreamReader script(EntryText(folder, QStringLiteral("New_Event.xml")));
    while (!script.atEnd()) {
        if (script.readNext() != QXmlStreamReader::StartElement || script.name() != QLatin1String("TO"))
            continue;
        const int code = script.attributes().value(QLatin1String("KD")).toInt();
        const double time = script.attributes().value(QLatin1String("MP")).toDouble();
        if (code == 1)
            times.presses << time;
        else if (code == 4)
            times.releases << time;
    }
    QXmlStreamReader notes(EntryText(folder, QStringLiteral("Notes.xml")));
    while (!notes.atEnd()) {
        if (notes.readNext() == QXmlStreamReader::StartElement && notes.name() == QLatin1String("NoteInfo"))
            times.visits << notes.attributes().value(QLatin1String("Access")).toDouble();
    }
    return times;
}

bool IsInk(QRgb pixel, const QColor& ink)
{
    return qAbs(qRed(pixel) - ink.red()) < 60 && qAbs(qGreen(pixel) - ink.green()) < 60
           && qAbs(qBlue(pixel) - ink.blue()) < 60;
}

// Empty when the shot (the board, scaled) shows `ink` all along the board
// line `line` and nowhere else, or nowhere at all when the line is null;
// else what it shows.
QString InkProblem(const QImage& shot, QSize board, const QColor& ink, QLine line)
{
    const double sx = double(shot.width()) / board.width();
    const double sy = double(shot.height()) / board.height();
    const QRectF band = QRectF(line.p1(), line.p2()).normalized().adjusted(-12, -12, 12, 12);
    int elsewhere = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (IsInk(shot.pixel(x, y), ink) && (line.isNull() || !band.contains(x / sx, y / sy)))
                ++elsewhere;
        }
    }
    // Points along the line, leaving out its two ends.
    int along = 0;
    const int samples = line.isNull() ? 0 : 9;
    for (int i = 1; i <= samples; ++i) {
        const QPointF p = QPointF(line.p1()) + QPointF(line.p2() - line.p1()) * (i / 10.0);
        bool found = false;
        for (int dy = -4; dy <= 4 && !found; ++dy) {
            const QPoint q(qRound(p.x() * sx), qRound(p.y() * sy) + dy);
            found = shot.rect().contains(q) && IsInk(shot.pixel(q), ink);
        }
        along += found ? 1 : 0;
    }
    if (along == samples && elsewhere == 0)
        return QString();
    return QStringLiteral("ink %1: %2 of %3 points along the line, %4 pixels elsewhere")
        .arg(ink.name()).arg(along).arg(samples).arg(elsewhere);
}

QString Url(const QString& base, double seconds)
{
    return base + QStringLiteral("&t=") + QString::number(seconds, 'f', 3);
}

}  // namespace

class LessonPlayerXTest : public BoardWindowTest
{
    Q_OBJECT

    QTemporaryDir m_recordings;
    quint16 m_port = 0;

    QString fakeFolder() const { return root->path() + QStringLiteral("/fakebin"); }

    // Plays a package as the desktop's opener would; returns the address
    // the browser was sent to, or an empty text.
    QString playPackage(const QString& package)
    {
        QFile::remove(root->path() + QStringLiteral("/browser.args"));
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("PATH"), fakeFolder() + QLatin1Char(':') + qEnvironmentVariable("PATH"));
        environment.insert(QStringLiteral("FAKE_LOG_DIR"), root->path());
        RunningProgram player;
        if (!player.start(QStringLiteral("Dravik"), {package}, environment))
            return QString();
        const int code = player.waitForExit(60000);
        if (code != 0) {
            qWarning().noquote() << player.lines().join('\n');
            return QString();
        }
        QElapsedTimer clock;
        clock.start();
        while (!PortAnswers(m_port) && clock.elapsed() < 20000)
            QThread::msleep(100);
        return QString::fromUtf8(EntryText(root->path(), QStringLiteral("browser.args"))).trimmed();
    }

    // Runs the browser on a job; the report, or an empty object on failure.
    QJsonObject browse(const QJsonObject& job)
    {
        const QString jobFile = root->path() + QStringLiteral("/job.json");
        const QString reportFile = root->path() + QStringLiteral("/report.json");
        QFile::remove(reportFile);
        if (!WriteTestFile(jobFile, QJsonDocument(job).toJson()))
            return {};
        QProcess node;
        node.setProcessChannelMode(QProcess::ForwardedChannels);
        node.start(QStringLiteral("node"), {QStringLiteral(DRAVIK_PLAYER_TESTS_DIR "/lesson_browser.js"), jobFile, reportFile});
        if (!node.waitForFinished(240000)) {
            node.kill();
            node.waitForFinished(5000);
            qWarning() << "the browser did not finish within four minutes";
            return {};
        }
        return QJsonDocument::fromJson(EntryText(root->path(), QStringLiteral("report.json"))).object();
    }

    // The web server the package road started for this test (by its pid file).
    void endServer()
    {
        QFile pidFile(WebServerPidFile());
        if (!pidFile.open(QIODevice::ReadOnly))
            return;
        const pid_t pid = pid_t(pidFile.readAll().trimmed().toLongLong());
        if (pid <= 0 || !OurWebServerRuns())
            return;
        ::kill(pid, SIGTERM);
        QElapsedTimer clock;
        clock.start();
        while (::kill(pid, 0) == 0 && clock.elapsed() < 10000)
            QThread::msleep(50);
    }

    // Shoots the board at each moment (the address with its `t`) and checks
    // where each ink lies; `slack` is how far the shown moment may be from
    // the one asked for. With `play`, also plays the lesson. The report.
    QJsonObject checkMoments(const QString& url, const QList<Moment>& moments, QSize board, double slack, bool play)
    {
        QJsonArray shots;
        for (const Moment& moment : moments) {
            shots.append(QJsonObject{{"url", Url(url, moment.ms / 1000)},
                                     {"file", root->path() + QStringLiteral("/%1.png").arg(moment.name)}});
        }
        QJsonObject job{{"shots", shots}};
        if (play)
            job.insert("play", url);
        const QJsonObject report = browse(job);
        [&] {
            QVERIFY2(!report.isEmpty(), "the browser gave no report");
            QCOMPARE(report.value("outside").toArray().size(), 0);
            for (int i = 0; i < moments.size(); ++i) {
                const Moment& moment = moments[i];
                const QJsonObject shot = report.value("shots").toArray().at(i).toObject();
                QVERIFY2(shot.value("state").toString() == "ready",
                         qPrintable(QStringLiteral("%1: %2 %3").arg(moment.name, shot.value("state").toString(),
                                                                    shot.value("message").toString())));
                QVERIFY2(qAbs(shot.value("time").toDouble() - moment.ms) <= slack,
                         qPrintable(QStringLiteral("%1: shown at %2 ms, asked for %3 ms")
                                        .arg(moment.name).arg(shot.value("time").toDouble()).arg(moment.ms)));
                const QImage image(root->path() + QStringLiteral("/%1.png").arg(moment.name));
                QVERIFY2(!image.isNull(), qPrintable(moment.name));
                for (int ink = 0; ink < 3; ++ink) {
                    const QString problem = InkProblem(image, board, kInks[ink], moment.lines[ink]);
                    QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("%1: %2").arg(moment.name, problem)));
                }
            }
        }();
        return report;
    }

    void stroke(const QColor& ink, QPoint from, QPoint to)
    {
        board->m_board.slot[0].pen = QPen(QBrush(ink), kPenWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        board->PointerPress(0, from.x(), from.y(), true, false);
        for (int i = 1; i <= 10; ++i) {
            QTest::qWait(30);  // the points are replayed at their own times
            const QPoint p = from + (to - from) * i / 10;
            board->PointerMove(0, p.x(), p.y(), true, false);
        }
        board->PointerRelease(0, to.x(), to.y(), true, false);
    }

public:
    LessonPlayerXTest() { qputenv("DRAVIK_CAPTURE_TEST_DEVICES", "1"); }

    // What every case needs: a web server allowed on a port of its own,
    // and a browser command that notes where it was sent.
    bool prepare()
    {
        if (m_port != 0)
            return true;
        if (!QFileInfo(QStringLiteral("/usr/bin/chromium")).isExecutable()
            || !QFileInfo::exists(QStringLiteral(DRAVIK_PLAYER_TESTS_DIR "/node_modules/playwright-core"))) {
            qWarning() << "Debian's chromium or the browser driver (playwright-core) is missing";
            return false;
        }
        // The suite keeps whiteboards from starting servers; this test wants one.
        qunsetenv("DRAVIK_NO_WEB_SERVER");
        m_port = FreePort();
        qputenv("DRAVIK_PLAYER_PORT", QByteArray::number(m_port));
        // Started by root, the server serves as "nobody", which must be able
        // to walk down to the player folder below this test's private root.
        if (getuid() == 0
            && !QFile::setPermissions(root->path(), QFile::permissions(root->path()) | QFile::ExeOther
                                                       | QFile::ReadOther | QFile::ExeGroup | QFile::ReadGroup))
            return false;
        return m_port != 0 && m_recordings.isValid()
               && WriteTestFile(fakeFolder() + QStringLiteral("/xdg-open"),
                                "#!/bin/sh\nprintf '%s\\n' \"$1\" > \"$FAKE_LOG_DIR/browser.args\"\n",
                                kExecutablePermissions);
    }

private slots:
    void cleanupTestCase()
    {
        endServer();
        root.reset();
    }

    // The lesson as the teacher gave it: nothing before the first stroke,
    // the first stroke once drawn, the second page with only its own stroke
    // after the page change; and the sound plays.
    void recordedLessonPlaysInTheBrowser()
    {
        QVERIFY(prepare());
        QVERIFY2(PrepareSoundRecording(m_recordings.path()), "the capture library did not load");

        const QPoint firstFrom(100, 150), firstTo(400, 150);
        const QPoint secondFrom(200, 400), secondTo(600, 400);
        // The pauses are the lesson's own: the steps lie apart on its clock,
        // and the moments looked at are taken from the package's times.
        board->OptRecBtn(1);
        QVERIFY(board->m_bRecording);
        QTest::qWait(1200);
        stroke(kInks[0], firstFrom, firstTo);
        QTest::qWait(1200);
        board->CreateNotePage(1, "WhiteBoard", "", false);
        QTest::qWait(1200);
        stroke(kInks[1], secondFrom, secondTo);
        QTest::qWait(1200);
        board->OptRecBtn(0);
        QTRY_VERIFY_WITH_TIMEOUT(!board->m_ThreadSave.isRunning(), 30000);
        const QStringList packages = QDir(m_recordings.path()).entryList({"*.iic"}, QDir::Files);
        QCOMPARE(packages.size(), 1);
        const QString lesson = m_recordings.filePath(QStringLiteral("lesson.iic"));
        QVERIFY(QFile::rename(m_recordings.filePath(packages.first()), lesson));
        const QSize boardSize = board->size();

        const QString url = playPackage(lesson);
        QCOMPARE(url, QStringLiteral("http://127.0.0.1:%1/?ist=lesson&OEM=NORVANE").arg(m_port));
        const LessonTimes times = ReadTimes(PlayerWorkFolder() + QStringLiteral("/lesson"));
        QCOMPARE(times.presses.size(), 2);
        QCOMPARE(times.releases.size(), 2);
        QCOMPARE(times.visits.size(), 2);
        QVERIFY(times.presses[0] > 1000 && times.releases[0] + 1000 < times.visits[1]
                && times.visits[1] + 1000 < times.presses[1]);

        const QList<Moment> moments = {
            {"before the first stroke", times.presses[0] / 2, {}},
            {"after the first stroke", (times.releases[0] + times.visits[1]) / 2, {QLine(firstFrom, firstTo)}},
            {"after the page change", times.releases[1] + 300, {QLine(), QLine(secondFrom, secondTo)}},
        };
        // A compressed sound seeks to its nearest frame, a few tens of ms
        // off, and a lesson that starts playing by itself runs on until it
        // is paused; the moments lie 500 ms and more from every step.
        const QJsonObject report = checkMoments(url, moments, boardSize, 400, true);
        if (QTest::currentTestFailed())
            return;

        const QJsonObject play = report.value("play").toObject();
        QCOMPARE(play.value("state").toString(), QString("ready"));
        QVERIFY2(play.value("after").toDouble() > play.value("before").toDouble() + 0.5,
                 qPrintable(QStringLiteral("media clock %1 s -> %2 s")
                                .arg(play.value("before").toDouble())
                                .arg(play.value("after").toDouble())));
    }

    // A lesson's later steps: an erased stroke is gone, a moved one stands
    // where it was moved to, a picture shows from its list, and a zoom with
    // a scroll shows the page enlarged from the scrolled place. A lesson
    // without sound or video plays on a clock of its own.
    void erasesMovesPicturesAndZoomReplay()
    {
        QVERIFY(prepare());
        QStringList records;
        auto to = [&records](double ms, int id, int code, QPointF b, QRectF n = QRectF(), double angle = 0,
                             const QColor& ink = Qt::black, double pen = 0, int tp = 255) {
            records << QStringLiteral("<TO PI=\"0\" MP=\"%1\" EI=\"%2\" KD=\"%3\" BX=\"%4\" BY=\"%5\" BW=\"%6\" "
                                      "BH=\"0\" NX=\"%7\" NY=\"%8\" NW=\"%9\" NH=\"%10\" AG=\"%11\" PC=\"%12\" "
                                      "PW=\"%13\" TP=\"%14\" NI=\"0\"/>")
                           .arg(ms).arg(id).arg(code).arg(b.x()).arg(b.y()).arg(code == 1 ? 3 : 0)
                           .arg(n.x()).arg(n.y()).arg(n.width()).arg(n.height()).arg(angle).arg(ink.name())
                           .arg(pen).arg(tp);
        };
        auto line = [&to](double ms, int id, const QColor& ink, QPoint from, QPoint end, double step) {
            to(ms, id, 1, from, QRectF(), 0, ink, kPenWidth);
            to(ms + step, id, 3, (from + end) / 2.0, QRectF(), 0, ink, 1);
            to(ms + 2 * step, id, 4, end, QRectF(), 0, ink);
        };
        const QPoint red1(100, 100), red2(300, 100), blue1(100, 300), blue2(300, 300);
        const QPoint moved1(100, 450), moved2(300, 450);
        line(1000, 1, kInks[0], red1, red2, 50);
        line(1000, 2, kInks[1], blue1, blue2, 50);
        to(1000, 3, 14, QPointF(500, 145), QRectF(500, 145, 100, 10), 0, Qt::black, 0, 0);
        to(2000, 1, 0, QPointF(90, 90));  // erased: the area with nothing left in it
        records.last().replace(QStringLiteral("BW=\"0\""), QStringLiteral("BW=\"220\"")).replace(
            QStringLiteral("BH=\"0\""), QStringLiteral("BH=\"20\""));
        to(3000, 2, 0, QPointF(90, 290));  // moved: its old area, then the stroke at its new place
        records.last().replace(QStringLiteral("BW=\"0\""), QStringLiteral("BW=\"220\"")).replace(
            QStringLiteral("BH=\"0\""), QStringLiteral("BH=\"20\""));
        line(3000, 2, kInks[1], moved1, moved2, 0);
        for (int code : {15, 17})
            to(4000, 4, code, QPointF(), QRectF(0, 0, 0, 600), 2);
        to(5000, 5, 18, QPointF());

        QImage strip(100, 10, QImage::Format_RGB32);
        strip.fill(kInks[2]);
        QByteArray png;
        QBuffer buffer(&png);
        QVERIFY(buffer.open(QIODevice::WriteOnly) && strip.save(&buffer, "PNG"));
        const QString package = root->path() + QStringLiteral("/packages/replay.iic");
        QVERIFY(QDir().mkpath(QFileInfo(package).path()));
        QVERIFY(MakeZip(package,
                        {{QStringLiteral("Notes.xml"),
                          "<?xml version=\"1.0\"?><NoteList PDFName=\"replay.pdf\"><NoteInfo Type=\"1\" "
                          "Name=\"WhiteBoard\" Create=\"P\" Access=\"0\" NoteWidth=\"800\" NoteHeight=\"600\" "
                          "PageOption=\"0\"/></NoteList>"},
                         {QStringLiteral("New_Event.xml"),
                          "<?xml version=\"1.0\"?><Event NoteCount=\"1\" Width=\"800\" Height=\"600\"><TO_GROUP>"
                              + records.join(QString()).toUtf8() + "</TO_GROUP></Event>"},
                         {QStringLiteral("StrData.dat"), "strip.png\r\n"},
                         {QStringLiteral("strip.png"), png}}));
        const QString url = playPackage(package);
        QVERIFY(!url.isEmpty());

        const QLine picture(500, 150, 600, 150);
        const QList<Moment> moments = {
            {"drawn", 1500, {QLine(red1, red2), QLine(blue1, blue2), picture}},
            {"erased", 2500, {QLine(), QLine(blue1, blue2), picture}},
            {"moved", 3500, {QLine(), QLine(moved1, moved2), picture}},
            // Twice the size, scrolled down by 600 of the enlarged page: the
            // moved stroke's y of 450 lands at 300, the picture beyond the right.
            {"zoomed", 4500, {QLine(), QLine(moved1 * 2 - QPoint(0, 600), moved2 * 2 - QPoint(0, 600))}},
        };
        checkMoments(url, moments, QSize(800, 600), 400, false);
    }

    // What a teacher sees instead of a blank page: a package that is
    // damaged or names a file outside its folder, a lesson name that is no
    // plain name, and one that was never unpacked.
    void badLessonsShowTheirMessage()
    {
        QVERIFY(prepare());
        const QByteArray script = "<?xml version=\"1.0\"?><Event NoteCount=\"1\" Width=\"800\" Height=\"600\"/>";
        const QString packages = root->path() + QStringLiteral("/packages");
        QVERIFY(QDir().mkpath(packages));
        QVERIFY(MakeZip(packages + QStringLiteral("/damaged.iic"),
                        {{QStringLiteral("Notes.xml"), "<?xml version=\"1.0\"?><NoteList PDFName=\"x.pdf\"><NoteInfo"},
                         {QStringLiteral("New_Event.xml"), script}}));
        QVERIFY(MakeZip(packages + QStringLiteral("/outside.iic"),
                        {{QStringLiteral("Notes.xml"),
                          "<?xml version=\"1.0\"?><NoteList PDFName=\"../outside/secret.pdf\">"
                          "<NoteInfo Type=\"1\" Name=\"WhiteBoard\" Create=\"A\" Access=\"0\" NoteWidth=\"800\" "
                          "NoteHeight=\"600\" PageOption=\"0\"/></NoteList>"},
                         {QStringLiteral("New_Event.xml"), script}}));
        QVERIFY(WriteTestFile(packages + QStringLiteral("/notazip.iic"), QByteArray(4096, 'x')));
        const QString notAZip = playPackage(packages + QStringLiteral("/notazip.iic"));
        QVERIFY(!notAZip.isEmpty());
        const QString damaged = playPackage(packages + QStringLiteral("/damaged.iic"));
        QVERIFY(!damaged.isEmpty());
        const QString outside = playPackage(packages + QStringLiteral("/outside.iic"));
        QVERIFY(!outside.isEmpty());
        const QString server = QStringLiteral("http://127.0.0.1:%1/").arg(m_port);

        struct Case {
            QString url;
            QString message;
        };
        const QList<Case> cases = {
            {damaged, QStringLiteral("The lesson \"damaged\" is damaged: the file \"Notes.xml\" cannot be read.")},
            {outside, QStringLiteral("The lesson \"outside\" is damaged: it names the file \"../outside/secret.pdf\", "
                                     "which is not in its folder.")},
            {notAZip, QStringLiteral("The lesson \"notazip\" was not found: it has not been unpacked, or its file is "
                                     "damaged. Open the lesson file with Dravik again.")},
            {server + QStringLiteral("?ist=..%2Foutside&OEM=NORVANE"),
             QStringLiteral("\"../outside\" is not the name of a lesson in the player folder, so nothing is played.")},
            {server + QStringLiteral("?ist=never&OEM=NORVANE"),
             QStringLiteral("The lesson \"never\" was not found: it has not been unpacked, or its file is damaged. "
                            "Open the lesson file with Dravik again.")},
            {server + QStringLiteral("?OEM=NORVANE"),
             QStringLiteral("No lesson was named. Open a lesson file (.iic) with Dravik to play it.")},
        };
        QJsonArray messages;
        for (const Case& c : cases)
            messages.append(QJsonObject{{"url", c.url}});
        const QJsonObject report = browse(QJsonObject{{"messages", messages}});
        QVERIFY2(!report.isEmpty(), "the browser gave no report");
        for (int i = 0; i < cases.size(); ++i) {
            const QJsonObject seen = report.value("messages").toArray().at(i).toObject();
            QCOMPARE(seen.value("state").toString(), QString("error"));
            QCOMPARE(seen.value("message").toString(), cases[i].message);
        }
        QCOMPARE(report.value("outside").toArray().size(), 0);
    }
};

int main(int argc, char* argv[])
{
    qputenv("LC_ALL", "C.UTF-8");
    QApplication app(argc, argv);
    LessonPlayerXTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "lesson_player_xtest.moc"
