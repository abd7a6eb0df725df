// A collaboration session's life on the main window: hosting, joining, the
// handshake, connection errors, leaving, and the board back to stand-alone.
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"
#include "app/ui/message_box.h"
#include "app/utilities.h"
#include "collab/coll_messages.h"
#include "collab/ui/collconnectdlg.h"
#include "collab/ui/colluserlistdlg.h"
#include "ui_dialog.h"

#include <QDateTime>
#include <QDebug>
#include <QMovie>
#include <QScopedValueRollback>
#include <QTcpSocket>
#include <QUdpSocket>

void Dialog::OptStartServer(QString ip, QString id, QString password)
{
    qDebug().noquote() << QStringLiteral("exe OptStartServer: IP=%1, ID=%2, Pass=%3").arg(ip, id, password);
    if (!m_collLibraryLoaded) {
        qDebug().noquote() << "exe : error load Konnexa.dll";
        return;
    }
    if (m_session.serverRunning) {
        qDebug().noquote() << "exe : The server is already running.";
        return;
    }
    if (!m_konnexa.server_start(coll::kSessionPort)) {
        ui::CriticalBox(this, QString(), QStringLiteral("Could not listen on Port"));
        qDebug().noquote() << "exe : ----Not Start Server----";
        if (m_collConnectDlg)
            m_collConnectDlg->SetIdleState(true);
        return;
    }
    qDebug().noquote() << "exe : ----Start Server----";
    m_session.hostId = coll::ParticipantId(id, ip);
    m_toolRightHolder = m_session.hostId;
    if (m_collUserListDlg) {
        m_collUserListDlg->m_ownId = m_session.hostId;
        m_collUserListDlg->m_toolId = m_session.hostId;
    }
    m_session.serverRunning = true;

    ClickZoomBtn(QStringLiteral("ekZoomFix1"), false);
    OptConnect(ip, id, password, 3);

    // A socket bound to one unicast address never sees a broadcast here, so
    // the listener takes every IPv4 address, shared with other listeners.
    delete m_discoverySocket;
    m_discoverySocket = new QUdpSocket(this);
    m_discoverySocket->bind(QHostAddress::AnyIPv4, coll::kDiscoveryPort,
                            QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint);
    connect(m_discoverySocket, &QUdpSocket::readyRead, this, &Dialog::Coll_Broadcast_Receive);
}

// Nothing of the session changes before the "already connected" test: a
// second request during a session must not wipe the board or the level.
void Dialog::OptConnect(QString ip, QString id, QString password, int level)
{
    qDebug().noquote() << QStringLiteral("exe OptConnect : IP=%1, ID=%2, Pass=%3, Level=%4")
                              .arg(ip, id, password)
                              .arg(level);
    if (m_collConnected) {
        qDebug().noquote() << "exe : Already connected to server";
        return;
    }
    if (!m_collLibraryLoaded) {
        qDebug().noquote() << "exe : error load Konnexa.dll";
        return;
    }
    // A viewer's board is replaced by the host's. The own lesson is offered
    // for saving first; Cancel leaves everything as it was. The board is
    // emptied only once the connection is made (onConnected): a connection
    // that fails leaves the lesson where it was.
    if (level == 1 && !OfferToSaveBeforeReset()) {
        if (m_collConnectDlg)
            m_collConnectDlg->SetIdleState(true);
        return;
    }
    m_collBoardTaken = false;
    m_collUserLevel = level;
    for (QWidget* instrument : std::initializer_list<QWidget*>{m_ruler, m_protractor, m_compass}) {
        if (instrument)
            instrument->hide();
    }

    m_konnexa.soc_new();
    QTcpSocket* socket = m_konnexa.soc_();
    if (!socket) {
        qDebug().noquote() << "exe : no collaboration socket";
        m_collUserLevel = 0;
        if (m_collConnectDlg)
            m_collConnectDlg->SetIdleState(true);
        return;
    }

    // A participant without a usable address keeps the one of the last session.
    const QString address = LocalIpv4Address().value(0);
    if (!address.isEmpty()) {
        m_ownId = coll::ParticipantId(id, address);
        m_session.ownAddress = address;
    }
    m_session.typedId = id;
    if (level == 3) {
        m_session.ownAddress = ip;
        m_ownId = coll::ParticipantId(id, ip);
    }
    AddLogWindowLine(m_ownId);

    m_session.handshakeId = m_ownId;
    m_session.handshakePassword = password;
    m_session.handshakeLevel = QStringLiteral("%1").arg(level);

    Coll_AttachSocket();
    connect(socket, &QTcpSocket::connected, this, &Dialog::onConnected, Qt::UniqueConnection);
    // Connected before the connect starts: an error reported at once still
    // finds its handler and a session marked as requested.
    connect(socket, &QAbstractSocket::errorOccurred, this, &Dialog::onConnect_error, Qt::UniqueConnection);
    m_collConnected = true;
    m_konnexa.soc_connectToHost(ip, coll::kSessionPort);
    qDebug().noquote() << "connect_Server : " << m_collConnected;
    if (!m_collConnected)
        return;  // the error path has already put everything back

    SetToolbarByRole(m_collUserLevel, true);
    if (m_collConnectDlg)
        m_collConnectDlg->hide();
}

