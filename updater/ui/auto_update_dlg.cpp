#include "updater/ui/auto_update_dlg.h"

#include "updater/shell_link.h"
#include "updater/ui/dialog_scaling.h"

#include <QCoreApplication>
#include <QDate>
#include <QEventLoop>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kDownloadStallTimeoutMs = 60000;
// What the network layer may hold before we take it: the archive streams to
// disk, so a fast server must not pile it up in memory.
constexpr qint64 kDownloadReadBuffer = 1024 * 1024;
constexpr qint64 kDefaultArchiveLimit = qint64(4) * 1024 * 1024 * 1024;

// The cap on an archive of unknown length; the environment may lower it (the
// tests do, to show an endless body being cut off).
qint64 ArchiveSizeLimit()
{
    bool ok = false;
    const qint64 configured = qEnvironmentVariable("DRAVIK_UPDATE_ARCHIVE_LIMIT").toLongLong(&ok);
    return ok && configured > 0 ? configured : kDefaultArchiveLimit;
}

// Opens the ".part" file fresh: a link or anything else standing there is
// not written through.
bool OpenPartFile(QFile& file, const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

}  // namespace

AutoUpdateDlg::AutoUpdateDlg(const QStringList& arguments, QWidget* parent)
    : QDialog(parent)
{
    setupForm();
    setWindowFlags(kUpdaterWindowFlags);

    if (arguments.size() >= 2)
        m_session.readParameters(arguments.at(1));

    m_language.load(m_session.languageCode());
    if (m_language.rightToLeft())
        setLayoutDirection(Qt::RightToLeft);

    // What an earlier self-replacement parked is no longer running now.
    if (!m_session.installFolder().isEmpty()) {
        const QString parked = m_session.installFolder() + QLatin1Char('/') + parkedUpdaterProgramName();
        if (QFileInfo::exists(parked))
            QFile::remove(parked);
    }

    m_session.readAskState();

    labelState->setText(updateText(2100));
    labelStep->setText(QStringLiteral("Step: 1/5"));
    progressBar->setValue(0);
    scaleWindow();

    m_session.readUpdateDescription();

    connect(pushButtonCancel, &QPushButton::clicked, this, &AutoUpdateDlg::clickCancel);
    showAskDlg(true);
    showNotifyDlg(true);

    m_startTimer = new QTimer(this);
    connect(m_startTimer, &QTimer::timeout, this, &AutoUpdateDlg::onTimer);
}

void AutoUpdateDlg::showEvent(QShowEvent* event)
{
    // The countdown runs from the first showing: a refused second copy makes
    // this window too, and its message box's event loop must not start an
    // update behind the box.
    if (m_startTimer && !m_startTimer->isActive())
        m_startTimer->start(1000);
    QDialog::showEvent(event);
}

AutoUpdateDlg::~AutoUpdateDlg()
{
    showAskDlg(false);
    showNotifyDlg(false);
    discardDownload();
}

void AutoUpdateDlg::setupForm()
{
    setObjectName(QStringLiteral("AutoUpdateDlg"));
    resize(400, 143);
    setModal(true);
    applyFormFont(this);
    setWindowTitle(QStringLiteral("Patchora"));
    labelState = new QLabel(this);
    labelState->setObjectName(QStringLiteral("labelState"));
    labelState->setGeometry(20, 30, 281, 16);
    labelState->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    labelState->setText(QStringLiteral("TextLabel"));
    labelStep = new QLabel(this);
    labelStep->setObjectName(QStringLiteral("labelStep"));
    labelStep->setGeometry(295, 30, 81, 20);
    labelStep->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    labelStep->setText(QStringLiteral("Step: 1/6"));
    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setGeometry(20, 60, 361, 23);
    progressBar->setValue(24);
    pushButtonCancel = new QPushButton(this);
    pushButtonCancel->setObjectName(QStringLiteral("pushButtonCancel"));
    pushButtonCancel->setGeometry(300, 100, 80, 31);
    pushButtonCancel->setText(QStringLiteral("Cancel"));
}

