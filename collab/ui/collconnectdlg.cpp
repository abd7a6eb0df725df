#include "collab/ui/collconnectdlg.h"

#include "app/utilities.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpacerItem>

namespace {

template <typename T>
T* Named(QWidget* parent, const char* objectName)
{
    auto* w = new T(parent);
    w->setObjectName(QLatin1String(objectName));
    return w;
}

}  // namespace

CollConnectDlg::CollConnectDlg(QWidget* parent)
    : QDialog(parent)
    , m_addressSource(LocalIpv4Address)
{
    BuildForm();
    Btn_connect->setEnabled(true);
    Btn_disconnect->setEnabled(false);
    SetInputs(true);
    ApplyModeLayout();
    keybtn->setStyleSheet(QStringLiteral("QPushButton {border-image: url(:/Config/key);}"
                                         "QPushButton:pressed {border-image: url(:/Config/keypress);}"));
    connect(keybtn, &QPushButton::clicked, this, &CollConnectDlg::ShowVirtualKeyboard);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

void CollConnectDlg::BuildForm()
{
    setObjectName(QStringLiteral("CollConnectDlg"));
    setWindowTitle(QStringLiteral("Server / Client"));
    resize(604, 168);
    // Where the named face is missing the closest one stands in; the layouts
    // size every caption by the face actually used.
    QFont font(QStringLiteral("Tahoma"), 9);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);

    auto* radioRow = Named<QWidget>(this, "layoutWidget");
    radioRow->setGeometry(23, 22, 182, 22);
    auto* radioLayout = new QHBoxLayout(radioRow);
    radioLayout->setObjectName(QStringLiteral("horizontalLayout"));
    radioLayout->setContentsMargins(0, 0, 0, 0);
    BtnRdo_server = Named<QRadioButton>(radioRow, "BtnRdo_server");
    BtnRdo_server->setText(QStringLiteral("Server"));
    BtnRdo_server->setChecked(true);
    BtnRdo_client = Named<QRadioButton>(radioRow, "BtnRdo_client");
    BtnRdo_client->setText(QStringLiteral("Client"));
    radioLayout->addWidget(BtnRdo_server);
    radioLayout->addItem(new QSpacerItem(50, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    radioLayout->addWidget(BtnRdo_client);

    auto* gridHolder = Named<QWidget>(this, "layoutWidget1");
    gridHolder->setGeometry(22, 62, 281, 86);
    auto* grid = new QGridLayout(gridHolder);
    grid->setObjectName(QStringLiteral("gridLayout"));
    grid->setContentsMargins(0, 0, 0, 0);
    label_IP = Named<QLabel>(gridHolder, "label_IP");
    label_IP->setText(QStringLiteral("IP"));
    label_ID = Named<QLabel>(gridHolder, "label_ID");
    label_ID->setText(QStringLiteral("ID"));
    label_PASS = Named<QLabel>(gridHolder, "label_PASS");
    label_PASS->setText(QStringLiteral("PASS"));
    ComboBox_IP = Named<QComboBox>(gridHolder, "ComboBox_IP");
    lineEdit_ID = Named<QLineEdit>(gridHolder, "lineEdit_ID");
    lineEdit_PASS = Named<QLineEdit>(gridHolder, "lineEdit_PASS");
    Btn_connect = Named<QPushButton>(gridHolder, "Btn_connect");
    Btn_connect->setText(QStringLiteral("Create"));
    Btn_disconnect = Named<QPushButton>(gridHolder, "Btn_disconnect");
    Btn_disconnect->setText(QStringLiteral("Disconnect"));
    Btn_close = Named<QPushButton>(gridHolder, "Btn_close");
    Btn_close->setText(QStringLiteral("Close"));
    grid->addWidget(label_IP, 0, 0);
    grid->addWidget(ComboBox_IP, 0, 1, 1, 2);
    grid->addWidget(Btn_connect, 0, 3);
    grid->addWidget(label_ID, 1, 0);
    grid->addWidget(lineEdit_ID, 1, 1, 1, 2);
    grid->addWidget(Btn_disconnect, 1, 3);
    grid->addWidget(label_PASS, 2, 0, 1, 2);
    grid->addWidget(lineEdit_PASS, 2, 2);
    grid->addWidget(Btn_close, 2, 3);

    // Lies over the address box: one of the two shows, by mode.
    lineEdit_IP = Named<QLineEdit>(this, "lineEdit_IP");
    lineEdit_IP->setGeometry(43, 63, 165, 20);
    lineEdit_IP->setMouseTracking(true);
    lineEdit_IP->setAcceptDrops(true);

    Btn_findserver = Named<QPushButton>(this, "Btn_findserver");
    Btn_findserver->setGeometry(213, 12, 91, 41);
    Btn_findserver->setText(QStringLiteral("Find\nServer"));

    listWidget_serverList = Named<QListWidget>(this, "listWidget_serverList");
    listWidget_serverList->setGeometry(330, 12, 256, 150);
    QFont listFont(QStringLiteral("Tahoma"), 12);
    listFont.setStyleHint(QFont::SansSerif);
    listWidget_serverList->setFont(listFont);
    listWidget_serverList->setStyleSheet(QStringLiteral("background-color: rgba(255, 255, 255, 0);\n"));

    keybtn = Named<QPushButton>(this, "keybtn");
    keybtn->setGeometry(20, 145, 40, 20);
    keybtn->setCheckable(false);
    keybtn->setFocusPolicy(Qt::NoFocus);

    QMetaObject::connectSlotsByName(this);
}

void CollConnectDlg::SetInputs(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{BtnRdo_server, BtnRdo_client, ComboBox_IP, lineEdit_IP,
                                                      lineEdit_ID, lineEdit_PASS})
        w->setEnabled(enabled);
}

void CollConnectDlg::SetIdleState(bool idle)
{
    Btn_connect->setEnabled(idle);
    Btn_disconnect->setEnabled(!idle);
    SetInputs(idle);
}

void CollConnectDlg::SetInputsEnabled() { SetInputs(true); }

void CollConnectDlg::PlaceCentred(int width, int height)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, width, height);
    setGeometry(area.width() / 2 - width / 2, area.height() / 2 - height / 2, width, height);
}