void Dialog::onConnected()
{
    if (!m_collLibraryLoaded)
        return;
    m_collBoardTaken = true;
    if (m_collUserLevel == 1)
        ResetBoard(true);
    Coll_SendFrame("Connected_OK", coll::HandshakeData(m_session.handshakeId, m_session.handshakePassword,
                                                       m_session.handshakeLevel.toInt()));
    // The host's full board ends the animation.
    if (m_collUserLevel != 3)
        ShowLoading();
}

void Dialog::onConnect_error(QAbstractSocket::SocketError error)
{
    if (error == QAbstractSocket::SocketTimeoutError) {
        ++m_session.timeoutCount;
        qDebug().noquote() << "SocketTimeoutError count : " << m_session.timeoutCount;
        return;
    }
    const QTcpSocket* socket = m_collLibraryLoaded ? m_konnexa.soc_() : nullptr;
    const QString reason = socket ? socket->errorString() : QString();
    qDebug().noquote() << QStringLiteral("Error ") + reason + QStringLiteral(" at ")
                              + QDateTime::currentDateTime().toString(QStringLiteral("hh:mm:ss dd.MM.yyyy"));
    Coll_ConnectionLost(int(error));
}

// A close by the peer that came without an error, and our own abort of a
// stream we stopped trusting, end the session as an error does. Queued, so
// it never runs inside the reader or inside the call that closed the socket;
// a report from a socket that is no longer the session's ends nothing.
void Dialog::onDisconnected()
{
    const QObject* socket = sender();
    if (!socket || !m_collLibraryLoaded || socket != m_konnexa.soc_())
        return;
    qDebug().noquote() << "exe : session connection closed";
    Coll_ConnectionLost(int(QAbstractSocket::RemoteHostClosedError));
}

// The one way a session whose connection went away ends: every path above
// comes here, and only the first one finds the session still connected.
void Dialog::Coll_ConnectionLost(int error)
{
    const QString message = m_collLostMessage.isEmpty() ? QStringLiteral("cannot connect server.") : m_collLostMessage;
    m_collLostMessage.clear();
    // A late report from a session already left ends nothing more.
    if (!m_collConnected)
        return;
    m_collConnected = false;
    if (m_collConnectDlg)
        m_collConnectDlg->SetInputsEnabled();
    const int failedLevel = m_collUserLevel;
    m_collUserLevel = 0;
    SetToolbarByRole(0, true);
    // A host whose own connection failed hosts nobody: the port and the
    // discovery listener are given back, so a new session can start.
    StopServer();
    EndSessionLeftovers();
    OptDisconnectInit(-1);
    // Only a participant's board that the session has taken over is reset;
    // a connection that never came up, and the host's own lesson, stay.
    if (m_collBoardTaken && failedLevel != 3)
        ResetBoard(true);
    m_collBoardTaken = false;
    if (m_collConnectDlg)
        m_collConnectDlg->SetIdleState(true);
    ui::CriticalBox(this, QString(), message);
    qDebug().noquote() << "connect_Server error : " << m_collConnected;
    qDebug().noquote() << "socketError : " << error;
}

void Dialog::OptDisconnect()
{
    if (!m_collConnected)
        return;
    // The host's board is the lesson it taught: it may be saved before the
    // reset, and Cancel keeps the session.
    if (m_collUserLevel == 3 && !m_hostResetAgreed && !OfferToSaveBeforeReset())
        return;
    m_collBoardTaken = false;
    m_konnexa.soc_close();
    m_collUserLevel = 0;
    m_collConnected = false;
    SetToolbarByRole(0, true);
    EndSessionLeftovers();
    OptDisconnectInit(-1);
    ResetBoard(true);
    if (m_collConnectDlg)
        m_collConnectDlg->hide();
}

// The server stops whenever it runs, even when the own connection has gone:
// otherwise the port stays taken until the program ends.
void Dialog::OptServerClose()
{
    if (m_collConnected && m_collUserLevel == 3 && !OfferToSaveBeforeReset())
        return;
    const QScopedValueRollback<bool> agreed(m_hostResetAgreed, true);
    StopServer();
    OptDisconnect();
}

void Dialog::StopServer()
{
    if (m_session.serverRunning) {
        m_konnexa.server_close();
        m_konnexa.server_delete();
        m_session.serverRunning = false;
    }
    delete m_discoverySocket;
    m_discoverySocket = nullptr;
}

void Dialog::EndSessionLeftovers()
{
    m_session.Leave();
    m_pendingNewcomers.clear();
    Coll_ResetReceiver();
    if (ui->label_gif->isVisible()) {
        ui->label_gif->hide();
        if (m_loadingMovie)
            m_loadingMovie->stop();
    }
    if (m_collUserListDlg) {
        m_collUserListDlg->ClearRows();
        m_collUserListDlg->m_markedId.clear();
        m_collUserListDlg->m_ownId.clear();
        m_collUserListDlg->m_toolId.clear();
        if (m_userListOpen)
            OptUserListDlgBtn();
    }
}

void Dialog::OptDisconnectInit(int slot)
{
    SetDisplayData(slot);
    if (slot == -1) {
        for (PointerSlotState& s : m_board.slot) {
            s.highlight = false;
            s.pressed = false;
            s.event_kind = ekFree;
            s.m_curr_drawbtn = QStringLiteral("ekFree");
        }
    } else if (slot >= 0 && slot < kPointerSlotCount) {
        m_board.slot[slot].highlight = false;
        m_board.slot[slot].pressed = false;
    }
    for (QWidget* panel : FloatingSubPanels())
        panel->hide();
    ResetToolbarForNewBoard();
    SetFreePenMode(false);
    SetNoteNaviEnable();
}