void AutoUpdateDlg::scaleWindow()
{
    applyLocaleFont(this);
    const double factor = screenDpi() / 96.0;
    setFixedSize(static_cast<int>(width() * factor), static_cast<int>(height() * factor));
    for (QWidget* widget : {static_cast<QWidget*>(labelState), static_cast<QWidget*>(labelStep),
                            static_cast<QWidget*>(progressBar), static_cast<QWidget*>(pushButtonCancel)})
        scaleWidget(widget, factor, false);
    adjustSize();
    setFixedSize(size());
}

UpdateDialogRecord AutoUpdateDlg::dialogRecord() const
{
    UpdateDialogRecord record;
    record.language = &m_language;
    record.caption = QStringLiteral("%1 %2 (for %3)").arg(m_session.param(3), m_session.param(4), m_session.param(6));
    record.currentVersion = m_session.param(7);
    record.newVersion = m_session.newVersion;
    return record;
}

void AutoUpdateDlg::showAskDlg(bool create)
{
    if (create) {
        if (m_askDlg)
            return;
        m_askDlg = new AskDlg(this, dialogRecord());
        connect(m_askDlg, &AskDlg::AskClicked, this, &AutoUpdateDlg::AskClicked);
        return;
    }
    if (!m_askDlg)
        return;
    disconnect(m_askDlg, nullptr, this, nullptr);
    m_askDlg->hide();
    delete m_askDlg;
    m_askDlg = nullptr;
}

void AutoUpdateDlg::showNotifyDlg(bool create)
{
    if (create) {
        if (m_notifyDlg)
            return;
        m_notifyDlg = new NotifyDlg(this, dialogRecord());
        connect(m_notifyDlg, &NotifyDlg::NotifyClicked, this, &AutoUpdateDlg::NotifyClicked);
        return;
    }
    if (!m_notifyDlg)
        return;
    disconnect(m_notifyDlg, nullptr, this, nullptr);
    m_notifyDlg->hide();
    delete m_notifyDlg;
    m_notifyDlg = nullptr;
}

void AutoUpdateDlg::onTimer()
{
    if (!m_startTimer)
        return;
    m_startTimer->stop();
    m_startTimer->deleteLater();
    m_startTimer = nullptr;

    if (m_session.newVersion.isEmpty()) {
        qDebug().noquote() << "Patchora : nothing to update";
        endRun();
        return;
    }
    if (m_session.backgroundDownloaded)
        m_notifyDlg->show();
    else
        m_askDlg->show();
}

void AutoUpdateDlg::AskClicked(int action, int laterChoice)
{
    m_askDlg->hide();
    switch (action) {
    case 0:
        m_session.nextAskDate.clear();
        m_session.saveAskState();
        labelState->setText(updateText(2101));
        labelStep->setText(QStringLiteral("Step: 2/5"));
        progressBar->setValue(0);
        startDownload(m_session.serverUrl(), m_session.updateFileName);
        break;
    case 1:
        m_session.nextAskDate.clear();
        m_backgroundMode = true;
        m_session.saveAskState();
        runProgramViaShortcut(m_session.mainProgram(), false);
        startDownload(m_session.serverUrl(), m_session.updateFileName);
        break;
    case 2:
        m_session.nextAskDate = nextAskDateFor(laterChoice, QDate::currentDate());
        m_session.saveAskState();
        runProgramViaShortcut(m_session.mainProgram(), false);
        endRun();
        break;
    default:
        break;
    }
}

void AutoUpdateDlg::NotifyClicked()
{
    m_notifyDlg->hide();
    m_session.backgroundDownloaded = false;
    m_session.backgroundVersion.clear();
    m_session.saveAskState();
    installUpdate(m_session.archivePath());
    endRun();
}

