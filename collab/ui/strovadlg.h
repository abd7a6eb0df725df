#pragma once

#include "collab/strova_record.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QFile;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTcpSocket;
class QToolButton;

// The lecture-upload dialog: logs in to the lecture server, lists its
// categories and sends a contents package in three steps shown on the bar.
class StrovaDlg : public QDialog
{
    Q_OBJECT

public:
    explicit StrovaDlg(QWidget* parent = nullptr);
    ~StrovaDlg() override;

    void SetLanguage(QStringList* commonTexts, QStringList* uploadTexts);
    // A port of 0 or less, or one that is no number, keeps the dialog's own.
    void SetSaveInfo(QString id, int saveId, QString server, QString port);

    QString savedId() const;
    bool saveIdChecked() const;
    QString server() const { return m_server; }
    int port() const { return m_Port; }

signals:
    void StrovaWindowClose(QString id, int saveId);
    void CallVirtualKeyboard();

public slots:
    void clickLogin();
    void onConnected();
    void onReadyRead();
    void clickFileDialog();
    void clickUpload();
    void checkingServer();
    void uploading();
    void uploadComplete();
    void clickClose();
    void ShowVirtualKeyboard();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildForm();
    void SetUploadInputsEnabled(bool enabled);
    void SendRecord(qint32 command, qint32 argument, const QString& text);
    void SendListRequest();
    void HandleRecord(const strova::StrovaRecord& record);
    void FillCategoryList(const QString& text);
    void CheckTransferSize(qint32 size);
    void SendNextFileChunk();
    void StopFileStream();
    void DropConnection();
    void ResetConnection();
    // Runs `step` after `msec` unless the dialog was closed in between.
    template <typename Step>
    void After(int msec, Step step);

    QStringList* m_commonTexts = nullptr;
    QStringList* m_uploadTexts = nullptr;
    QPointer<QTcpSocket> m_socket;
    QString m_loginId;
    QString m_loginPassword;
    QStringList m_categoryCodes;
    qint32 m_sentSize = 0;
    int m_Port = 0;
    QString m_server;

    strova::RecordReader m_reader;
    // The file being streamed behind its count, read as the socket drains.
    QFile* m_uploadFile = nullptr;
    qint64 m_uploadRemaining = 0;
    // Counts closes, so a step timer started before one does nothing after it.
    quint64 m_session = 0;

    QGroupBox* groupBox_login = nullptr;
    QLabel* label_Id = nullptr;
    QLineEdit* lineEditID = nullptr;
    QLabel* label_Pass = nullptr;
    QLineEdit* lineEditPass = nullptr;
    QCheckBox* Check_SaveID = nullptr;
    QPushButton* pushLogin = nullptr;
    QGroupBox* groupBox_transferinfo = nullptr;
    QLabel* label_content = nullptr;
    QLineEdit* lineEditCon = nullptr;
    QLabel* label_lecture = nullptr;
    QComboBox* comboCategory = nullptr;
    QLabel* label_title = nullptr;
    QLineEdit* lineEditTitle = nullptr;
    QLabel* label_descriptior = nullptr;
    QLineEdit* lineEditDesc = nullptr;
    QToolButton* toolButton = nullptr;
    QPushButton* pushUpload = nullptr;
    QProgressBar* progressBar = nullptr;
    QPushButton* pushClose = nullptr;
    QPushButton* keybtn = nullptr;
};
