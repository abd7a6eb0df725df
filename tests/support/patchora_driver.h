#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTcpServer>

#include "tests/support/running_program.h"
#include "tests/support/xdotool.h"

#include <functional>

// Support for whole-program tests of the updater: a small HTTP server on
// 127.0.0.1 run by the test itself, and a driver that starts the built
// Patchora, reads its log and works its windows from outside with xdotool.

// Spins the event loop until `done` holds or `timeoutMs` passed.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs);

class LoopbackHttpServer : public QObject
{
    Q_OBJECT
public:
    struct Resource
    {
        QByteArray body;
        int status = 200;
        qint64 declaredLength = -1;  // Content-Length sent; -1: the body's size
        bool hold = false;           // never answer (a download that does not end)
        // Above 0: the body is this many filler bytes, sent as fast as the
        // client takes them and stopped when it goes away.
        qint64 streamBytes = 0;
        bool sendLength = true;      // false: no Content-Length with a streamed body
    };

    bool start();
    QString baseUrl() const;  // "http://127.0.0.1:<port>"
    void setResource(const QString& path, const Resource& resource);
    int requestCount(const QString& path) const { return m_requests.value(path); }

private:
    void serve(QTcpSocket* socket);
    void stream(QTcpSocket* socket, const Resource& resource);
    QTcpServer m_server;
    QHash<QString, Resource> m_resources;
    QHash<QString, int> m_requests;
};

class PatchoraRun
{
public:
    // Starts build/bin/Patchora with `arguments` at 96 dpi; the environment is
    // the test's own (so DRAVIK_ROOT of a ScopedFolderRoot applies).
    explicit PatchoraRun(const QStringList& arguments, const QStringList& extraEnvironment = {});

    bool waitForExit(int timeoutMs);
    // Only valid once the run ended: its exit code, -1 for a crash.
    int exitCode() { return m_program.waitForExit(0); }
    qint64 pid() const { return m_program.pid(); }
    // Everything the run wrote so far, its lines joined by newlines.
    QByteArray log();

    // Waits for the log to hold the message box text `text` (the n-th such
    // message, counted from 1) and then answers the box with `key`.
    bool answerMessage(const QString& text, const QString& key = QStringLiteral("Return"), int nth = 1);
    int messageCount(const QString& text);

    // Id of a visible window of this run whose title is exactly `title`.
    QString waitForWindow(const QString& title, int timeoutMs);
    QStringList visibleWindows(const QString& title);
    bool windowGeometry(const QString& windowId, QRect* geometry);
    void click(const QString& windowId, int x, int y);
    void pressKey(const QString& windowId, const QString& key);

private:
    RunningProgram m_program;
    QString m_mainWindow;
};

// One updater scene below a private folder root: an install folder with a
// stub whiteboard that records how it was started, a work folder, the
// parameter file the update bridge would write, and a loopback server that
// offers the description file's archive.
class UpdateScene
{
public:
    // `rootPath`: the test's folder root (a ScopedFolderRoot's path).
    explicit UpdateScene(const QString& rootPath);
    QString root;
    QString install;
    QString work;
    QString parameterFile;
    QString startLog;  // one line per start of a stub whiteboard: "name|ppid|folder|arguments"
    LoopbackHttpServer server;

    // The parameter file as the bridge writes it before starting the updater.
    void writeParameters(const QByteArray& askState = QByteArray());
    // "UpdateVersion.inf" offering `version` as archive "update.zip".
    void writeDescription(const QString& version, const QByteArray& extra = QByteArray());
    void serveArchive(const QByteArray& bytes, int status = 200, qint64 declaredLength = -1);
    QByteArray stubProgram(const QByteArray& name) const;
    QStringList starts() const;
};
