#include "tests/support/patchora_driver.h"

#include "tests/support/test_folders.h"
#include "tests/support/zip_fixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRect>
#include <QTcpSocket>
#include <QThread>

#include <memory>

bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}

bool LoopbackHttpServer::start()
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QString LoopbackHttpServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
}

void LoopbackHttpServer::setResource(const QString& path, const Resource& resource)
{
    m_resources.insert(path, resource);
}

void LoopbackHttpServer::serve(QTcpSocket* socket)
{
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n") || socket->property("served").toBool())
        return;
    socket->setProperty("served", true);
    const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
    const QString path = words.size() > 1 ? QString::fromLatin1(words.at(1)) : QString();
    m_requests[path] += 1;
    Resource resource = m_resources.value(path, Resource{QByteArray("not found"), 404, -1, false});
    if (resource.hold)
        return;
    if (resource.streamBytes > 0) {
        stream(socket, resource);
        return;
    }
    const qint64 length = resource.declaredLength >= 0 ? resource.declaredLength : resource.body.size();
    QByteArray answer = "HTTP/1.1 " + QByteArray::number(resource.status) + " X\r\nContent-Type: application/zip\r\n"
                        "Content-Length: " + QByteArray::number(length) + "\r\nConnection: close\r\n\r\n";
    socket->write(answer + resource.body);
    socket->disconnectFromHost();
}

void LoopbackHttpServer::stream(QTcpSocket* socket, const Resource& resource)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(resource.status) + " X\r\nContent-Type: application/zip\r\n";
    if (resource.sendLength)
        head += "Content-Length: " + QByteArray::number(resource.streamBytes) + "\r\n";
    socket->write(head + "Connection: close\r\n\r\n");
    auto remaining = std::make_shared<qint64>(resource.streamBytes);
    const auto pump = [socket, remaining] {
        static const QByteArray chunk(256 * 1024, 'z');
        // A few chunks ahead of the client at most: the server's own memory
        // stays small however long the body is.
        while (*remaining > 0 && socket->bytesToWrite() < 4 * chunk.size()
               && socket->state() == QAbstractSocket::ConnectedState) {
            const qint64 size = qMin<qint64>(*remaining, chunk.size());
            socket->write(chunk.constData(), size);
            *remaining -= size;
        }
        if (*remaining == 0 && socket->bytesToWrite() == 0)
            socket->disconnectFromHost();
    };
    connect(socket, &QTcpSocket::bytesWritten, socket, pump);
    pump();
}

PatchoraRun::PatchoraRun(const QStringList& arguments, const QStringList& extraEnvironment)
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("QT_FONT_DPI"), QStringLiteral("96"));
    for (const QString& pair : extraEnvironment) {
        const int equals = pair.indexOf(QLatin1Char('='));
        environment.insert(pair.left(equals), pair.mid(equals + 1));
    }
    m_program.start(QStringLiteral("Patchora"), arguments, environment);
}

bool PatchoraRun::waitForExit(int timeoutMs)
{
    // The loop keeps the test's own HTTP server answering while it waits.
    return WaitUntil([this] {
        log();
        return !m_program.isRunning();
    }, timeoutMs);
}

QByteArray PatchoraRun::log()
{
    return m_program.lines().join(QLatin1Char('\n')).toUtf8();
}

int PatchoraRun::messageCount(const QString& text)
{
    return log().count(QByteArray("Patchora : message: ") + text.toUtf8());
}

bool PatchoraRun::answerMessage(const QString& text, const QString& key, int nth)
{
    if (!WaitUntil([&] { return messageCount(text) >= nth; }, 60000))
        return false;
    // The box takes the keyboard focus once it is shown. Without a window
    // manager another program's window can keep the focus under load, so a
    // box that is up but not focused is given the focus here. The box is the
    // newest "Patchora" window of the process (window ids grow per client),
    // never its main window.
    QString focused;
    const bool found = WaitUntil([&] {
        QString box;
        for (const QString& id : visibleWindows(QStringLiteral("Patchora"))) {
            if (id != m_mainWindow && (box.isEmpty() || id.toULongLong() > box.toULongLong()))
                box = id;
        }
        if (box.isEmpty())
            return false;
        focused = QString::fromLatin1(Xdotool({QStringLiteral("getwindowfocus")}).trimmed());
        if (focused == box)
            return true;
        Xdotool({QStringLiteral("windowfocus"), box});
        return false;
    }, 10000);
    if (!found)
        return false;
    // The box has the keyboard: the server hands it the key after that change.
    Xdotool({QStringLiteral("key"), key});
    return true;
}

