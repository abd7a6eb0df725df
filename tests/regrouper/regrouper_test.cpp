#include "regrouper/event_regrouper.h"
#include "regrouper/regrouper_run.h"

#include <QDir>
#include <QFile>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <sys/stat.h>

#include "tests/support/test_folders.h"

namespace {

const char kProlog[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// A package folder's files as name/content pairs.
using Fixture = QVector<QPair<QString, QString>>;

QString NoteList(const QStringList& creates)
{
    QString xml = QString::fromLatin1(kProlog) + QStringLiteral("<NoteList PDFName=\"lesson.pdf\">\n");
    for (const QString& create : creates)
        xml += QStringLiteral("    <NoteInfo Type=\"1\" Name=\"WhiteBoard\" Create=\"%1\" Path=\"WhiteBoard\" "
                              "Access=\"0\" NoteWidth=\"800\" NoteHeight=\"600\" PageOption=\"0\"/>\n")
                   .arg(create);
    return xml + QStringLiteral("</NoteList>\n");
}

QString NoteFile(const QString& create, int width, int height, const QString& body)
{
    return QString::fromLatin1(kProlog)
        + QStringLiteral("<Event Note=\"%1\" Width=\"%2\" Height=\"%3\">\n%4</Event>\n")
              .arg(create, QString::number(width), QString::number(height), body);
}

// One object's master and detail rows in the package's attribute order.
QString Em(int ei, int kd, const QString& mp, int sd = 0)
{
    return QStringLiteral("<EM KD=\"%1\" MP=\"%2\" SD=\"%3\" EI=\"%4\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n")
        .arg(QString::number(kd), mp, QString::number(sd), QString::number(ei));
}

QString Ed(int ei, const QString& points, const QString& rect, const QString& pen, const QString& flags = "BD=\"0\" MD=\"0\"")
{
    return QStringLiteral("<ED EI=\"%1\" %2 %3 %4 %5/>\n").arg(QString::number(ei), points, rect, pen, flags);
}

QString Group(const QString& tag, int index, const QString& rows)
{
    return QStringLiteral("<%1_%2 Type=\"%1\" Index=\"%2\">\n%3</%1_%2>\n").arg(tag, QString::number(index), rows);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

}  // namespace

Q_DECLARE_METATYPE(Fixture)

class RegrouperTest : public QObject
{
    Q_OBJECT

private slots:
    void rebuildsTheEventFile_data();
    void rebuildsTheEventFile();
    void missingFolderWritesNothing();
    void unwritableEventFileFails();
    void defaultFolderIsTheSampleUnderTemp();
    void hostilePackages_data();
    void hostilePackages();
    void commandLineOptions();
};

void RegrouperTest::rebuildsTheEventFile_data()
{
    QTest::addColumn<Fixture>("fixture");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("warning");  // a text stderr must hold; empty: stderr stays empty

    // Slots 0 and 3 of two notes: figures before and during the recording, a
    // free-pen stroke drawn before it, a brush stroke, note change, zoom, end
    // marker, image; a circle and a hidden object give nothing.
    {
        const QString n1 = NoteFile("n1", 1024, 768,
            Group("EM", 0, Em(1, 5, "-1") + Em(2, 5, "1200") + Em(3, 3, "-1") + Em(4, 6, "500") + Em(5, 8, "-2")
                               + Em(6, 1, "800"))
            + Group("ED", 0,
                    Ed(1, "SX=\"10\" SY=\"20\" EX=\"30\" EY=\"40\"", "OX=\"10\" OY=\"20\" OW=\"20\" OH=\"20\"",
                       "PC=\"#FF0000\" PW=\"3\" OA=\"0.1\"", "BD=\"0\" MD=\"0\" TP=\"128\"")
                    + Ed(2, "SX=\"1\" SY=\"2\" EX=\"3\" EY=\"4\"", "OX=\"1\" OY=\"2\" OW=\"2\" OH=\"2\"",
                         "PC=\"#0000ff\" PW=\"2\" OA=\"0\"", "BD=\"0\" MD=\"0\" TP=\"255\"")
                    + Ed(3, "SX=\"5\" SY=\"5\" EX=\"9\" EY=\"9\"", "OX=\"5\" OY=\"5\" OW=\"4\" OH=\"4\"",
                         "PC=\"black\" PW=\"4\" OA=\"0\"", "BD=\"0\" MD=\"0\" TP=\"255\"")
                    + Ed(4, "SX=\"0\" SY=\"0\" EX=\"9\" EY=\"9\"", "OX=\"0\" OY=\"0\" OW=\"9\" OH=\"9\"",
                         "PC=\"#000000\" PW=\"1\" OA=\"0\"", "BD=\"0\" MD=\"0\" TP=\"255\"")
                    + Ed(5, "SX=\"0\" SY=\"0\" EX=\"9\" EY=\"9\"", "OX=\"0\" OY=\"0\" OW=\"9\" OH=\"9\"",
                         "PC=\"#000000\" PW=\"1\" OA=\"0\"", "BD=\"0\" MD=\"0\" TP=\"255\"")
                    + Ed(6, "SX=\"0\" SY=\"0\" EX=\"0\" EY=\"0\"", "OX=\"0\" OY=\"0\" OW=\"0\" OH=\"0\"",
                         "PC=\"#123456\" PW=\"1\" OA=\"0\"", "BD=\"0\" MD=\"0\" TP=\"255\""))
            + Group("FP", 0,
                    "<FP EI=\"3\" MP=\"-1\" MA=\"2\" PS=\"0.5\" SX=\"1\" SY=\"1\"/>\n"
                    "<FP EI=\"3\" MP=\"-1\" MA=\"1\" PS=\"0.5\" SX=\"5\" SY=\"5\"/>\n"
                    "<FP EI=\"3\" MP=\"-1\" MA=\"2\" PS=\"0.25\" SX=\"7\" SY=\"6\"/>\n"
                    "<FP EI=\"3\" MP=\"-1\" MA=\"3\" PS=\"0.5\" SX=\"9\" SY=\"9\"/>\n"
                    "<FP EI=\"3\" MP=\"-1\" MA=\"1\" PS=\"0.5\" SX=\"50\" SY=\"50\"/>\n"));
        const QString n2 = NoteFile("n2", 1280, 720,
            Group("EM", 3, Em(1, 4, "2500.5") + "<EM KD=\"30\" MP=\"3000.75\" SD=\"0\" EI=\"2\" SC=\"1.5\" HS=\"10\" VS=\"20\"/>\n"
                               + Em(3, 35, "4000") + Em(4, 2, "-1", 7))
            + Group("ED", 3,
                    Ed(1, "SX=\"0\" SY=\"0\" EX=\"0\" EY=\"0\"", "OX=\"0\" OY=\"0\" OW=\"0\" OH=\"0\"",
                       "PC=\"#00ff00\" PW=\"6\" OA=\"0\"", "BD=\"0\" MD=\"0\" TP=\"255\"")
                    + Ed(2, "SX=\"0\" SY=\"0\" EX=\"0\" EY=\"0\"", "OX=\"0\" OY=\"0\" OW=\"0\" OH=\"0\"",
                         "PC=\"#000000\" PW=\"1\" OA=\"0\"", "BD=\"0\" MD=\"0\" TP=\"255\"")
                    + Ed(3, "SX=\"0\" SY=\"0\" EX=\"0\" EY=\"0\"", "OX=\"0\" OY=\"0\" OW=\"0\" OH=\"0\"",
                         "PC=\"#000000\" PW=\"1\" OA=\"0\"", "BD=\"0\" MD=\"0\" TP=\"255\"")
                    + Ed(4, "SX=\"100\" SY=\"100\" EX=\"300\" EY=\"200\"", "OX=\"100\" OY=\"100\" OW=\"200\" OH=\"100\"",
                         "PC=\"#000000\" PW=\"1\" OA=\"45\"", "BD=\"0\" MD=\"0\" TP=\"255\""))
            + Group("FP", 3,
                    "<FP EI=\"1\" MP=\"2500.5\" MA=\"1\" PS=\"0.5\" SX=\"20\" SY=\"30\"/>\n"
                    "<FP EI=\"1\" MP=\"2510\" MA=\"2\" PS=\"0.5\" SX=\"21\" SY=\"31\"/>\n"
                    "<FP EI=\"1\" MP=\"2520\" MA=\"3\" PS=\"0.5\" SX=\"22\" SY=\"32\"/>\n"));
        QTest::newRow("kinds in two slots") << Fixture{{"Notes.xml", NoteList({"n1", "n2"})}, {"n1.xml", n1}, {"n2.xml", n2}}
                                            << QString(R"xml(<?xml version="1.0" encoding="UTF-8"?>
<Event NoteCount="2" Width="1280" Height="720">
    <TO_0 Index="0">
        <TO PI="0" MP="1" EI="1" KD="5" BX="10" BY="20" BW="30" BH="40" NX="10" NY="20" NW="20" NH="20" AG="0.10000000149011612" PC="#ff0000" PW="3" TP="128" NI="0"/>
        <TO PI="0" MP="1" EI="3" KD="1" BX="5" BY="5" BW="3" BH="0" NX="5" NY="5" NW="4" NH="4" AG="0" PC="#000000" PW="4" TP="255" NI="0"/>
        <TO PI="0" MP="1" EI="3" KD="3" BX="7" BY="6" BW="0" BH="0" NX="0" NY="0" NW="0" NH="0" AG="0" PC="#000000" PW="0.25" TP="255" NI="0"/>
        <TO PI="0" MP="1" EI="3" KD="4" BX="9" BY="9" BW="0" BH="0" NX="5" NY="5" NW="4" NH="4" AG="0" PC="#000000" PW="0" TP="255" NI="0"/>
        <TO PI="0" MP="800" EI="6" KD="15" BX="0" BY="0" BW="0" BH="0" NX="0" NY="0" NW="0" NH="0" AG="1" PC="#123456" PW="0" TP="0" NI="0"/>
        <TO PI="0" MP="800" EI="6" KD="16" BX="0" BY="0" BW="0" BH="0" NX="0" NY="0" NW="0" NH="0" AG="0" PC="#123456" PW="0" TP="0" NI="0"/>
        <TO PI="0" MP="1200" EI="2" KD="5" BX="1" BY="2" BW="3" BH="4" NX="1" NY="2" NW="2" NH="2" AG="0" PC="#0000ff" PW="2" TP="255" NI="0"/>
    </TO_0>
    <TO_3 Index="3">
        <TO PI="3" MP="1" EI="4" KD="14" BX="100" BY="100" BW="300" BH="200" NX="100" NY="100" NW="200" NH="100" AG="45" PC="#000000" PW="0" TP="7" NI="1"/>
        <TO PI="3" MP="2500.5" EI="1" KD="1" BX="20" BY="30" BW="4" BH="0" NX="0" NY="0" NW="0" NH="0" AG="0" PC="#00ff00" PW="6" TP="255" NI="1"/>
        <TO PI="3" MP="2510" EI="1" KD="2" BX="21" BY="31" BW="0" BH="0" NX="0" NY="0" NW="0" NH="0" AG="0" PC="#00ff00" PW="0" TP="255" NI="1"/>
        <TO PI="3" MP="2520" EI="1" KD="4" BX="22" BY="32" BW="0" BH="0" NX="0" NY="0" NW="0" NH="0" AG="0" PC="#00ff00" PW="0" TP="255" NI="1"/>
        <TO PI="3" MP="3000.75" EI="2" KD="15" BX="0" BY="0" BW="0" BH="0" NX="0" NY="0" NW="10" NH="20" AG="1.5" PC="#000000" PW="0" TP="3000" NI="1"/>
        <TO PI="3" MP="3000.75" EI="2" KD="17" BX="0" BY="0" BW="0" BH="0" NX="0" NY="0" NW="10" NH="20" AG="1.5" PC="#000000" PW="0" TP="3000" NI="1"/>
        <TO PI="3" MP="4000" EI="3" KD="18" BX="0" BY="0" BW="0" BH="0" NX="0" NY="0" NW="0" NH="0" AG="0" PC="#000000" PW="0" TP="0" NI="1"/>
    </TO_3>
</Event>
)xml") << QString();
    }

    // A deleted line erased at 2000: the erase area is written, then what
    // stands under it at that moment (a rectangle and a free-pen stroke of the
    // same note), but not the erased line itself, nor a later ellipse, nor an
    // object of another note.
    {
        const QString black = "PC=\"#000000\" PW=\"2\" OA=\"0\"";
        const QString n1 = NoteFile("n1", 800, 600,
            Group("EM", 0, Em(1, 5, "1000") + Em(2, 8, "500") + Em(3, 8, "500") + Em(4, 10, "2500") + Em(6, 3, "-1"))
            + Group("ED", 0,
                    Ed(1, "SX=\"0\" SY=\"0\" EX=\"100\" EY=\"100\"", "OX=\"0\" OY=\"0\" OW=\"100\" OH=\"100\"", black,
                       "BD=\"1\" MD=\"0\" TP=\"255\"")
                    + Ed(2, "SX=\"50\" SY=\"50\" EX=\"90\" EY=\"90\"", "OX=\"50\" OY=\"50\" OW=\"40\" OH=\"40\"", black,
                         "BD=\"0\" MD=\"0\" TP=\"255\"")
                    + Ed(3, "SX=\"500\" SY=\"500\" EX=\"510\" EY=\"510\"", "OX=\"500\" OY=\"500\" OW=\"10\" OH=\"10\"",
                         black, "BD=\"0\" MD=\"0\" TP=\"255\"")
                    + Ed(4, "SX=\"10\" SY=\"10\" EX=\"20\" EY=\"20\"", "OX=\"10\" OY=\"10\" OW=\"10\" OH=\"10\"", black,
                         "BD=\"0\" MD=\"0\" TP=\"255\"")
                    + Ed(6, "SX=\"60\" SY=\"60\" EX=\"80\" EY=\"80\"", "OX=\"60\" OY=\"60\" OW=\"20\" OH=\"20\"", black,
                         "BD=\"0\" MD=\"0\" TP=\"255\""))
            + Group("EP", 0, "<EP EI=\"1\" MP=\"2000\" EK=\"0\" BX=\"0\" BY=\"0\" BW=\"100\" BH=\"100\" AG=\"0\" GI=\"0\" GT=\"0\"/>\n")
            + Group("FP", 0,
                    "<FP EI=\"6\" MP=\"-1\" MA=\"1\" PS=\"0.5\" SX=\"60\" SY=\"60\"/>\n"
                    "<FP EI=\"6\" MP=\"-1\" MA=\"2\" PS=\"0.5\" SX=\"70\" SY=\"70\"/>\n"
                    "<FP EI=\"6\" MP=\"-1\" MA=\"3\" PS=\"0.5\" SX=\"80\" SY=\"80\"/>\n"));
        const QString n2 = NoteFile("n2", 800, 600,
            Group("EM", 0, Em(7, 5, "100"))
            + Group("ED", 0, Ed(7, "SX=\"10\" SY=\"10\" EX=\"20\" EY=\"20\"", "OX=\"10\" OY=\"10\" OW=\"10\" OH=\"10\"",
                                black, "BD=\"0\" MD=\"0\" TP=\"255\"")));
        QTest::newRow("erase") << Fixture{{"Notes.xml", NoteList({"n1", "n2"})}, {"n1.xml", n1}, {"n2.xml", n2}}
                               << QString(R"xml(<?xml version="1.0" encoding="UTF-8"?>
<Event NoteCount="2" Width="800" Height="600">
    <TO_0 Index="0">
        <TO PI="0" MP="1" EI="6" KD="1" BX="60" BY="60" BW="3" BH="0" NX="60" NY="60" NW="20" NH="20" AG="0" PC="#000000" PW="2" TP="255" NI="0"/>
        <TO PI="0" MP="1" EI="6" KD="3" BX="70" BY="70" BW="0" BH="0" NX="0" NY="0" NW="0" NH="0" AG="0" PC="#000000" PW="0.5" TP="255" NI="0"/>
        <TO PI="0" MP="1" EI="6" KD="4" BX="80" BY="80" BW="0" BH="0" NX="60" NY="60" NW="20" NH="20" AG="0" PC="#000000" PW="0" TP="255" NI="0"/>
        <TO PI="0" MP="100" EI="7" KD="5" BX="10" BY="10" BW="20" BH="20" NX="10" NY="10" NW="10" NH="10" AG="0" PC="#000000" PW="2" TP="255" NI="1"/>
        <TO PI="0" MP="500" EI="2" KD="8" BX="50" BY="50" BW="90" BH="90" NX="50" NY="50" NW="40" NH="40" AG="0" PC="#000000" PW="2" TP="255" NI="0"/>
        <TO PI="0" MP="500" EI="3" KD="8" BX="500" BY="500" BW="510" BH="510" NX="500" NY="500" NW="10" NH="10" AG="0" PC="#000000" PW="2" TP="255" NI="0"/>
        <TO PI="0" MP="1000" EI="1" KD="5" BX="0" BY="0" BW="100" BH="100" NX="0" NY="0" NW="100" NH="100" AG="0" PC="#000000" PW="2" TP="255" NI="0"/>
        <TO PI="0" MP="2000" EI="1" KD="0" BX="-3" BY="-3" BW="106" BH="106" NX="0" NY="0" NW="0" NH="0" AG="0" PC="#000000" PW="0" TP="0" NI="0"/>
        <TO PI="0" MP="2010" EI="2" KD="8" BX="50" BY="50" BW="90" BH="90" NX="50" NY="50" NW="40" NH="40" AG="0" PC="#000000" PW="2" TP="255" NI="0"/>
        <TO PI="0" MP="2010" EI="6" KD="1" BX="60" BY="60" BW="3" BH="0" NX="60" NY="60" NW="20" NH="20" AG="0" PC="#000000" PW="2" TP="255" NI="0"/>
        <TO PI="0" MP="2010" EI="6" KD="3" BX="70" BY="70" BW="0" BH="0" NX="0" NY="0" NW="0" NH="0" AG="0" PC="#000000" PW="0.5" TP="255" NI="0"/>
        <TO PI="0" MP="2010" EI="6" KD="4" BX="80" BY="80" BW="0" BH="0" NX="60" NY="60" NW="20" NH="20" AG="0" PC="#000000" PW="0" TP="255" NI="0"/>
        <TO PI="0" MP="2500" EI="4" KD="10" BX="10" BY="10" BW="20" BH="20" NX="10" NY="10" NW="10" NH="10" AG="0" PC="#000000" PW="2" TP="255" NI="0"/>
    </TO_0>
</Event>
)xml") << QString();
    }

    // A rectangle moved at 3000: the area it left, a rectangle standing there,
    // then the moved rectangle in its new place.
    {
        const QString pen = "PC=\"#0000ff\" PW=\"1\" OA=\"0\"";
        const QString n1 = NoteFile("n1", 800, 600,
            Group("EM", 1, Em(1, 8, "-1") + Em(2, 8, "-1"))
            + Group("ED", 1,
                    Ed(1, "SX=\"10\" SY=\"10\" EX=\"60\" EY=\"60\"", "OX=\"10\" OY=\"10\" OW=\"50\" OH=\"50\"", pen,
                       "BD=\"0\" MD=\"1\" TP=\"255\"")
                    + Ed(2, "SX=\"20\" SY=\"20\" EX=\"30\" EY=\"30\"", "OX=\"20\" OY=\"20\" OW=\"10\" OH=\"10\"", pen,
                         "BD=\"0\" MD=\"0\" TP=\"255\""))
            + Group("ME", 1,
                    "<ME EI=\"1\" MP=\"3000\" KD=\"8\" MK=\"0\" MX=\"100\" MY=\"100\" CX=\"150\" CY=\"150\" BX=\"100\" "
                    "BY=\"100\" BW=\"50\" BH=\"50\" SD=\"0\" AG=\"0\" PX=\"10\" PY=\"10\" PW=\"50\" PH=\"50\" PG=\"0\" "
                    "GI=\"0\" GT=\"0\"/>\n"));
        QTest::newRow("modify") << Fixture{{"Notes.xml", NoteList({"n1"})}, {"n1.xml", n1}} << QString(R"xml(<?xml version="1.0" encoding="UTF-8"?>
<Event NoteCount="1" Width="800" Height="600">
    <TO_1 Index="1">
        <TO PI="1" MP="1" EI="1" KD="8" BX="10" BY="10" BW="60" BH="60" NX="10" NY="10" NW="50" NH="50" AG="0" PC="#0000ff" PW="1" TP="255" NI="0"/>
        <TO PI="1" MP="1" EI="2" KD="8" BX="20" BY="20" BW="30" BH="30" NX="20" NY="20" NW="10" NH="10" AG="0" PC="#0000ff" PW="1" TP="255" NI="0"/>
        <TO PI="1" MP="3000" EI="1" KD="0" BX="8" BY="8" BW="54" BH="54" NX="0" NY="0" NW="0" NH="0" AG="0" PC="#000000" PW="0" TP="0" NI="0"/>
        <TO PI="1" MP="3000" EI="1" KD="8" BX="100" BY="100" BW="150" BH="150" NX="100" NY="100" NW="50" NH="50" AG="0" PC="#0000ff" PW="1" TP="255" NI="0"/>
        <TO PI="1" MP="3010" EI="2" KD="8" BX="20" BY="20" BW="30" BH="30" NX="20" NY="20" NW="10" NH="10" AG="0" PC="#0000ff" PW="1" TP="255" NI="0"/>
    </TO_1>
</Event>
)xml") << QString();
    }

    // Erases and moves that reach every slot: an erase of kind 2 (last of
    // its group) writes its area into each slot that has erase events, a
    // group move writes its area and the moves at that moment into each
    // slot that has modify events.
    {
        const QString pen = "PC=\"#000000\" PW=\"1\" OA=\"0\"";
        const QString a = NoteFile("a", 800, 600,
            Group("EM", 0, Em(1, 5, "1000"))
            + Group("ED", 0, Ed(1, "SX=\"0\" SY=\"0\" EX=\"50\" EY=\"50\"", "OX=\"0\" OY=\"0\" OW=\"50\" OH=\"50\"", pen,
                                "BD=\"1\" MD=\"0\" TP=\"255\""))
            + Group("EP", 0, "<EP EI=\"1\" MP=\"2000\" EK=\"2\" BX=\"0\" BY=\"0\" BW=\"50\" BH=\"50\" AG=\"0\" GI=\"1\" GT=\"1\"/>\n")
            + Group("EM", 1, Em(1, 8, "-1"))
            + Group("ED", 1, Ed(1, "SX=\"10\" SY=\"10\" EX=\"30\" EY=\"30\"", "OX=\"10\" OY=\"10\" OW=\"20\" OH=\"20\"", pen,
                                "BD=\"0\" MD=\"1\" TP=\"255\""))
            + Group("ME", 1,
                    "<ME EI=\"1\" MP=\"3000\" KD=\"8\" MK=\"2\" MX=\"100\" MY=\"100\" CX=\"120\" CY=\"120\" BX=\"100\" "
                    "BY=\"100\" BW=\"20\" BH=\"20\" SD=\"0\" AG=\"0\" PX=\"10\" PY=\"10\" PW=\"20\" PH=\"20\" PG=\"0\" "
                    "GI=\"2\" GT=\"2\"/>\n")
            + Group("EM", 2, Em(1, 8, "500") + Em(2, 8, "600"))
            + Group("ED", 2, Ed(1, "SX=\"10\" SY=\"10\" EX=\"20\" EY=\"20\"", "OX=\"10\" OY=\"10\" OW=\"10\" OH=\"10\"", pen)
                                 + Ed(2, "SX=\"300\" SY=\"300\" EX=\"310\" EY=\"310\"", "OX=\"300\" OY=\"300\" OW=\"10\" OH=\"10\"",
                                      pen, "BD=\"1\" MD=\"0\" TP=\"255\""))
            + Group("EP", 2, "<EP EI=\"2\" MP=\"5000\" EK=\"1\" BX=\"300\" BY=\"300\" BW=\"10\" BH=\"10\" AG=\"0\" GI=\"0\" GT=\"0\"/>\n")
            + Group("EM", 3, Em(5, 10, "-1"))
            + Group("ED", 3, Ed(5, "SX=\"12\" SY=\"12\" EX=\"22\" EY=\"22\"", "OX=\"12\" OY=\"12\" OW=\"10\" OH=\"10\"", pen,
                                "BD=\"0\" MD=\"1\" TP=\"255\""))
            + Group("ME", 3,
                    "<ME EI=\"5\" MP=\"3000\" KD=\"10\" MK=\"2\" MX=\"200\" MY=\"200\" CX=\"210\" CY=\"210\" BX=\"200\" "
                    "BY=\"200\" BW=\"10\" BH=\"10\" SD=\"0\" AG=\"0\" PX=\"12\" PY=\"12\" PW=\"10\" PH=\"10\" PG=\"0\" "
                    "GI=\"1\" GT=\"2\"/>\n"));
        QTest::newRow("group erase and group move") << Fixture{{"Notes.xml", NoteList({"a"})}, {"a.xml", a}}
                                                    << QString(R"xml(<?xml version="1.0" encoding="UTF-8"?>
<Event NoteCount="1" Width="800" Height="600">
    <TO_0 Index="0">
        <TO PI="0" MP="1000" EI="1" KD="5" BX="0" BY="0" BW="50" BH="50" NX="0" NY="0" NW="50" NH="50" AG="0" PC="#000000" PW="1" TP="255" NI="0"/>
        <TO PI="0" MP="2000" EI="1" KD="0" BX="-2" BY="-2" BW="54" BH="54" NX="0" NY="0" NW="0" NH="0" AG="0" PC="#000000" PW="0" TP="0" NI="0"/>
    </TO_0>
    <TO_1 Index="1">
        <TO PI="1" MP="1" EI="1" KD="8" BX="10" BY="10" BW="30" BH="30" NX="10" NY="10" NW="20" NH="20" AG="0" PC="#000000" PW="1" TP="255" NI="0"/>
        <TO PI="1" MP="3000" EI="1" KD="0" BX="8" BY="8" BW="24" BH="24" NX="0" NY="0" NW="0" NH="0" AG="0" PC="#000000" PW="0" TP="0" NI="0"/>
        <TO PI="1" MP="3000" EI="1" KD="8" BX="100" BY="100" BW="120" BH="120" NX="100" NY="100" NW="20" NH="20" AG="0" PC="#000000" PW="1" TP="255" NI="0"/>
    </TO_1>
    <TO_2 Index="2">
        <TO PI="2" MP="500" EI="1" KD="8" BX="10" BY="10" BW="20" BH="20" NX="10" NY="10" NW="10" NH="10" AG="0" PC="#000000" PW="1" TP="255" NI="0"/>
        <TO PI="2" MP="600" EI="2" KD="8" BX="300" BY="300" BW="310" BH="310" NX="300" NY="300" NW="10" NH="10" AG="0" PC="#000000" PW="1" TP="255" NI="0"/>
        <TO PI="2" MP="2000" EI="1" KD="0" BX="-2" BY="-2" BW="54" BH="54" NX="0" NY="0" NW="0" NH="0" AG="0" PC="#000000" PW="0" TP="0" NI="0"/>
        <TO PI="2" MP="2010" EI="1" KD="8" BX="10" BY="10" BW="20" BH="20" NX="10" NY="10" NW="10" NH="10" AG="0" PC="#000000" PW="1" TP="255" NI="0"/>
    </TO_2>
    <TO_3 Index="3">
        <TO PI="3" MP="1" EI="5" KD="10" BX="12" BY="12" BW="22" BH="22" NX="12" NY="12" NW="10" NH="10" AG="0" PC="#000000" PW="1" TP="255" NI="0"/>
        <TO PI="3" MP="3000" EI="1" KD="0" BX="8" BY="8" BW="24" BH="24" NX="0" NY="0" NW="0" NH="0" AG="0" PC="#000000" PW="0" TP="0" NI="0"/>
        <TO PI="3" MP="3000" EI="5" KD="10" BX="200" BY="200" BW="210" BH="210" NX="200" NY="200" NW="10" NH="10" AG="0" PC="#000000" PW="1" TP="255" NI="0"/>
    </TO_3>
</Event>
)xml") << QString();
    }

    // Every group carries Type and Index; the index of the last group of one
    // note file still holds for the first records of the next file.
    {
        const QString pen = "PC=\"#000000\" PW=\"1\" OA=\"0\"";
        const QString points = "SX=\"1\" SY=\"2\" EX=\"3\" EY=\"4\"";
        const QString rect = "OX=\"1\" OY=\"2\" OW=\"2\" OH=\"2\"";
        const QString a = NoteFile("a", 800, 600,
            Group("EM", 2, Em(1, 5, "-1")) + Group("ED", 2, Ed(1, points, rect, pen)) + Group("FP", 4, QString()));
        const QString b = NoteFile("b", 800, 600,
            "<EM_x Type=\"EM\">\n" + Em(7, 5, "-1") + "</EM_x>\n<ED_x Type=\"ED\">\n" + Ed(7, points, rect, pen)
            + "</ED_x>\n" + Group("EM", 6, Em(8, 5, "-1")) + Group("ED", 6, Ed(8, points, rect, pen)));
        QTest::newRow("index carries over") << Fixture{{"Notes.xml", NoteList({"a", "b"})}, {"a.xml", a}, {"b.xml", b}}
                                            << QString(R"xml(<?xml version="1.0" encoding="UTF-8"?>
<Event NoteCount="2" Width="800" Height="600">
    <TO_2 Index="2">
        <TO PI="2" MP="1" EI="1" KD="5" BX="1" BY="2" BW="3" BH="4" NX="1" NY="2" NW="2" NH="2" AG="0" PC="#000000" PW="1" TP="255" NI="0"/>
    </TO_2>
    <TO_4 Index="4">
        <TO PI="4" MP="1" EI="7" KD="5" BX="1" BY="2" BW="3" BH="4" NX="1" NY="2" NW="2" NH="2" AG="0" PC="#000000" PW="1" TP="255" NI="1"/>
    </TO_4>
    <TO_6 Index="6">
        <TO PI="6" MP="1" EI="8" KD="5" BX="1" BY="2" BW="3" BH="4" NX="1" NY="2" NW="2" NH="2" AG="0" PC="#000000" PW="1" TP="255" NI="1"/>
    </TO_6>
</Event>
)xml") << QString();
    }

    // Records under an index outside 0..10 are dropped, with a warning.
    {
        const QString pen = "PC=\"#000000\" PW=\"1\" OA=\"0\"";
        const QString points = "SX=\"1\" SY=\"2\" EX=\"3\" EY=\"4\"";
        const QString rect = "OX=\"1\" OY=\"2\" OW=\"2\" OH=\"2\"";
        const QString a = NoteFile("a", 800, 600,
            Group("EM", 11, Em(1, 5, "-1")) + Group("ED", 11, Ed(1, points, rect, pen))
            + Group("EM", -1, Em(2, 5, "-1")) + Group("ED", -1, Ed(2, points, rect, pen))
            + Group("EM", 1, Em(3, 5, "-1")) + Group("ED", 1, Ed(3, points, rect, pen)));
        QTest::newRow("index out of range") << Fixture{{"Notes.xml", NoteList({"a"})}, {"a.xml", a}}
                                            << QString(R"xml(<?xml version="1.0" encoding="UTF-8"?>
<Event NoteCount="1" Width="800" Height="600">
    <TO_1 Index="1">
        <TO PI="1" MP="1" EI="3" KD="5" BX="1" BY="2" BW="3" BH="4" NX="1" NY="2" NW="2" NH="2" AG="0" PC="#000000" PW="1" TP="255" NI="0"/>
    </TO_1>
</Event>
)xml") << QStringLiteral("slot index 11 is outside 0..10");
    }

    // An object without a detail of its own is skipped, not drawn with the
    // last detail of the table.
    {
        const QString a = NoteFile("a", 800, 600,
            Group("EM", 0, Em(1, 5, "-1") + Em(2, 8, "-1"))
            + Group("ED", 0, Ed(1, "SX=\"1\" SY=\"2\" EX=\"3\" EY=\"4\"", "OX=\"1\" OY=\"2\" OW=\"2\" OH=\"2\"",
                                "PC=\"#000000\" PW=\"1\" OA=\"0\"")));
        QTest::newRow("object without detail") << Fixture{{"Notes.xml", NoteList({"a"})}, {"a.xml", a}}
                                               << QString(R"xml(<?xml version="1.0" encoding="UTF-8"?>
<Event NoteCount="1" Width="800" Height="600">
    <TO_0 Index="0">
        <TO PI="0" MP="1" EI="1" KD="5" BX="1" BY="2" BW="3" BH="4" NX="1" NY="2" NW="2" NH="2" AG="0" PC="#000000" PW="1" TP="255" NI="0"/>
    </TO_0>
</Event>
)xml") << QString();
    }

    // View and marker events have no detail on the board: they are still
    // written, in opaque black.
    {
        const QString a = NoteFile("a", 800, 600,
            Group("EM", 0, Em(1, 1, "800.5") + "<EM KD=\"31\" MP=\"900\" SD=\"0\" EI=\"2\" SC=\"2\" HS=\"3\" VS=\"4\"/>\n"
                               + Em(3, 35, "9000")));
        QTest::newRow("events without detail") << Fixture{{"Notes.xml", NoteList({"a"})}, {"a.xml", a}}
                                               << QString(R"xml(<?xml version="1.0" encoding="UTF-8"?>
<Event NoteCount="1" Width="800" Height="600">
    <TO_0 Index="0">
        <TO PI="0" MP="800.5" EI="1" KD="15" BX="0" BY="0" BW="0" BH="0" NX="0" NY="0" NW="0" NH="0" AG="1" PC="#000000" PW="0" TP="0" NI="0"/>
        <TO PI="0" MP="800.5" EI="1" KD="16" BX="0" BY="0" BW="0" BH="0" NX="0" NY="0" NW="0" NH="0" AG="0" PC="#000000" PW="0" TP="0" NI="0"/>
        <TO PI="0" MP="900" EI="2" KD="15" BX="0" BY="0" BW="0" BH="0" NX="0" NY="0" NW="3" NH="4" AG="2" PC="#000000" PW="0" TP="900" NI="0"/>
        <TO PI="0" MP="900" EI="2" KD="17" BX="0" BY="0" BW="0" BH="0" NX="0" NY="0" NW="3" NH="4" AG="2" PC="#000000" PW="0" TP="900" NI="0"/>
        <TO PI="0" MP="9000" EI="3" KD="18" BX="0" BY="0" BW="0" BH="0" NX="0" NY="0" NW="0" NH="0" AG="0" PC="#000000" PW="0" TP="0" NI="0"/>
    </TO_0>
</Event>
)xml") << QString();
    }

    // A damaged note file keeps what was read before the damage, the next
    // note is still read, and the damaged file is named.
    {
        const QString pen = "PC=\"#000000\" PW=\"1\" OA=\"0\"";
        const QString points = "SX=\"1\" SY=\"2\" EX=\"3\" EY=\"4\"";
        const QString rect = "OX=\"1\" OY=\"2\" OW=\"2\" OH=\"2\"";
        const QString a = QString::fromLatin1(kProlog) + "<Event Note=\"a\" Width=\"800\" Height=\"600\">\n"
            + Group("EM", 0, Em(1, 5, "-1")) + "<ED_0 Type=\"ED\" Index=\"0\">\n" + Ed(1, points, rect, pen)
            + "<ED EI=\"2\" <broken/>\n";
        const QString b = NoteFile("b", 640, 480, Group("EM", 5, Em(1, 8, "-1")) + Group("ED", 5, Ed(1, points, rect, pen)));
        QTest::newRow("malformed note file") << Fixture{{"Notes.xml", NoteList({"a", "b"})}, {"a.xml", a}, {"b.xml", b}}
                                             << QString(R"xml(<?xml version="1.0" encoding="UTF-8"?>
<Event NoteCount="2" Width="640" Height="480">
    <TO_0 Index="0">
        <TO PI="0" MP="1" EI="1" KD="5" BX="1" BY="2" BW="3" BH="4" NX="1" NY="2" NW="2" NH="2" AG="0" PC="#000000" PW="1" TP="255" NI="0"/>
    </TO_0>
    <TO_5 Index="5">
        <TO PI="5" MP="1" EI="1" KD="8" BX="1" BY="2" BW="3" BH="4" NX="1" NY="2" NW="2" NH="2" AG="0" PC="#000000" PW="1" TP="255" NI="1"/>
    </TO_5>
</Event>
)xml") << QStringLiteral("a.xml\" is not well-formed XML");
    }

    // Parse rules: a repeated Create is one note, an element of two attributes
    // is no note, KD 99 is a free-pen stroke, MA 7 is no action, a fraction
    // where an integer belongs reads 0.
    {
        const QString notes = QString::fromLatin1(kProlog) + "<NoteList PDFName=\"x.pdf\">\n"
            "<NoteInfo Type=\"1\" Name=\"First\" Create=\"a\" Path=\"p\" Access=\"0\" PageOption=\"0\"/>\n"
            "<NoteInfo Type=\"1\" Name=\"Second\" Create=\"a\" Path=\"q\" Access=\"0\" PageOption=\"1\"/>\n"
            "<Other Type=\"1\" Create=\"b\"/>\n</NoteList>\n";
        const QString a = NoteFile("a", 800, 600,
            Group("EM", 0, Em(1, 99, "-1") + Em(2, 5, "-1"))
            + Group("ED", 0,
                    Ed(1, "SX=\"0\" SY=\"0\" EX=\"0\" EY=\"0\"", "OX=\"0\" OY=\"0\" OW=\"9\" OH=\"9\"",
                       "PC=\"#000000\" PW=\"1\" OA=\"0\"")
                    + Ed(2, "SX=\"12.5\" SY=\"7\" EX=\"3\" EY=\"4\"", "OX=\"1\" OY=\"2\" OW=\"2\" OH=\"2\"",
                         "PC=\"nocolour\" PW=\"1\" OA=\"0\""))
            + Group("FP", 0,
                    "<FP EI=\"1\" MP=\"-1\" MA=\"1\" PS=\"0.5\" SX=\"1.5\" SY=\"2\"/>\n"
                    "<FP EI=\"1\" MP=\"-1\" MA=\"7\" PS=\"0.5\" SX=\"3\" SY=\"3\"/>\n"
                    "<FP EI=\"1\" MP=\"-1\" MA=\"3\" PS=\"0.5\" SX=\"4\" SY=\"4\"/>\n"));
        QTest::newRow("parse rules") << Fixture{{"Notes.xml", notes}, {"a.xml", a}, {"b.xml", NoteFile("b", 1, 1, QString())}}
                                     << QString(R"xml(<?xml version="1.0" encoding="UTF-8"?>
<Event NoteCount="1" Width="800" Height="600">
    <TO_0 Index="0">
        <TO PI="0" MP="1" EI="1" KD="1" BX="1.5" BY="2" BW="3" BH="0" NX="0" NY="0" NW="9" NH="9" AG="0" PC="#000000" PW="1" TP="255" NI="0"/>
        <TO PI="0" MP="1" EI="1" KD="4" BX="4" BY="4" BW="0" BH="0" NX="0" NY="0" NW="9" NH="9" AG="0" PC="#000000" PW="0" TP="255" NI="0"/>
        <TO PI="0" MP="1" EI="2" KD="5" BX="0" BY="7" BW="3" BH="4" NX="1" NY="2" NW="2" NH="2" AG="0" PC="#000000" PW="1" TP="255" NI="0"/>
    </TO_0>
</Event>
)xml") << QString();
    }

    QTest::newRow("notes without objects")
        << Fixture{{"Notes.xml", NoteList({"a", "b"})}, {"a.xml", NoteFile("a", 800, 600, QString())},
                   {"b.xml", NoteFile("b", 640, 480, QString())}}
        << QString(R"xml(<?xml version="1.0" encoding="UTF-8"?>
<Event NoteCount="2" Width="640" Height="480"/>
)xml") << QString();
    QTest::newRow("no note list") << Fixture{{"other.txt", "x"}} << QString(R"xml(<?xml version="1.0" encoding="UTF-8"?>
<Event NoteCount="0" Width="0" Height="0"/>
)xml")
                                  << QStringLiteral("warning: no note list");
}

void RegrouperTest::rebuildsTheEventFile()
{
    QFETCH(Fixture, fixture);
    QFETCH(QString, expected);
    QFETCH(QString, warning);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const auto& file : fixture) {
        QFile out(dir.filePath(file.first));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file.second.toUtf8());
    }
    QString errors;
    QTextStream err(&errors);
    QCOMPARE(RunRegrouper(dir.path(), err), 0);
    err.flush();
    const QByteArray written = ReadAll(dir.filePath("New_Event.xml"));
    QCOMPARE(written, expected.toUtf8());
    if (warning.isEmpty())
        QCOMPARE(errors, QString());
    else
        QVERIFY2(errors.contains(warning), qPrintable(errors));
}

