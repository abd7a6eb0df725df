// The install engine applying an update archive of 2,000 files / 200 MB over
// an install folder that already holds the same 2,000 files (so every one is
// backed up and overwritten), against "unzip" plus "cp -r" of the same archive
// in the same run. The "ratio" counter is engine time / pipeline time.
#include <benchmark/benchmark.h>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "updater/install_engine.h"
#include "updater/update_session.h"

namespace {

constexpr int kFiles = 2000;
constexpr int kFileBytes = 100 * 1024;
constexpr int kFilesPerFolder = 50;

class QuietFeedback : public InstallFeedback
{
public:
    void showInstallState(int, const QString&) override {}
    void setProgressMaximum(int) override {}
    void setProgressValue(int) override { ++progressCalls; }
    bool askRetry(const QString&) override { return false; }
    void showError(const QString&) override { ++errors; }
    int progressCalls = 0;
    int errors = 0;
};

QString EntryName(int i)
{
    return QStringLiteral("data%1/file%2.bin").arg(i / kFilesPerFolder).arg(i);
}

bool MakeArchive(const QString& path)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    QRandomGenerator random(7);
    QByteArray data(kFileBytes, Qt::Uninitialized);
    for (int i = 0; i < kFiles; ++i) {
        random.fillRange(reinterpret_cast<quint32*>(data.data()), kFileBytes / 4);
        QuaZipFile file(&zip);
        QuaZipNewInfo info(EntryName(i));
        info.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        if (!file.open(QIODevice::WriteOnly, info, nullptr, 0, 0, 0) || file.write(data) != data.size())
            return false;
        file.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

// The install folder as an earlier version left it: the same files, older bytes.
bool MakeInstall(const QString& install)
{
    const QByteArray old(kFileBytes, 'o');
    for (int i = 0; i < kFiles; ++i) {
        const QString path = install + QLatin1Char('/') + EntryName(i);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(old) != old.size())
            return false;
    }
    return true;
}

bool RunShell(const QString& command)
{
    return QProcess::execute(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command}) == 0;
}

void BM_InstallOverExistingInstall(benchmark::State& state)
{
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/install-bench-XXXXXX"));
    const QString source = dir.filePath(QStringLiteral("source.zip"));
    const QString install = dir.filePath(QStringLiteral("install"));
    const QString work = dir.filePath(QStringLiteral("work"));
    const QString pipelineInstall = dir.filePath(QStringLiteral("pipeline-install"));
    const QString pipelineStaging = dir.filePath(QStringLiteral("pipeline-staging"));
    if (!MakeArchive(source) || !MakeInstall(install) || !MakeInstall(pipelineInstall) || !QDir().mkpath(work)) {
        state.SkipWithError("cannot make the fixture");
        return;
    }
    double engineSeconds = 0;
    double pipelineSeconds = 0;
    int progressCalls = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString archive = work + QStringLiteral("/update.zip");
        QFile::remove(archive);
        QFile::copy(source, archive);
        UpdateSession session;
        session.managerParam[1] = work;
        session.managerParam[7] = install;
        session.infPath = work + QStringLiteral("/UpdateVersion.inf");
        session.updateFileName = QStringLiteral("update.zip");
        QuietFeedback feedback;
        InstallEngine engine(session, feedback);
        RunShell(QStringLiteral("sync"));
        state.ResumeTiming();

        QElapsedTimer timer;
        timer.start();
        const bool installed = engine.installUpdate(archive);
        engineSeconds += timer.nsecsElapsed() / 1e9;

        state.PauseTiming();
        if (!installed || feedback.errors != 0) {
            state.SkipWithError("the install failed");
            return;
        }
        progressCalls = feedback.progressCalls;
        RunShell(QStringLiteral("sync"));
        timer.restart();
        const bool piped = RunShell(QStringLiteral("rm -rf '%1' && unzip -q -o '%2' -d '%1' && cp -r '%1'/. '%3' && sync")
                                        .arg(pipelineStaging, source, pipelineInstall));
        pipelineSeconds += timer.nsecsElapsed() / 1e9;
        if (!piped) {
            state.SkipWithError("the unzip and cp pipeline failed");
            return;
        }
        state.ResumeTiming();
    }
    state.counters["engine_s"] = engineSeconds / state.iterations();
    state.counters["pipeline_s"] = pipelineSeconds / state.iterations();
    state.counters["ratio"] = pipelineSeconds > 0 ? engineSeconds / pipelineSeconds : 0;
    state.counters["progress_calls"] = progressCalls;
}

}  // namespace

BENCHMARK(BM_InstallOverExistingInstall)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
