// A real whiteboard hosts a session on an X server of its own, inside the
// test's own network namespace; plain sockets join it as newcomers and look
// at the board it pushes to them and at its live strokes.
#include "app/ui/dialog.h"
#include "collab/coll_frame.h"
#include "collab/coll_messages.h"
#include "collab/ui/collconnectdlg.h"
#include "tests/support/net_namespace.h"
#include "tests/support/own_display.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"
#include "ui_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

#include <memory>

namespace {

const QString kAddress = QString::fromLatin1(kNamespaceAddress);

QString N(int v) { return QString::number(v); }

class TestPeer
{
public:
    bool Join(const QString& newId, const QString& password)
    {
        id = newId;
        socket.connectToHost(kAddress, coll::kSessionPort);
        if (!socket.waitForConnected(5000))
            return false;
        socket.write(BuildCollFrame("Connected_OK", coll::HandshakeData(id, password, 1), coll::kBlockEnd));
        return true;
    }
    QList<CollFrame> Frames()
    {
        buffer.Append(socket.readAll());
        CollFrame frame;
        while (buffer.Next(&frame) > 0)
            frames << frame;
        return frames;
    }
    // The keywords of the frames addressed to this newcomer alone.
    QStringList Addressed()
    {
        QStringList keywords;
        for (const CollFrame& f : Frames()) {
            const coll::Fields fields(f.data);
            if (fields.text(0) == "1" && fields.text(1) == id)
                keywords << QString::fromUtf8(f.keyword);
        }
        return keywords;
    }
    QStringList Data(const QByteArray& keyword)
    {
        QStringList list;
        for (const CollFrame& f : Frames()) {
            if (f.keyword == keyword)
                list << QString::fromUtf8(f.data);
        }
        return list;
    }
    QString id;
    QTcpSocket socket;
    CollFrameBuffer buffer;
    QList<CollFrame> frames;
};

// What the push of a board with `objects` strokes looks like to a newcomer.
QStringList Push(int objects)
{
    QStringList push = {"RESOLUTION_SET", "DATA_CLEAR"};
    for (int i = 0; i < objects; ++i)
        push << "EMDATA_SET";
    for (int i = 0; i < objects; ++i)
        push << "EDDATA_SET";
    return push;
}

}  // namespace

class BoardPushProgramXTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    QPoint m_connectButton;
    QMap<QString, QPoint> m_at;