QStringList PatchoraRun::visibleWindows(const QString& title)
{
    const QByteArray output = Xdotool({QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"),
                                       QStringLiteral("--pid"), QString::number(pid()), QStringLiteral("--name"),
                                       QStringLiteral("^%1$").arg(title)});
    QStringList ids;
    for (const QByteArray& line : output.split('\n')) {
        if (!line.trimmed().isEmpty())
            ids << QString::fromLatin1(line.trimmed());
    }
    // The updater's own window is the one "Patchora" window seen before any
    // message box was announced; a refused second copy has none, and its box
    // must not be taken for it.
    if (title == QLatin1String("Patchora") && m_mainWindow.isEmpty() && ids.size() == 1 && messageCount(QString()) == 0)
        m_mainWindow = ids.first();
    return ids;
}

QString PatchoraRun::waitForWindow(const QString& title, int timeoutMs)
{
    QString id;
    WaitUntil([&] {
        log();
        const QStringList ids = visibleWindows(title);
        if (!ids.isEmpty())
            id = ids.first();
        return !id.isEmpty();
    }, timeoutMs);
    return id;
}

bool PatchoraRun::windowGeometry(const QString& windowId, QRect* geometry)
{
    const QByteArray output = Xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), windowId});
    QHash<QByteArray, int> values;
    for (const QByteArray& line : output.split('\n')) {
        const int equals = line.indexOf('=');
        if (equals > 0)
            values.insert(line.left(equals), line.mid(equals + 1).toInt());
    }
    if (!values.contains("WIDTH"))
        return false;
    *geometry = QRect(values.value("X"), values.value("Y"), values.value("WIDTH"), values.value("HEIGHT"));
    return true;
}

void PatchoraRun::click(const QString& windowId, int x, int y)
{
    Xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), windowId, QString::number(x), QString::number(y),
             QStringLiteral("click"), QStringLiteral("1")});
}

void PatchoraRun::pressKey(const QString& windowId, const QString& key)
{
    Xdotool({QStringLiteral("windowfocus"), windowId});
    Xdotool({QStringLiteral("key"), key});
}

UpdateScene::UpdateScene(const QString& rootPath)
    : root(rootPath),
      install(rootPath + QStringLiteral("/install")),
      work(rootPath + QStringLiteral("/work")),
      parameterFile(rootPath + QStringLiteral("/AutoUpdate.ini")),
      startLog(rootPath + QStringLiteral("/starts.log"))
{
    server.start();
    QDir().mkpath(work);
    WriteTestFile(install + QStringLiteral("/Dravik"), stubProgram("old whiteboard"), kExecutablePermissions);
    WriteTestFile(install + QStringLiteral("/Patchora"), "#!/bin/sh\necho old updater\n", kExecutablePermissions);
    WriteTestFile(install + QStringLiteral("/Language/ENU.lng"), "old texts");
    WriteTestFile(install + QStringLiteral("/obsolete.txt"), "to be deleted");
    qputenv("DRAVIK_STUB_START_LOG", startLog.toUtf8());
}

QByteArray UpdateScene::stubProgram(const QByteArray& name) const
{
    return "#!/bin/sh\necho \"" + name + "|$PPID|$PWD|$*\" >> \"$DRAVIK_STUB_START_LOG\"\n";
}

void UpdateScene::writeParameters(const QByteArray& askState)
{
    QByteArray text = "[AutoUpdate]\n";
    const QList<QByteArray> values = {(server.baseUrl() + QStringLiteral("/updates/")).toUtf8(), (work + "/").toUtf8(),
                                      "NORVANE", "Dravik", "5.0", "Windows", "5.0.0.32", install.toUtf8(),
                                      "Dravik", "ENU"};
    for (int n = 1; n <= values.size(); ++n)
        text += "ManagerParam" + QByteArray::number(n) + "=" + values.at(n - 1) + "\n";
    if (QFile::exists(parameterFile)) {
        // The bridge rewrites only the parameters; the ask state stays.
        QByteArray old = ReadTestFile(parameterFile);
        for (const QByteArray& line : old.split('\n')) {
            if (!line.startsWith("ManagerParam") && !line.startsWith("[AutoUpdate]") && !line.isEmpty())
                text += line + "\n";
        }
    }
    WriteTestFile(parameterFile, text + askState);
}

void UpdateScene::writeDescription(const QString& version, const QByteArray& extra)
{
    WriteTestFile(work + QStringLiteral("/UpdateVersion.inf"),
                  "[Update]\nNewVersion=" + version.toUtf8() + "\n[UpdateFile]\nFileName=update.zip\n"
                  "[DeleteFile]\nFileCount=1\nFile1=obsolete.txt\n" + extra);
}

void UpdateScene::serveArchive(const QByteArray& bytes, int status, qint64 declaredLength)
{
    server.setResource(QStringLiteral("/updates/update.zip"), {bytes, status, declaredLength, false});
}

QStringList UpdateScene::starts() const
{
    QStringList lines;
    for (const QByteArray& line : ReadTestFile(startLog).split('\n')) {
        if (!line.isEmpty())
            lines << QString::fromUtf8(line);
    }
    return lines;
}
