#include "collab/ui/strovadlg.h"

#include "app/ui/message_box.h"
#include "app/utilities.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDebug>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpSocket>
#include <QTimer>
#include <QToolButton>

#include <utility>

namespace {

// The file goes out in pieces of this size, and a new piece only once the
// socket holds less than the high mark, so memory stays flat for any size.
constexpr qint64 kChunkSize = 256 * 1024;
constexpr qint64 kHighMark = 1024 * 1024;
constexpr int kConnectTimeoutMs = 30000;

void SetCaption(QWidget* w, const QString& text)
{
    if (auto* box = qobject_cast<QGroupBox*>(w))
        box->setTitle(text);
    else if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(text);
}

// One form element: its object name, place and default caption.
template <typename T>
T* Place(QWidget* parent, const char* objectName, const QRect& geometry, const char* caption = nullptr)
{
    auto* w = new T(parent);
    w->setObjectName(QLatin1String(objectName));
    w->setGeometry(geometry);
    if (caption)
        SetCaption(w, QLatin1String(caption));
    return w;
}

}  // namespace

StrovaDlg::StrovaDlg(QWidget* parent)
    : QDialog(parent)
{
    BuildForm();
}

StrovaDlg::~StrovaDlg()
{
    StopFileStream();
}

void StrovaDlg::BuildForm()
{
    setObjectName(QStringLiteral("StrovaDlg"));
    setWindowTitle(QStringLiteral("Strova"));
    setFixedSize(400, 420);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowStaysOnTopHint
                   | Qt::WindowCloseButtonHint);

    groupBox_login = Place<QGroupBox>(this, "groupBox_login", {10, 10, 380, 110}, "login");
    label_Id = Place<QLabel>(groupBox_login, "label_Id", {10, 25, 70, 22}, "ID");
    lineEditID = Place<QLineEdit>(groupBox_login, "lineEditID", {85, 25, 180, 22});
    label_Pass = Place<QLabel>(groupBox_login, "label_Pass", {10, 53, 70, 22}, "Pass");
    lineEditPass = Place<QLineEdit>(groupBox_login, "lineEditPass", {85, 53, 180, 22});
    Check_SaveID = Place<QCheckBox>(groupBox_login, "Check_SaveID", {85, 80, 180, 22}, "Save ID");
    pushLogin = Place<QPushButton>(groupBox_login, "pushLogin", {275, 25, 95, 50}, "Login");

    QWidget* info = groupBox_transferinfo =
        Place<QGroupBox>(this, "groupBox_transferinfo", {10, 130, 380, 240}, "transfer info");
    label_content = Place<QLabel>(info, "label_content", {10, 25, 100, 22}, "Select content");
    lineEditCon = Place<QLineEdit>(info, "lineEditCon", {115, 25, 215, 22});
    toolButton = Place<QToolButton>(info, "toolButton", {335, 25, 35, 22}, "...");
    label_lecture = Place<QLabel>(info, "label_lecture", {10, 55, 100, 22}, "Lecture Name");
    comboCategory = Place<QComboBox>(info, "comboCategory", {115, 55, 255, 22});
    label_title = Place<QLabel>(info, "label_title", {10, 85, 100, 22}, "Title");
    lineEditTitle = Place<QLineEdit>(info, "lineEditTitle", {115, 85, 255, 22});
    label_descriptior = Place<QLabel>(info, "label_descriptior", {10, 115, 100, 22}, "Description");
    lineEditDesc = Place<QLineEdit>(info, "lineEditDesc", {115, 115, 255, 22});
    pushUpload = Place<QPushButton>(info, "pushUpload", {275, 150, 95, 30}, "Upload");
    progressBar = Place<QProgressBar>(info, "progressBar", {10, 195, 360, 26});
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    progressBar->setAlignment(Qt::AlignCenter);
    progressBar->setTextVisible(true);
    progressBar->setFormat(QString());
    progressBar->hide();

    pushClose = Place<QPushButton>(this, "pushClose", {295, 380, 95, 30}, "Close");
    keybtn = Place<QPushButton>(this, "keybtn", {10, 378, 48, 34});
    keybtn->setStyleSheet(QStringLiteral("QPushButton {border-image: url(:/Config/key);}"
                                         "QPushButton:pressed {border-image: url(:/Config/keypress);}"));

    SetUploadInputsEnabled(false);

    connect(pushLogin, &QPushButton::clicked, this, &StrovaDlg::clickLogin);
    connect(toolButton, &QToolButton::clicked, this, &StrovaDlg::clickFileDialog);
    connect(pushUpload, &QPushButton::clicked, this, &StrovaDlg::clickUpload);
    connect(pushClose, &QPushButton::clicked, this, &StrovaDlg::clickClose);
    connect(keybtn, &QPushButton::clicked, this, &StrovaDlg::ShowVirtualKeyboard);
}