void RegrouperTest::missingFolderWritesNothing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("gone"));
    QString errors;
    QTextStream err(&errors);
    QVERIFY(RunRegrouper(missing, err) != 0);
    err.flush();
    QCOMPARE(errors.count(QLatin1Char('\n')), 1);
    QVERIFY2(errors.contains(missing) && errors.contains(QStringLiteral("does not exist")), qPrintable(errors));
    QVERIFY(!QFileInfo::exists(missing));
    QVERIFY(!QFileInfo::exists(missing + QStringLiteral("/New_Event.xml")));
}

void RegrouperTest::unwritableEventFileFails()
{
    // A folder where the file should be cannot be replaced: the run fails
    // rather than pretend it wrote the file.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile notes(dir.filePath(QStringLiteral("Notes.xml")));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write(NoteList({"a"}).toUtf8());
    notes.close();
    QFile note(dir.filePath(QStringLiteral("a.xml")));
    QVERIFY(note.open(QIODevice::WriteOnly));
    note.write(NoteFile("a", 800, 600, QString()).toUtf8());
    note.close();
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("New_Event.xml")));

    QString errors;
    QTextStream err(&errors);
    QVERIFY(RunRegrouper(dir.path(), err) != 0);
    err.flush();
    QCOMPARE(errors.count(QLatin1Char('\n')), 1);
    QVERIFY2(errors.contains(QStringLiteral("cannot write")) && errors.contains(QStringLiteral("New_Event.xml")),
             qPrintable(errors));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("New_Event.xml"))).isDir());
}

