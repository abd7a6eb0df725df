// Runs the built Regrouper program on folders made here and looks at what it
// leaves behind: the written file, the exit code and stderr.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/support/test_folders.h"

namespace {

struct RunResult {
    int exitCode = -1;
    QByteArray standardError;
};

RunResult RunRegrouperProgram(const QStringList& arguments, const QString& locale = QString())
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!locale.isEmpty()) {
        environment.insert(QStringLiteral("LC_ALL"), locale);
        environment.insert(QStringLiteral("LANG"), locale);
    }
    process.setProcessEnvironment(environment);
    process.start(BuiltProgramFolder() + QStringLiteral("/Regrouper"), arguments);
    RunResult result;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.standardError = process.readAllStandardError();
    return result;
}

bool WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A lesson of one note whose key is not ASCII: a line drawn before the
// recording and a free-pen stroke drawn during it, in slot 2.
bool WriteLesson(const QString& folder)
{
    const QByteArray notes =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<NoteList PDFName=\"Stunde.pdf\">\n"
        "    <NoteInfo Type=\"1\" Name=\"WhiteBoard\" Create=\"Notiz_\xc3\xbc\" Path=\"WhiteBoard\" Access=\"0\" "
        "NoteWidth=\"800\" NoteHeight=\"600\" PageOption=\"0\"/>\n"
        "</NoteList>\n";
    const QByteArray events =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Event Note=\"Notiz_\xc3\xbc\" Width=\"1024\" Height=\"768\">\n"
        "    <EM_2 Type=\"EM\" Index=\"2\">\n"
        "        <EM KD=\"5\" MP=\"-1\" SD=\"0\" EI=\"1\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n"
        "        <EM KD=\"3\" MP=\"1500.25\" SD=\"0\" EI=\"2\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n"
        "    </EM_2>\n"
        "    <ED_2 Type=\"ED\" Index=\"2\">\n"
        "        <ED EI=\"1\" SX=\"10\" SY=\"20\" EX=\"30\" EY=\"40\" OX=\"10\" OY=\"20\" OW=\"20\" OH=\"20\" PC=\"#ff0000\" "
        "PW=\"3\" OA=\"0.1\" BD=\"0\" MD=\"0\" TP=\"128\"/>\n"
        "        <ED EI=\"2\" SX=\"10\" SY=\"20\" EX=\"12\" EY=\"22\" OX=\"10\" OY=\"20\" OW=\"2\" OH=\"2\" PC=\"#00ff00\" "
        "PW=\"2\" OA=\"0\" BD=\"0\" MD=\"0\" TP=\"255\"/>\n"
        "    </ED_2>\n"
        "    <FP_2 Type=\"FP\" Index=\"2\">\n"
        "        <FP EI=\"2\" MP=\"1500.25\" MA=\"1\" PS=\"0.5\" SX=\"10\" SY=\"20\"/>\n"
        "        <FP EI=\"2\" MP=\"1600\" MA=\"2\" PS=\"0.75\" SX=\"11\" SY=\"21\"/>\n"
        "        <FP EI=\"2\" MP=\"1700\" MA=\"3\" PS=\"0.5\" SX=\"12\" SY=\"22\"/>\n"
        "    </FP_2>\n"
        "</Event>\n";
    return QDir().mkpath(folder) && WriteFile(folder + QStringLiteral("/Notes.xml"), notes)
        && WriteFile(folder + QStringLiteral("/Notiz_\u00fc.xml"), events);
}

const QByteArray kLessonEvents =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Event NoteCount=\"1\" Width=\"1024\" Height=\"768\">\n"
    "    <TO_2 Index=\"2\">\n"
    "        <TO PI=\"2\" MP=\"1\" EI=\"1\" KD=\"5\" BX=\"10\" BY=\"20\" BW=\"30\" BH=\"40\" NX=\"10\" NY=\"20\" NW=\"20\" "
    "NH=\"20\" AG=\"0.10000000149011612\" PC=\"#ff0000\" PW=\"3\" TP=\"128\" NI=\"0\"/>\n"
    "        <TO PI=\"2\" MP=\"1500.25\" EI=\"2\" KD=\"1\" BX=\"10\" BY=\"20\" BW=\"3\" BH=\"0\" NX=\"0\" NY=\"0\" NW=\"0\" "
    "NH=\"0\" AG=\"0\" PC=\"#00ff00\" PW=\"2\" TP=\"255\" NI=\"0\"/>\n"
    "        <TO PI=\"2\" MP=\"1600\" EI=\"2\" KD=\"3\" BX=\"11\" BY=\"21\" BW=\"0\" BH=\"0\" NX=\"0\" NY=\"0\" NW=\"0\" "
    "NH=\"0\" AG=\"0\" PC=\"#00ff00\" PW=\"0.75\" TP=\"255\" NI=\"0\"/>\n"
    "        <TO PI=\"2\" MP=\"1700\" EI=\"2\" KD=\"4\" BX=\"12\" BY=\"22\" BW=\"0\" BH=\"0\" NX=\"0\" NY=\"0\" NW=\"0\" "
    "NH=\"0\" AG=\"0\" PC=\"#00ff00\" PW=\"0\" TP=\"255\" NI=\"0\"/>\n"
    "    </TO_2>\n"
    "</Event>\n";

}  // namespace

class RegrouperProgramTest : public QObject
{
    Q_OBJECT

private slots:
    void rebuildsANonAsciiFolder_data();
    void rebuildsANonAsciiFolder();
    void missingFolderFailsAndWritesNothing();
    void withoutArgumentUsesTheSampleFolder();
};

void RegrouperProgramTest::rebuildsANonAsciiFolder_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("UTF-8 locale") << QStringLiteral("C.UTF-8");
    QTest::newRow("plain C locale") << QStringLiteral("C");
}

void RegrouperProgramTest::rebuildsANonAsciiFolder()
{
    QFETCH(QString, locale);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("Stunde_\u00e4_\u65e5\u672c"));
    QVERIFY(WriteLesson(folder));

    const RunResult run = RunRegrouperProgram({folder}, locale);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.standardError, QByteArray());
    QCOMPARE(ReadFile(folder + QStringLiteral("/New_Event.xml")), kLessonEvents);

    // A second run replaces the file with the same content.
    QCOMPARE(RunRegrouperProgram({folder}, locale).exitCode, 0);
    QCOMPARE(ReadFile(folder + QStringLiteral("/New_Event.xml")), kLessonEvents);
}

void RegrouperProgramTest::missingFolderFailsAndWritesNothing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("nicht_da_\u00f6"));
    const RunResult run = RunRegrouperProgram({missing});
    QVERIFY(run.exitCode > 0);
    QCOMPARE(run.standardError.count('\n'), 1);
    QVERIFY2(run.standardError.contains(missing.toUtf8()), run.standardError.constData());
    QVERIFY(!QFileInfo::exists(missing));
}

void RegrouperProgramTest::withoutArgumentUsesTheSampleFolder()
{
    ScopedFolderRoot root;
    QVERIFY(root.isValid());
    const QString sample = root.path() + QStringLiteral("/Temp/Orbel5/20181227_153335");
    QVERIFY(WriteLesson(sample));

    const RunResult run = RunRegrouperProgram({});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(ReadFile(sample + QStringLiteral("/New_Event.xml")), kLessonEvents);
}

QTEST_GUILESS_MAIN(RegrouperProgramTest)
#include "regrouper_program_xtest.moc"