void StrovaDlg::SetLanguage(QStringList* commonTexts, QStringList* uploadTexts)
{
    m_commonTexts = commonTexts;
    m_uploadTexts = uploadTexts;
    // A short or missing list keeps the captions it cannot fill.
    auto text = [](const QStringList* list, int i, QString* out) {
        if (list && i < list->size())
            *out = list->at(i);
        return list && i < list->size();
    };
    QString s;
    if (text(uploadTexts, 0, &s))
        setWindowTitle(s);
    const std::pair<int, QWidget*> captions[] = {
        {1, groupBox_login}, {2, label_Id},       {3, label_Pass},        {4, pushLogin},
        {6, groupBox_transferinfo}, {7, label_content}, {8, label_lecture}, {9, label_title},
        {10, label_descriptior}, {11, pushUpload}, {17, Check_SaveID},
    };
    for (const auto& caption : captions)
        if (text(uploadTexts, caption.first, &s))
            SetCaption(caption.second, s);
    if (text(commonTexts, 3, &s))
        SetCaption(pushClose, s);
}

void StrovaDlg::SetSaveInfo(QString id, int saveId, QString server, QString port)
{
    if (saveId != 0) {
        Check_SaveID->setChecked(true);
        lineEditID->setText(id);
    }
    m_server = server;
    bool ok = false;
    const int number = port.toInt(&ok, 10);
    if (ok && number > 0)
        m_Port = number;
}

QString StrovaDlg::savedId() const { return lineEditID->text(); }

bool StrovaDlg::saveIdChecked() const { return Check_SaveID->isChecked(); }

void StrovaDlg::SetUploadInputsEnabled(bool enabled)
{
    for (QWidget* w : {static_cast<QWidget*>(lineEditCon), static_cast<QWidget*>(comboCategory),
                       static_cast<QWidget*>(lineEditTitle), static_cast<QWidget*>(lineEditDesc),
                       static_cast<QWidget*>(pushUpload), static_cast<QWidget*>(toolButton)})
        w->setEnabled(enabled);
}

template <typename Step>
void StrovaDlg::After(int msec, Step step)
{
    const quint64 session = m_session;
    QTimer::singleShot(msec, this, [this, session, step]() {
        if (session == m_session)
            (this->*step)();
    });
}

void StrovaDlg::SendRecord(qint32 command, qint32 argument, const QString& text)
{
    if (!m_socket)
        return;
    m_socket->write(strova::EncodeRecord(command, argument, text));
}

void StrovaDlg::SendListRequest() { SendRecord(strova::ListRequest, 0, QString()); }