void RegrouperTest::defaultFolderIsTheSampleUnderTemp()
{
    ScopedFolderRoot root;
    QVERIFY(root.isValid());
    QCOMPARE(DefaultContentsFolder(), root.path() + QStringLiteral("/Temp/Orbel5//20181227_153335"));
}

namespace {

// Lines of one note that each stand where all the others stand and are each
// erased later: every erase re-emits all that still stand.
QString EraseHeavyNote(int count)
{
    QString masters;
    QString details;
    QString erases;
    for (int i = 1; i <= count; ++i) {
        masters += Em(i, 5, QString::number(i));
        details += Ed(i, "SX=\"0\" SY=\"0\" EX=\"100\" EY=\"100\"", "OX=\"0\" OY=\"0\" OW=\"100\" OH=\"100\"",
                      "PC=\"#000000\" PW=\"1\" OA=\"0\"", "BD=\"1\" MD=\"0\" TP=\"255\"");
        erases += QStringLiteral("<EP EI=\"%1\" MP=\"%2\" EK=\"0\" BX=\"0\" BY=\"0\" BW=\"100\" BH=\"100\" AG=\"0\" "
                                 "GI=\"0\" GT=\"0\"/>\n").arg(i).arg(1000 + i);
    }
    return NoteFile("a", 800, 600, Group("EM", 0, masters) + Group("ED", 0, details) + Group("EP", 0, erases));
}

QString OneLineNote(const QString& index, const QString& kind, const QString& mp)
{
    return NoteFile("a", 800, 600,
                    QStringLiteral("<EM_0 Type=\"EM\" Index=\"%1\">\n").arg(index)
                        + QStringLiteral("<EM KD=\"%1\" MP=\"%2\" SD=\"0\" EI=\"1\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n")
                              .arg(kind, mp)
                        + QStringLiteral("</EM_0>\n")
                        + QStringLiteral("<ED_0 Type=\"ED\" Index=\"%1\">\n").arg(index)
                        + Ed(1, "SX=\"1\" SY=\"2\" EX=\"3\" EY=\"4\"", "OX=\"1\" OY=\"2\" OW=\"2\" OH=\"2\"",
                             "PC=\"#0000ff\" PW=\"2\" OA=\"0\"")
                        + QStringLiteral("</ED_0>\n"));
}

// Every file below `root` with its bytes, links as their targets.
QMap<QString, QByteArray> Contents(const QString& root)
{
    QMap<QString, QByteArray> result;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        result.insert(path, info.isSymLink() ? "link:" + info.symLinkTarget().toUtf8() : ReadAll(path));
    }
    return result;
}

}  // namespace

