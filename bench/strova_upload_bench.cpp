// A 500 MB contents package uploaded through the lecture-upload dialog to a
// lecture server on 127.0.0.1: the time from Upload to the completed step, the
// growth of the process's peak memory over its idle size, and the server's
// byte count against the file's size (DRAVIK_BENCH_MB changes the size).
#include <benchmark/benchmark.h>

#include "collab/strova_record.h"
#include "collab/ui/strovadlg.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <sys/resource.h>

namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "strova_upload_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("DRAVIK_NO_MODAL", "1");
    static QApplication app(argc, argv);
    return app;
}

long PeakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Answers login, list and upload request, and counts the file's bytes
// without keeping them.
struct BenchServer {
    QTcpServer server;
    QTcpSocket* peer = nullptr;
    strova::RecordReader reader;
    qint64 expected = -1;  // file bytes still to come after the count
    qint64 received = 0;
    int headerLeft = 0;

    BenchServer()
    {
        server.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this]() {
            peer = server.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, [this]() { Read(); });
        });
    }

    void Reply(qint32 command, qint32 argument, const QString& text)
    {
        peer->write(strova::EncodeRecord(command, argument, text));
    }

    void Read()
    {
        while (peer->bytesAvailable() > 0) {
            if (headerLeft > 0 || expected > 0) {
                const QByteArray bytes = peer->read(headerLeft > 0 ? headerLeft : qMin<qint64>(expected, 1 << 20));
                if (headerLeft > 0) {
                    headerLeft -= bytes.size();
                    continue;
                }
                received += bytes.size();
                expected -= bytes.size();
                if (expected == 0)
                    Reply(strova::TransferDone, qint32(received), QString());
                continue;
            }
            reader.Append(peer->read(strova::kRecordSize - reader.Pending()));
            strova::StrovaRecord record;
            if (!reader.Next(&record))
                continue;
            if (record.command == strova::Login)
                Reply(strova::LoginAccepted, 0, QString());
            else if (record.command == strova::ListRequest)
                Reply(strova::CategoryList, 0, QStringLiteral("1;Bench"));
            else if (record.command == strova::UploadRequest)
                Reply(strova::UploadRequest, 0, QString());
            else if (record.command == strova::FileFollows) {
                expected = record.argument;
                headerLeft = 4;
            }
        }
    }
};

void BM_UploadPackage(benchmark::State& state)
{
    App();
    const qint64 megabytes = qEnvironmentVariableIsSet("DRAVIK_BENCH_MB") ? qgetenv("DRAVIK_BENCH_MB").toLongLong() : 500;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("lecture.iic"));
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        const QByteArray block(1 << 20, 'p');
        for (qint64 i = 0; i < megabytes; ++i)
            file.write(block);
    }
    for (auto _ : state) {
        BenchServer server;
        StrovaDlg dlg;
        dlg.SetSaveInfo(QString(), 0, QStringLiteral("127.0.0.1"), QString::number(server.server.serverPort()));
        dlg.findChild<QLineEdit*>(QStringLiteral("lineEditID"))->setText(QStringLiteral("bench"));
        dlg.findChild<QLineEdit*>(QStringLiteral("lineEditPass"))->setText(QStringLiteral("pw"));
        auto* combo = dlg.findChild<QComboBox*>(QStringLiteral("comboCategory"));
        auto* bar = dlg.findChild<QProgressBar*>(QStringLiteral("progressBar"));
        dlg.clickLogin();
        QElapsedTimer limit;
        limit.start();
        while (combo->count() == 0 && limit.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        dlg.findChild<QLineEdit*>(QStringLiteral("lineEditCon"))->setText(path);
        const long idleKb = PeakKb();
        QElapsedTimer clock;
        clock.start();
        dlg.clickUpload();
        while (bar->value() != 100 && clock.elapsed() < 600000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        state.SetIterationTime(clock.elapsed() / 1000.0);
        state.counters["seconds"] = clock.elapsed() / 1000.0;
        state.counters["peak_growth_MB"] = (PeakKb() - idleKb) / 1024.0;
        state.counters["server_bytes"] = double(server.received);
        state.counters["file_bytes"] = double(megabytes << 20);
        state.counters["complete"] = bar->value() == 100;
    }
}
BENCHMARK(BM_UploadPackage)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
