#define BRIVANE_LIBRARY_BUILD
#include "outside/Brivane/brivane_api.h"

#include "platform/folders.h"
#include "platform/launch.h"
#include "platform/processes.h"
#include "storage/ini_values.h"
#include "updater/ini_line_editor.h"

#include <QDate>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSettings>
#include <QTimer>
#include <QVersionNumber>

namespace {

// A description file is a few lines; anything much larger is not one.
constexpr qint64 kMaxDescriptionSize = 256 * 1024;
// A server that stops sending is given up on, so the check always answers.
constexpr int kCheckTimeoutMs = 30000;
const QString kGroup = QStringLiteral("AutoUpdate");

struct BridgeState
{
    QStringList product;  // ManagerParam3 .. ManagerParam10 once InitialParameter ran
    QString applicationFolder;
    UpdateCallback callback = nullptr;
    QString serverUrl;
    QPointer<QNetworkAccessManager> network;
    QPointer<QNetworkReply> reply;
};

BridgeState& State()
{
    static BridgeState state;
    return state;
}

QString SettingsFolder()
{
    return platform::KnownFolderPath(platform::KnownFolder::CommonAppData) + QStringLiteral("/Norvane/Dravik");
}

QString WorkFolder()
{
    return SettingsFolder() + QStringLiteral("/Update");
}

QString ParameterFile()
{
    return WorkFolder() + QStringLiteral("/AutoUpdate.ini");
}

QString ConfiguredServer(const QString& handedOver)
{
    QString server = qEnvironmentVariable("DRAVIK_UPDATE_SERVER");
    if (server.isEmpty()) {
        const QString file = SettingsFolder() + QStringLiteral("/UpdateServer.ini");
        if (QFileInfo::exists(file))
            server = IniTextValue(QSettings(file, QSettings::IniFormat), QStringLiteral("Update/Server"));
    }
    if (server.isEmpty())
        server = handedOver;
    server = server.trimmed();
    while (server.endsWith(QLatin1Char('/')))
        server.chop(1);
    return server;
}

void Answer(bool updateAvailable)
{
    qDebug().noquote() << "update bridge : update available" << updateAvailable;
    if (State().callback)
        State().callback(updateAvailable);
}

bool IsNewer(const QString& offered, const QString& installed)
{
    if (offered.trimmed().isEmpty())
        return false;
    const QVersionNumber offeredNumber = QVersionNumber::fromString(offered.trimmed());
    const QVersionNumber installedNumber = QVersionNumber::fromString(installed.trimmed());
    if (offeredNumber.isNull() || installedNumber.isNull())
        return offered.trimmed() != installed.trimmed();
    return QVersionNumber::compare(offeredNumber, installedNumber) > 0;
}

void DescriptionArrived(QNetworkReply* reply)
{
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray body = reply->read(kMaxDescriptionSize + 1);
    if (reply->error() != QNetworkReply::NoError || status < 200 || status > 299 || body.size() > kMaxDescriptionSize) {
        qDebug().noquote() << "update bridge : no description from" << reply->url().toString() << status
                           << reply->errorString();
        Answer(false);
        return;
    }
    QDir().mkpath(WorkFolder());
    const QString target = WorkFolder() + QStringLiteral("/UpdateVersion.inf");
    const QString incoming = target + QStringLiteral(".download");
    QFile file(incoming);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(body) != body.size()) {
        file.remove();
        Answer(false);
        return;
    }
    file.close();
    // Read as the updater reads it, so both agree on what is offered.
    const QString offered = IniTextValue(QSettings(incoming, QSettings::IniFormat), QStringLiteral("Update/NewVersion"));
    const QString installed = State().product.value(4);
    if (!IsNewer(offered, installed)) {
        // Nothing newer: an older description must not be offered by the updater.
        QFile::remove(incoming);
        QFile::remove(target);
        Answer(false);
        return;
    }
    QFile::remove(target);
    if (!QFile::rename(incoming, target)) {
        QFile::remove(incoming);
        Answer(false);
        return;
    }
    Answer(true);
}

}  // namespace

extern "C" {

void InitialParameter(const QString& maker, const QString& product, const QString& majorVersion,
                      const QString& platformName, const QString& fullVersion, const QString& applicationFolder,
                      const QString& programFile, const QString& languageCode, UpdateCallback callback)
{
    BridgeState& state = State();
    QString folder = applicationFolder;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    state.applicationFolder = folder;
    state.product = QStringList{maker, product, majorVersion, platformName, fullVersion, folder,
                                platform::LinuxProgramName(programFile), languageCode};
    state.callback = callback;
}

void ConnectAddressServer(const QString& url)
{
    BridgeState& state = State();
    state.serverUrl = ConfiguredServer(url);
    if (state.serverUrl.isEmpty() || state.product.isEmpty()) {
        // The answer still comes later, as it does after a real check.
        QTimer::singleShot(0, [] { Answer(false); });
        return;
    }
    if (!state.network)
        state.network = new QNetworkAccessManager();
    if (state.reply)
        state.reply->abort();
    QNetworkRequest request(QUrl(state.serverUrl + QStringLiteral("/UpdateVersion.inf")));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(kCheckTimeoutMs);
    QNetworkReply* reply = state.network->get(request);
    state.reply = reply;
    // Stop an oversized answer as it comes rather than holding all of it.
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxDescriptionSize)
            reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, [reply] { DescriptionArrived(reply); });
}

int GetUpdateServerCount()
{
    return ConfiguredServer(State().serverUrl).isEmpty() ? 0 : 1;
}

QString GetUpdateServerURL(int index)
{
    return index == 0 ? ConfiguredServer(State().serverUrl) : QString();
}

bool ExecuteManager()
{
    const BridgeState& state = State();
    if (state.product.isEmpty())
        return false;
    QDir().mkpath(WorkFolder());
    const QString parameters = ParameterFile();
    const QStringList values = QStringList{ConfiguredServer(state.serverUrl), WorkFolder()} + state.product;
    for (int n = 1; n <= values.size(); ++n) {
        if (!WriteIniValue(parameters, kGroup, QStringLiteral("ManagerParam%1").arg(n), values.at(n - 1))) {
            qWarning().noquote() << "update bridge : cannot write" << parameters;
            return false;
        }
    }
    const QString updater = state.applicationFolder + QLatin1Char('/')
                            + platform::LinuxProgramName(QStringLiteral("Patchora.exe"));
    if (!platform::StartDetached(updater, QStringList{parameters}, state.applicationFolder)) {
        qWarning().noquote() << "update bridge : cannot start" << updater;
        return false;
    }
    return true;
}

bool NextTimeCheck()
{
    const QString text = ReadIniValue(ParameterFile(), kGroup, QStringLiteral("NextAskDate"));
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    return date.isValid() && QDate::currentDate() < date;
}

}  // extern "C"