void RegrouperTest::hostilePackages_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");   // a text stderr must hold
    QTest::addColumn<QString>("absent");    // a text the written file must not hold
    QTest::newRow("output link") << "output link" << 2 << "New_Event.xml\" is a link" << QString();
    QTest::newRow("dangling output link") << "dangling output link" << 2 << "New_Event.xml\" is a link" << QString();
    QTest::newRow("note file linked outside") << "note link" << 0 << "link leading outside the folder" << "TO_";
    QTest::newRow("note list linked outside") << "notes link" << 0 << "link leading outside the folder" << "TO_";
    QTest::newRow("note file is a FIFO") << "fifo" << 0 << "is not a regular file" << "TO_";
    QTest::newRow("index beyond int") << "huge index" << 0 << "slot index 99999999999 is outside" << "TO_";
    QTest::newRow("zoom time beyond int") << "huge mp" << 0 << QString() << "TO_";
    QTest::newRow("erase-heavy past the limit") << "erase heavy" << 2 << "would be larger than 100000 bytes"
                                                << QString();
}

// Packages come from elsewhere (unpacked with their links): nothing in them
// may make Regrouper write outside the folder, block, or fill the disk.
void RegrouperTest::hostilePackages()
{
    QFETCH(QString, kind);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(QString, absent);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString folder = root.filePath(QStringLiteral("package"));
    const QString outside = root.filePath(QStringLiteral("outside"));
    QVERIFY(QDir().mkpath(folder) && QDir().mkpath(outside));
    const auto write = [](const QString& path, const QString& text) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0;
    };
    QVERIFY(write(outside + QStringLiteral("/target.xml"), QStringLiteral("precious")));
    QVERIFY(write(outside + QStringLiteral("/a.xml"), OneLineNote("0", "5", "-1")));
    QVERIFY(write(outside + QStringLiteral("/Notes.xml"), NoteList({"a"})));
    QVERIFY(write(folder + QStringLiteral("/Notes.xml"), NoteList({"a"})));
    QVERIFY(write(folder + QStringLiteral("/New_Event.xml"), QStringLiteral("old file")));
    const QString note = folder + QStringLiteral("/a.xml");
    const QString output = folder + QStringLiteral("/New_Event.xml");
    qint64 limit = kDefaultMaxOutputBytes;

    if (kind == QLatin1String("output link") || kind == QLatin1String("dangling output link")) {
        QVERIFY(write(note, OneLineNote("0", "5", "-1")));
        QFile::remove(output);
        QVERIFY(QFile::link(outside + (kind == QLatin1String("output link") ? "/target.xml" : "/new.xml"), output));
    } else if (kind == QLatin1String("note link")) {
        QVERIFY(QFile::link(outside + QStringLiteral("/a.xml"), note));
    } else if (kind == QLatin1String("notes link")) {
        QFile::remove(folder + QStringLiteral("/Notes.xml"));
        QVERIFY(QFile::link(outside + QStringLiteral("/Notes.xml"), folder + QStringLiteral("/Notes.xml")));
        QVERIFY(write(note, OneLineNote("0", "5", "-1")));
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(note).constData(), 0600), 0);
    } else if (kind == QLatin1String("huge index")) {
        QVERIFY(write(note, OneLineNote("99999999999", "5", "-1")));
    } else if (kind == QLatin1String("huge mp")) {
        QVERIFY(write(note, OneLineNote("0", "30", "1e300")));
    } else if (kind == QLatin1String("erase heavy")) {
        QVERIFY(write(note, EraseHeavyNote(60)));
        limit = 100000;
    }
    const QMap<QString, QByteArray> outsideBefore = Contents(outside);

    QString errors;
    QTextStream err(&errors);
    QCOMPARE(RunRegrouper(folder, err, limit), exitCode);
    err.flush();
    if (!message.isEmpty())
        QVERIFY2(errors.contains(message), qPrintable(errors));
    QCOMPARE(Contents(outside), outsideBefore);
    const QFileInfo written(output);
    if (exitCode != 0) {
        // Nothing written: the old file, or the link, stays as it was.
        QVERIFY(written.isSymLink() || ReadAll(output) == "old file");
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System).filter("New_Event").size(), 1);
    } else {
        QVERIFY(written.isFile() && !written.isSymLink());
        QVERIFY2(!ReadAll(output).contains(absent.toUtf8()), ReadAll(output).constData());
    }
}