void AutoUpdateDlg::clickCancel()
{
    if (!m_reply) {
        endRun();
        return;
    }
    if (!m_reply->isRunning())
        return;
    if (message(QMessageBox::Information, nullptr, updateText(2122), QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    // The reply may have ended while the question was open.
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
        m_reply = nullptr;
    }
    discardDownload();
    endRun();
}

void AutoUpdateDlg::startDownload(const QString& baseUrl, const QString& fileName)
{
    const QUrl url = QUrl(baseUrl + QLatin1Char('/') + fileName, QUrl::TolerantMode);
    const QString partPath = m_session.workFolder() + QLatin1Char('/') + fileName + QStringLiteral(".part");
    m_downloadFile = new QFile;
    m_partPath = partPath;
    if (fileName.isEmpty() || m_session.workFolder().isEmpty() || !url.isValid()
        || !(url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
        || !OpenPartFile(*m_downloadFile, partPath)) {
        qWarning().noquote() << "Patchora : cannot download" << url.toString() << "to" << partPath;
        discardDownload();
        if (!m_backgroundMode)
            message(QMessageBox::Critical, this, updateText(2123), QMessageBox::Ok);
        endRun();
        return;
    }
    m_downloadHash.reset();
    m_downloadedBytes = 0;
    m_downloadWriteFailed = false;
    m_downloadLimit = ArchiveSizeLimit();

    m_network = new QNetworkAccessManager(this);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    // A server that stops sending ends the download as failed; a background
    // download has no window in which to cancel it.
    request.setTransferTimeout(kDownloadStallTimeoutMs);
    m_reply = m_network->get(request);
    m_reply->setReadBufferSize(kDownloadReadBuffer);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, [this] {
        bool known = false;
        const qint64 declared = m_reply ? m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known)
                                        : 0;
        if (known && declared >= 0)
            m_downloadLimit = qMin(declared, ArchiveSizeLimit());
    });
    connect(m_reply, &QNetworkReply::downloadProgress, this, &AutoUpdateDlg::downloadProgress);
    connect(m_reply, &QNetworkReply::readyRead, this, &AutoUpdateDlg::downloadReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &AutoUpdateDlg::downloadFinished);
}

void AutoUpdateDlg::downloadProgress(qint64 received, qint64 total)
{
    if (total > 0)
        progressBar->setMaximum(static_cast<int>(total));
    progressBar->setValue(static_cast<int>(received));
}

void AutoUpdateDlg::downloadReadyRead()
{
    if (!m_reply || !m_downloadFile || m_downloadWriteFailed)
        return;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400) {
        // An error page is not the archive, and waiting for all of it gains
        // nothing: the download has failed.
        qWarning().noquote() << "Patchora : the server answered with status" << status;
        m_downloadWriteFailed = true;
        m_reply->abort();
        return;
    }
    if (status != 0 && (status < 200 || status > 299)) {
        m_reply->readAll();  // not the archive; read so that the bounded buffer never stalls
        return;
    }
    const QByteArray chunk = m_reply->readAll();
    if (chunk.isEmpty())
        return;
    if (m_downloadFile->write(chunk) != chunk.size()) {
        qWarning().noquote() << "Patchora : cannot write" << m_partPath << ":" << m_downloadFile->errorString();
        m_downloadWriteFailed = true;
        m_reply->abort();
        return;
    }
    m_downloadHash.addData(chunk);
    m_downloadedBytes += chunk.size();
    if (m_downloadedBytes > m_downloadLimit) {
        qWarning().noquote() << "Patchora : the server sent more than" << m_downloadLimit << "bytes; download stopped";
        m_downloadWriteFailed = true;
        m_reply->abort();
    }
}

bool AutoUpdateDlg::saveDownloadedFile(const QString& path, QNetworkReply* reply)
{
    if (!m_downloadFile)
        return false;
    downloadReadyRead();
    if (m_downloadWriteFailed || !m_downloadFile->flush()) {
        qWarning().noquote() << "Patchora : the archive could not be written completely";
        return false;
    }
    m_downloadFile->close();
    if (m_downloadFile->error() != QFileDevice::NoError)
        return false;

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 200 || status > 299) {
        qWarning().noquote() << "Patchora : the server answered with status" << status;
        return false;
    }
    bool lengthKnown = false;
    const qint64 expected = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&lengthKnown);
    if (lengthKnown && reply->header(QNetworkRequest::ContentLengthHeader).isValid()
        && expected != m_downloadedBytes) {
        qWarning().noquote() << "Patchora : received" << m_downloadedBytes << "of" << expected << "bytes";
        return false;
    }
    if (!m_session.updateFileSha256.isEmpty()) {
        const QString actual = QString::fromLatin1(m_downloadHash.result().toHex());
        if (actual != m_session.updateFileSha256) {
            qWarning().noquote() << "Patchora : the archive's SHA-256" << actual << "is not the expected"
                                 << m_session.updateFileSha256;
            return false;
        }
    }
    if (QFileInfo::exists(path) && !QFile::remove(path))
        return false;
    if (!QFile::rename(m_partPath, path))
        return false;
    delete m_downloadFile;
    m_downloadFile = nullptr;
    return true;
}

