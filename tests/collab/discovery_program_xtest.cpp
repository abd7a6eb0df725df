// Screen: 1920x1080x24
// Two real whiteboards, each on an X server of its own, inside the test's
// own network namespace: a host shows its address band, a participant finds
// it with Find Server, picks it with a double-click and joins; plain sockets
// watch the query and ask the host themselves.
#include "app/ui/dialog.h"
#include "collab/coll_messages.h"
#include "collab/ui/collconnectdlg.h"
#include "tests/support/collab_session.h"
#include "tests/support/net_namespace.h"
#include "tests/support/xdotool.h"
#include "ui_dialog.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QUdpSocket>
#include <QtTest>

namespace {

const QString kAddress = QString::fromLatin1(kNamespaceAddress);
const QString kHostId = QStringLiteral("[Server]_192.0.2.1");
const QString kScreen = QStringLiteral("1920x1080x24");
constexpr auto kShared = QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint;

QString N(int v) { return QString::number(v); }

QString NextDatagram(QUdpSocket& socket, int timeoutMs)
{
    if (!QTest::qWaitFor([&socket]() { return socket.hasPendingDatagrams(); }, timeoutMs))
        return QString();
    QByteArray datagram(int(socket.pendingDatagramSize()), Qt::Uninitialized);
    socket.readDatagram(datagram.data(), datagram.size());
    return QString::fromUtf8(datagram);
}

// Where and how large xwininfo says a window is.
QRect XwininfoGeometry(const QString& display, const QString& windowId)
{
    QProcess xwininfo;
    xwininfo.start("xwininfo", {"-display", display, "-id", windowId});
    if (!xwininfo.waitForFinished(5000))
        return QRect();
    const QString text = QString::fromUtf8(xwininfo.readAllStandardOutput());
    auto value = [&text](const char* key) {
        const QRegularExpressionMatch m = QRegularExpression(QString("%1:\\s*(-?\\d+)").arg(key)).match(text);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    return QRect(value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"), value("Height"));
}

// Pixels darker than the dialog's face inside r.
int DarkPixels(const QImage& screen, const QRect& r)
{
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            dark += qGray(screen.pixel(x, y)) < 80 ? 1 : 0;
    return dark;
}

}  // namespace

class DiscoveryProgramXTest : public CollabProgramTest
{
    Q_OBJECT

    // The connect dialog's widgets inside it once Find Server has widened
    // it, and its server list.
    QMap<QString, QPoint> m_inside;
    QRect m_serverList;

private slots:
    void initTestCase()
    {
        DRAVIK_SKIP_WHERE_SESSIONS_CANNOT_RUN({QStringLiteral("xwininfo")});
        QVERIFY(MeasurePlaces([this](Dialog& layout) {
            // The address button shows on a host's toolbar.
            layout.m_collUserLevel = 3;
            layout.m_ownId = layout.m_toolRightHolder = kHostId;
            layout.SetToolbarByRole(3, true);
            if (!layout.ui->btn_show_IP->isVisibleTo(&layout))
                return false;
            m_at.insert("ip", layout.ui->btn_show_IP->geometry().center() + QPoint(layout.m_canvasLeft, 0));
            CollConnectDlg* dialog = layout.m_collConnectDlg;
            for (QWidget* w : std::initializer_list<QWidget*>{dialog->lineEdit_PASS, dialog->Btn_connect})
                m_inside.insert(w->objectName(), w->mapTo(dialog, w->rect().center()));
            m_serverList = dialog->listWidget_serverList->geometry();
            return true;
        }));
    }

    void findJoinAndShowAddress()
    {
        SessionBoard hostBoard, joinBoard;
        auto& [hostDisplay, hostRoot, host] = hostBoard;
        auto& [joinDisplay, joinRoot, participant] = joinBoard;
        QVERIFY(hostBoard.Start(kScreen));
        QVERIFY(Host(hostBoard));

        // The host's address band: across the middle of its 1920 x 1080
        // window, closed by its own button.
        Click(hostDisplay, m_at["ip"]);
        const QStringList bands = WaitForXWindows("^Dialog$", 10000, host.pid());
        QCOMPARE(bands.size(), 1);
        QCOMPARE(XwininfoGeometry(hostDisplay.name, bands.first()), QRect(0, 270, 1920, 540));
        Click(hostDisplay, QPoint(480 + 960 / 2, 270 + 415 + 112 / 2));
        QTRY_VERIFY_WITH_TIMEOUT(FindXWindows("^Dialog$", host.pid()).isEmpty(), 5000);

        // The participant searches; a socket of the test sees its query.
        QUdpSocket observer;
        QVERIFY(observer.bind(QHostAddress::AnyIPv4, coll::kDiscoveryPort, kShared));
        QVERIFY(joinBoard.Start(kScreen));
        QVERIFY(OpenConnectDialog(joinDisplay, participant));
        Click(joinDisplay, m_at["BtnRdo_client"]);
        Click(joinDisplay, m_at["Btn_findserver"]);
        QCOMPARE(NextDatagram(observer, 5000), "CL/" + kAddress);

        // The widened dialog lists the host once.
        const QPoint widened(1920 / 2 - 324, 1080 / 2 - 96);
        const QRect list = m_serverList.translated(widened);
        QImage screen;
        QTRY_VERIFY2_WITH_TIMEOUT((screen = Screen(joinDisplay),
                                   !screen.isNull() && DarkPixels(screen, QRect(list.left() + 4, list.top() + 2, 200, 18)) > 20),
                                  "the host's entry in the widened dialog's server list", 10000);
        QCOMPARE(DarkPixels(screen, QRect(list.left() + 4, list.top() + 26, 200, 40)), 0);

        // A double-click on it fills the address; Connect joins the host.
        Use(joinDisplay);
        Xdotool({"mousemove", N(list.left() + 60), N(list.top() + 11), "click", "--repeat", "2", "--delay", "80", "1"});
        Type(joinDisplay, widened + m_inside["lineEdit_PASS"], "pw");
        Click(joinDisplay, widened + m_inside["Btn_connect"]);
        QVERIFY(participant.waitForLine("exe OptConnect : IP=192.0.2.1, ID=User, Pass=pw, Level=1", 10000) >= 0);
        QVERIFY(participant.waitForLine("exe : users : " + kHostId + ",[User]_192.0.2.1", 10000) >= 0);

        // A query of the test's own, naming the address its socket listens
        // on, gets the host's answer there.
        QUdpSocket answers, query;
        QVERIFY(answers.bind(QHostAddress(kAddress), coll::kDiscoveryPort, kShared));
        QVERIFY(query.bind(QHostAddress(kAddress), 0));
        query.writeDatagram(QByteArray("CL/") + kAddress.toUtf8(), QHostAddress::Broadcast, coll::kDiscoveryPort);
        QCOMPARE(NextDatagram(answers, 5000), "SV/" + kHostId);

        participant.kill();
        host.kill();
    }
};

DRAVIK_NETNS_TEST_MAIN(DiscoveryProgramXTest, QApplication)
#include "discovery_program_xtest.moc"