void RegrouperTest::commandLineOptions()
{
    RegrouperOptions options;
    QString error;
    QVERIFY(ParseRegrouperArguments({"Regrouper", "--max-output-bytes", "5000", "/p"}, &options, &error));
    QCOMPARE(options.folder, QStringLiteral("/p"));
    QCOMPARE(options.maxOutputBytes, qint64(5000));
    QVERIFY(ParseRegrouperArguments({"Regrouper", "/p", "--max-output-bytes=7"}, &options, &error));
    QCOMPARE(options.maxOutputBytes, qint64(7));
    QVERIFY(ParseRegrouperArguments({"Regrouper", "/p"}, &options, &error));
    QCOMPARE(options.maxOutputBytes, kDefaultMaxOutputBytes);
    for (const QStringList& bad : {QStringList{"Regrouper", "--max-output-bytes"},
                                   QStringList{"Regrouper", "--max-output-bytes", "-1", "/p"},
                                   QStringList{"Regrouper", "--max-output-bytes=lots", "/p"},
                                   QStringList{"Regrouper", "--frobnicate", "/p"},
                                   QStringList{"Regrouper", "/p", "/q"}}) {
        QVERIFY2(!ParseRegrouperArguments(bad, &options, &error), qPrintable(bad.join(' ')));
        QVERIFY(!error.isEmpty());
    }
    QVERIFY(RegrouperUsage().contains(QStringLiteral("--max-output-bytes")));
}

QTEST_GUILESS_MAIN(RegrouperTest)
#include "regrouper_test.moc"