void AutoUpdateDlg::discardDownload()
{
    if (!m_downloadFile)
        return;
    m_downloadFile->close();
    QFile::remove(m_partPath);
    delete m_downloadFile;
    m_downloadFile = nullptr;
}

void AutoUpdateDlg::downloadFinished()
{
    QNetworkReply* reply = qobject_cast<QNetworkReply*>(sender());
    if (!reply)
        return;
    const QString path = m_session.archivePath();
    bool saved = false;
    if (reply->error() == QNetworkReply::NoError) {
        saved = saveDownloadedFile(path, reply);
    } else {
        qWarning().noquote() << "Patchora : download failed:" << reply->errorString();
    }
    if (!saved)
        discardDownload();

    if (saved && m_backgroundMode) {
        m_session.backgroundDownloaded = true;
        m_session.saveAskState();
    } else if (saved) {
        installUpdate(path);
    } else if (!m_backgroundMode) {
        message(QMessageBox::Critical, this, updateText(2123), QMessageBox::Ok);
    }
    reply->deleteLater();
    if (reply == m_reply)
        m_reply = nullptr;
    endRun();
}

void AutoUpdateDlg::installUpdate(const QString& archivePath)
{
    pushButtonCancel->setEnabled(false);
    InstallEngine engine(m_session, *this);
    if (engine.installUpdate(archivePath))
        runProgramViaShortcut(m_session.mainProgram(), true);
}

void AutoUpdateDlg::runProgramViaShortcut(const QString& programFile, bool ask)
{
    const QString target = m_session.installFolder() + QLatin1Char('/') + programFile;
    if (ask) {
        const QString question = updateText(2105).arg(m_session.param(4));
        if (message(QMessageBox::Information, this, question, QMessageBox::Yes | QMessageBox::No)
            != QMessageBox::Yes)
            return;
    }

    int code = 0;
    if (!programFile.isEmpty() && QFileInfo(target).isFile()) {
        ShellLinkMaker maker;
        if (!maker.createLink(target, m_session.workFolder(), QString(), 0, QStringLiteral("/noAutoUpdate"),
                              m_session.installFolder(), true)) {
            code = 5;
        } else {
            qint64 pid = 0;
            if (openLink(maker.linkPath(), &pid, &code))
                code = 0;
        }
        hide();
        QThread::msleep(5000);
        if (!maker.linkPath().isEmpty())
            QFile::remove(maker.linkPath());
    } else {
        code = 2;
    }
    if (code == 0)
        return;
    message(QMessageBox::Critical, this,
            QStringLiteral("%1\n%2\n\n%3(Error Code = %4)")
                .arg(updateText(2129), programFile, systemErrorText(code), QString::number(code)),
            QMessageBox::Ok);
}

void AutoUpdateDlg::endRun()
{
    close();
    QCoreApplication::quit();
}

QMessageBox::StandardButton AutoUpdateDlg::message(QMessageBox::Icon icon, QWidget* parent, const QString& text,
                                                   QMessageBox::StandardButtons buttons)
{
    // Every message also goes to the log, where a watching script can read it.
    qWarning().noquote() << "Patchora : message:" << text;
    QMessageBox box(icon, windowTitle(), text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void AutoUpdateDlg::showInstallState(int textId, const QString& step)
{
    labelState->setText(updateText(textId));
    labelStep->setText(step);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void AutoUpdateDlg::setProgressMaximum(int maximum)
{
    progressBar->setMaximum(maximum);
}

void AutoUpdateDlg::setProgressValue(int value)
{
    progressBar->setValue(value);
}

bool AutoUpdateDlg::askRetry(const QString& text)
{
    return message(QMessageBox::Critical, this, text, QMessageBox::Retry | QMessageBox::Cancel)
           == QMessageBox::Retry;
}

void AutoUpdateDlg::showError(const QString& text)
{
    message(QMessageBox::Critical, this, text, QMessageBox::Ok);
}
