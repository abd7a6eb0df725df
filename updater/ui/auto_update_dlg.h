#pragma once

#include "updater/install_engine.h"
#include "updater/ui/update_dialogs.h"
#include "updater/update_language.h"
#include "updater/update_session.h"

#include <QCryptographicHash>
#include <QDialog>
#include <QMessageBox>

class QFile;
class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QProgressBar;
class QPushButton;
class QTimer;

// The updater's main window: state text, step counter, progress and Cancel.
// It reads the parameters at construction, asks on the first timer tick
// after it is shown, downloads, installs through the install engine and
// starts the main program again.
class AutoUpdateDlg : public QDialog, private InstallFeedback
{
    Q_OBJECT
public:
    explicit AutoUpdateDlg(const QStringList& arguments, QWidget* parent = nullptr);
    ~AutoUpdateDlg() override;

    QProgressBar* progressBar = nullptr;
    QLabel* labelState = nullptr;
    QLabel* labelStep = nullptr;
    QPushButton* pushButtonCancel = nullptr;

    const UpdateSession& session() const { return m_session; }
    AskDlg* askDialog() const { return m_askDlg; }
    NotifyDlg* notifyDialog() const { return m_notifyDlg; }

    void showAskDlg(bool create);
    void showNotifyDlg(bool create);
    void startDownload(const QString& baseUrl, const QString& fileName);
    void runProgramViaShortcut(const QString& programFile, bool ask);
    void installUpdate(const QString& archivePath);

public slots:
    void clickCancel();
    void onTimer();
    void NotifyClicked();
    void AskClicked(int action, int laterChoice);
    void downloadProgress(qint64 received, qint64 total);
    void downloadFinished();

private slots:
    void downloadReadyRead();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setupForm();
    void scaleWindow();
    UpdateDialogRecord dialogRecord() const;
    bool saveDownloadedFile(const QString& path, QNetworkReply* reply);
    void discardDownload();
    void endRun();
    QMessageBox::StandardButton message(QMessageBox::Icon icon, QWidget* parent, const QString& text,
                                        QMessageBox::StandardButtons buttons);

    // Install feedback.
    void showInstallState(int textId, const QString& step) override;
    void setProgressMaximum(int maximum) override;
    void setProgressValue(int value) override;
    bool askRetry(const QString& text) override;
    void showError(const QString& text) override;

    UpdateLanguage m_language;
    UpdateSession m_session;
    AskDlg* m_askDlg = nullptr;
    NotifyDlg* m_notifyDlg = nullptr;
    QTimer* m_startTimer = nullptr;
    QNetworkAccessManager* m_network = nullptr;
    QNetworkReply* m_reply = nullptr;
    bool m_backgroundMode = false;

    // The archive is written while it arrives, to a ".part" file that takes the
    // archive's name only once it is complete and checked.
    QFile* m_downloadFile = nullptr;
    QCryptographicHash m_downloadHash{QCryptographicHash::Sha256};
    qint64 m_downloadedBytes = 0;
    bool m_downloadWriteFailed = false;
    QString m_partPath;
    // The most bytes taken from the server: the declared length when it sent
    // one, else a generous cap, so that an endless body cannot fill the disk.
    qint64 m_downloadLimit = 0;
};
