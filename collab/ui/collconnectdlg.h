#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>

class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;

// The collaboration connect dialog: host a session, find hosts, join one. It
// only collects the choice and hands it to the main window as signals; the
// main window tells it back when a start or a connection failed.
class CollConnectDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CollConnectDlg(QWidget* parent = nullptr);

    // Idle: Connect on, Disconnect off, inputs on; active: the reverse.
    void SetIdleState(bool idle);
    // Enables every input, the buttons untouched.
    void SetInputsEnabled();
    // Lays the dialog out for the checked mode.
    void ApplyModeLayout();
    // Refills the address box with this machine's usable addresses.
    void LocalIpv4List();
    int ServerListCount() const;
    QString ServerListText(int i) const;
    void AddServer(const QString& id);

    // Where LocalIpv4List takes the addresses from; the program's one rule
    // unless a test puts its own list in.
    void SetAddressSource(std::function<QStringList()> source) { m_addressSource = std::move(source); }

    bool findServerEnabled() const;

    // The form, by object name.
    QRadioButton* BtnRdo_server = nullptr;
    QRadioButton* BtnRdo_client = nullptr;
    QComboBox* ComboBox_IP = nullptr;
    QLineEdit* lineEdit_IP = nullptr;
    QLabel* label_IP = nullptr;
    QLabel* label_ID = nullptr;
    QLabel* label_PASS = nullptr;
    QLineEdit* lineEdit_ID = nullptr;
    QLineEdit* lineEdit_PASS = nullptr;
    QPushButton* Btn_connect = nullptr;
    QPushButton* Btn_disconnect = nullptr;
    QPushButton* Btn_close = nullptr;
    QPushButton* Btn_findserver = nullptr;
    QListWidget* listWidget_serverList = nullptr;
    QPushButton* keybtn = nullptr;

signals:
    void coll_startserver(QString ip, QString id, QString password);
    void coll_connect(QString ip, QString id, QString password, int level);
    void coll_disconnectToServer();
    void coll_disconnectToClient();
    void CallVirtualKeyboard();
    void OptFindServer();

public slots:
    void ShowVirtualKeyboard();
    // The search for hosts has ended or begun.
    void Btn_FindServer_Enable();
    void Btn_FindServer_Disable();
    void on_BtnRdo_server_clicked();
    void on_BtnRdo_client_clicked();
    void on_Btn_connect_clicked();
    void on_Btn_disconnect_clicked();
    void on_Btn_close_clicked();
    void on_Btn_findserver_clicked();
    void on_listWidget_serverList_itemDoubleClicked(QListWidgetItem* item);

private:
    void BuildForm();
    void SetInputs(bool enabled);
    void PlaceCentred(int width, int height);
    std::function<QStringList()> m_addressSource;
};