void CollConnectDlg::ApplyModeLayout()
{
    if (BtnRdo_server->isChecked()) {
        LocalIpv4List();
        Btn_connect->setText(QStringLiteral("Create"));
        ComboBox_IP->show();
        lineEdit_IP->hide();
        lineEdit_ID->setText(QStringLiteral("Server"));
        Btn_findserver->hide();
        PlaceCentred(306, 193);
        return;
    }
    Btn_connect->setText(QStringLiteral("Connect"));
    ComboBox_IP->hide();
    lineEdit_IP->show();
    lineEdit_IP->clear();
    lineEdit_IP->setEnabled(true);
    lineEdit_ID->setText(QStringLiteral("User"));
    Btn_findserver->show();
}

void CollConnectDlg::LocalIpv4List()
{
    ComboBox_IP->clear();
    ComboBox_IP->addItems(m_addressSource ? m_addressSource() : QStringList());
    if (ComboBox_IP->count() > 0)
        ComboBox_IP->setCurrentIndex(0);
}

int CollConnectDlg::ServerListCount() const { return listWidget_serverList->count(); }

QString CollConnectDlg::ServerListText(int i) const
{
    const QListWidgetItem* item = listWidget_serverList->item(i);
    return item ? item->text() : QString();
}

void CollConnectDlg::AddServer(const QString& id) { listWidget_serverList->addItem(id); }

bool CollConnectDlg::findServerEnabled() const { return Btn_findserver->isEnabled(); }

void CollConnectDlg::ShowVirtualKeyboard() { emit CallVirtualKeyboard(); }

void CollConnectDlg::Btn_FindServer_Enable() { Btn_findserver->setEnabled(true); }

void CollConnectDlg::Btn_FindServer_Disable() { Btn_findserver->setEnabled(false); }

void CollConnectDlg::on_BtnRdo_server_clicked() { ApplyModeLayout(); }

void CollConnectDlg::on_BtnRdo_client_clicked() { ApplyModeLayout(); }

// The dialog turns active before it asks: a start that fails at once puts it
// back to idle from inside the request, and must not be undone afterwards.
void CollConnectDlg::on_Btn_connect_clicked()
{
    const bool host = BtnRdo_server->isChecked();
    const QString address = host ? ComboBox_IP->currentText() : lineEdit_IP->text();
    SetIdleState(false);
    CloseOnScreenKeyboard();
    if (host) {
        emit coll_startserver(address, lineEdit_ID->text(), lineEdit_PASS->text());
    } else {
        // A participant always joins view-only; the host hands out the rights.
        emit coll_connect(address, lineEdit_ID->text(), lineEdit_PASS->text(), 1);
    }
}

void CollConnectDlg::on_Btn_disconnect_clicked()
{
    if (BtnRdo_server->isChecked()) {
        BtnRdo_client->setEnabled(true);
        emit coll_disconnectToServer();
    } else {
        BtnRdo_server->setEnabled(true);
        emit coll_disconnectToClient();
    }
    SetIdleState(true);
    CloseOnScreenKeyboard();
}

void CollConnectDlg::on_Btn_close_clicked()
{
    CloseOnScreenKeyboard();
    close();
}

void CollConnectDlg::on_Btn_findserver_clicked()
{
    PlaceCentred(649, 193);
    listWidget_serverList->clear();
    emit OptFindServer();
}

void CollConnectDlg::on_listWidget_serverList_itemDoubleClicked(QListWidgetItem* item)
{
    if (!item)
        return;
    const QStringList parts = item->text().split(QLatin1Char('_'));
    if (parts.size() >= 2 && lineEdit_ID->isEnabled())
        lineEdit_IP->setText(parts.last());
}