private slots:
    void initTestCase()
    {
        if (!InOwnNetworkNamespace())
            QSKIP("no network namespace can be made here; the session runs only inside one");
        if (QStandardPaths::findExecutable("Xvfb").isEmpty())
            QSKIP("no Xvfb");
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        ScopedLibraryFolder libraries(BuiltProgramFolder());
        Dialog layout;
        layout.InitDialog(false);
        QVERIFY(layout.m_collConnectDlg);
        m_connectButton = layout.ui->btn_show_collconnectDlg->geometry().center() + QPoint(layout.m_canvasLeft, 0);
        CollConnectDlg* dialog = layout.m_collConnectDlg;
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        for (QWidget* w : std::initializer_list<QWidget*>{dialog->BtnRdo_server, dialog->lineEdit_PASS,
                                                         dialog->Btn_connect})
            m_at.insert(w->objectName(), w->mapTo(dialog, w->rect().center()) + dialog->geometry().topLeft());
        dialog->hide();
    }

    void newcomersGetTheBoard()
    {
        OwnDisplay display;
        QVERIFY(display.Start());
        QTemporaryDir root;
        RunningProgram host;
        QProcessEnvironment environment;
        environment.insert("LC_ALL", "C.UTF-8");
        environment.insert("DRAVIK_NO_MODAL", "1");
        environment.insert("DRAVIK_ROOT", root.path());
        environment.insert("TMPDIR", root.path());
        environment.insert("DISPLAY", display.name);
        environment.insert("DRAVIK_LIBRARY_DIR", BuiltProgramFolder());
        Use(display);
        QVERIFY(StartWhiteboard(host, {}, environment));
        QVERIFY(host.waitForLine("exe : Success load Konnexa.dll", 5000) >= 0);
        Click(display, m_connectButton);
        QVERIFY(!WaitForXWindows("^Server / Client$", 10000, host.pid()).isEmpty());
        Click(display, m_at["BtnRdo_server"]);
        Type(display, m_at["lineEdit_PASS"], "pw");
        Click(display, m_at["Btn_connect"]);
        QVERIFY(host.waitForLine("exe : ----Start Server----", 10000) >= 0);

        // One stroke on the board, then a newcomer: page, board, tools, redraw.
        Xdotool({"mousemove", "500", "400", "mousedown", "1", "mousemove", "600", "430", "mousemove", "700", "450",
                 "mouseup", "1"});
        QTest::qWait(500);
        TestPeer first;
        QVERIFY(first.Join("[First]_192.0.2.51", "pw"));
        QTRY_VERIFY_WITH_TIMEOUT(first.Addressed().contains("REDRAW_SET"), 10000);
        QStringList got = first.Addressed();
        const int points = got.removeAll("FPDATA_SET");
        QVERIFY(points > 0);
        QCOMPARE(got, QStringList({"RESOLUTION_SET", "NOTEBTN_SET", "NOTEDATA_SET", "NOTEIDX_SET"}) + Push(1)
                          + QStringList({"DATAINFO_SET", "REDRAW_SET"}));
        QVERIFY(first.Data("IMGPATH_SET").isEmpty());
        // The bars are hidden at 100 %: no scroll messages.
        QVERIFY(first.Data("HEIGHTSCROLLBAR_SET").isEmpty());

        // A newcomer while the mouse is down: the page at once, the board
        // after the release, with the new stroke in it.
        first.frames.clear();
        Xdotool({"mousemove", "500", "600", "mousedown", "1", "mousemove", "560", "620"});
        TestPeer second;
        QVERIFY(second.Join("[Second]_192.0.2.52", "pw"));
        QTRY_VERIFY_WITH_TIMEOUT(second.Addressed().contains("NOTEIDX_SET"), 10000);
        QTest::qWait(1000);
        QVERIFY(!second.Addressed().contains("DATA_CLEAR"));
        Xdotool({"mousemove", "640", "650", "mouseup", "1"});
        QTRY_VERIFY_WITH_TIMEOUT(second.Addressed().contains("REDRAW_SET"), 10000);
        got = second.Addressed();
        got.removeAll("FPDATA_SET");
        QCOMPARE(got, QStringList({"RESOLUTION_SET", "NOTEBTN_SET", "NOTEDATA_SET", "NOTEIDX_SET"}) + Push(2)
                          + QStringList({"DATAINFO_SET", "REDRAW_SET"}));

        // The drag reached the first peer live: press, moves, release, all
        // in the mouse's one slot.
        QTRY_VERIFY_WITH_TIMEOUT(!first.Data("REALTIME_EVENT").isEmpty(), 5000);
        QStringList phases;
        const QString slot = coll::Fields(first.Data("REALTIME_EVENT").first()).text(1);
        for (const QString& data : first.Data("REALTIME_EVENT")) {
            const coll::Fields fields(data);
            QCOMPARE(fields.text(1), slot);
            phases << fields.text(2);
        }
        QCOMPARE(phases.first(), QStringLiteral("1"));
        QCOMPARE(phases.last(), QStringLiteral("3"));
        QVERIFY(phases.contains("2"));
        const int x = coll::Fields(first.Data("REALTIME_EVENT").first()).toInt(3);
        QVERIFY2(x > 400 && x <= 500, qPrintable(N(x)));
        QCOMPARE(CloseWhiteboard(host), 0);
    }
};

DRAVIK_NETNS_TEST_MAIN(BoardPushProgramXTest, QApplication)
#include "board_push_program_xtest.moc"