void StrovaDlg::clickLogin()
{
    if (lineEditID->text().isEmpty() || lineEditPass->text().isEmpty())
        return;
    // A connection of an earlier login would otherwise stay open and keep
    // answering into this dialog.
    DropConnection();
    auto* socket = new QTcpSocket(this);
    m_socket = socket;
    m_reader.Clear();
    m_loginId = lineEditID->text();
    m_loginPassword = lineEditPass->text();
    connect(socket, &QTcpSocket::readyRead, this, &StrovaDlg::onReadyRead);
    connect(socket, &QTcpSocket::connected, this, &StrovaDlg::onConnected);
    connect(socket, &QTcpSocket::bytesWritten, this, &StrovaDlg::SendNextFileChunk);
    qDebug() << "clickLogin() : " << "m_Port = " << m_Port;
    socket->connectToHost(m_server, quint16(m_Port), QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
    // The connection is awaited without holding the window: an address that
    // never answers is given up after the same 30 seconds.
    QTimer::singleShot(kConnectTimeoutMs, socket, [socket]() {
        if (socket->state() != QAbstractSocket::ConnectedState)
            socket->abort();
    });
}

void StrovaDlg::onConnected()
{
    SendRecord(strova::Login, 0, QStringLiteral("%1;%2").arg(m_loginId, m_loginPassword));
}

void StrovaDlg::onReadyRead()
{
    if (!m_socket)
        return;
    m_reader.Append(m_socket->readAll());
    strova::StrovaRecord record;
    // A handler may close the connection (a box answered, the window closed).
    while (m_socket && m_reader.Next(&record))
        HandleRecord(record);
}

void StrovaDlg::HandleRecord(const strova::StrovaRecord& record)
{
    switch (record.command) {
    case strova::LoginAccepted:
        SetUploadInputsEnabled(true);
        SendListRequest();
        break;
    case strova::LoginRefused:
        qDebug() << "Login Failure";
        ui::WarningBox(this, QStringLiteral("Login Failure"), QStringLiteral("login failure"));
        break;
    case strova::CategoryList:
        FillCategoryList(record.text);
        break;
    case strova::UploadRequest:
        After(300, &StrovaDlg::uploading);
        break;
    case strova::UploadRefused:
        qDebug() << "file upload fail";
        break;
    case strova::TransferDone:
        qDebug() << "transfer done." << record.argument;
        CheckTransferSize(record.argument);
        break;
    default:
        break;
    }
}

void StrovaDlg::FillCategoryList(const QString& text)
{
    for (const strova::Category& category : strova::ParseCategoryList(text)) {
        comboCategory->addItem(category.name);
        m_categoryCodes.append(category.code);
    }
}

void StrovaDlg::clickFileDialog()
{
    const QString path =
        ui::GetOpenFileName(this, QStringLiteral("Open File"), QString(), QStringLiteral("IIC files (*.iic)"));
    qDebug() << path;
    lineEditCon->setText(path);
}

void StrovaDlg::clickUpload()
{
    if (lineEditCon->text().isEmpty()) {
        ui::WarningBox(this, QStringLiteral("File Select Error"), QStringLiteral("not select file"));
        return;
    }
    // Without a chosen category there is no code to send: the server would
    // file the lecture nowhere.
    const int index = comboCategory->currentIndex();
    if (index < 0 || index >= m_categoryCodes.size()) {
        ui::WarningBox(this, QStringLiteral("Lecture Select Error"), QStringLiteral("not select lecture"));
        return;
    }
    progressBar->show();
    After(300, &StrovaDlg::checkingServer);
}

void StrovaDlg::checkingServer()
{
    progressBar->setValue(30);
    progressBar->setFormat(QStringLiteral("1. Checking Server..."));
    const int index = comboCategory->currentIndex();
    const QString code = m_categoryCodes.value(index);
    qDebug() << "checkingServer()" << index << code;
    SendRecord(strova::UploadRequest, 0,
               QStringLiteral("%1;%2;%3;%4")
                   .arg(strova::UploadFileName(lineEditCon->text()), code, lineEditTitle->text(),
                        lineEditDesc->text()));
}

void StrovaDlg::uploading()
{
    if (!m_socket)
        return;
    StopFileStream();
    auto fileOpenError = [this]() {
        qDebug() << "Error file can't be opened ! !";
        ui::WarningBox(this, QStringLiteral("File Open Error"), QStringLiteral("Error file can't be opened"));
    };
    auto* file = new QFile(lineEditCon->text(), this);
    // The count on the wire is 32 bits: a larger file cannot be announced.
    if (!file->open(QIODevice::ReadOnly) || file->isSequential() || file->size() > strova::kMaxFileSize) {
        delete file;
        fileOpenError();
        return;
    }
    progressBar->setValue(60);
    progressBar->setFormat(QStringLiteral("2. Uploading file..."));
    m_sentSize = qint32(file->size());
    m_uploadFile = file;
    m_uploadRemaining = file->size();
    SendRecord(strova::FileFollows, m_sentSize, strova::UploadFileName(lineEditCon->text()));
    m_socket->write(strova::FileBlockHeader(quint32(m_sentSize)));
    SendNextFileChunk();
}

void StrovaDlg::SendNextFileChunk()
{
    if (!m_uploadFile || !m_socket)
        return;
    while (m_uploadRemaining > 0 && m_socket->bytesToWrite() < kHighMark) {
        const QByteArray chunk = m_uploadFile->read(qMin(kChunkSize, m_uploadRemaining));
        if (chunk.isEmpty()) {
            // The file shrank under us: the server's count will tell.
            qDebug() << "file upload fail: file ended early";
            break;
        }
        m_socket->write(chunk);
        m_uploadRemaining -= chunk.size();
    }
    if (m_uploadRemaining <= 0 || m_uploadFile->atEnd())
        StopFileStream();
}

void StrovaDlg::StopFileStream()
{
    delete m_uploadFile;
    m_uploadFile = nullptr;
    m_uploadRemaining = 0;
}

void StrovaDlg::CheckTransferSize(qint32 size)
{
    if (size == m_sentSize) {
        After(100, &StrovaDlg::uploadComplete);
        return;
    }
    ui::WarningBox(this, QStringLiteral("Transfer Error"), QStringLiteral("fail to file transfer"));
}

void StrovaDlg::uploadComplete()
{
    progressBar->setValue(100);
    progressBar->setFormat(QStringLiteral("3. Upload Complete!"));
}

void StrovaDlg::clickClose() { close(); }

void StrovaDlg::ShowVirtualKeyboard() { emit CallVirtualKeyboard(); }

void StrovaDlg::closeEvent(QCloseEvent* event)
{
    CloseOnScreenKeyboard();
    emit StrovaWindowClose(lineEditID->text(), int(Check_SaveID->checkState()));
    ResetConnection();
    QDialog::closeEvent(event);
}

void StrovaDlg::DropConnection()
{
    StopFileStream();
    m_reader.Clear();
    if (!m_socket)
        return;
    QTcpSocket* socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    if (socket->state() != QAbstractSocket::ConnectedState) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    socket->write(strova::EncodeRecord(strova::End, 0, QString()));
    socket->flush();
    // The socket goes once what is queued has left; a peer that stops reading
    // does not keep it beyond a few seconds.
    connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(5000, socket, [socket]() {
        socket->abort();
        socket->deleteLater();
    });
    socket->disconnectFromHost();
}

void StrovaDlg::ResetConnection()
{
    ++m_session;
    DropConnection();
    lineEditID->clear();
    lineEditPass->clear();
    lineEditCon->clear();
    lineEditTitle->clear();
    lineEditDesc->clear();
    comboCategory->clear();
    m_categoryCodes.clear();
    progressBar->hide();
    progressBar->setValue(0);
    progressBar->setFormat(QString());
    SetUploadInputsEnabled(false);
}
