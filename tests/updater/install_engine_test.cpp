#include "tests/support/zip_fixture.h"
#include "updater/install_engine.h"
#include "updater/update_language.h"
#include "updater/update_session.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include <sys/stat.h>

namespace {

class RecordingFeedback : public InstallFeedback
{
public:
    QStringList errors;
    QStringList retries;
    QStringList states;
    std::function<void(const QString&)> onError;
    std::function<bool(const QString&)> onRetry;

    void showInstallState(int textId, const QString& step) override { states << QString::number(textId) + step; }
    void setProgressMaximum(int) override {}
    void setProgressValue(int) override {}
    bool askRetry(const QString& text) override
    {
        retries << text;
        return onRetry ? onRetry(text) : false;
    }
    void showError(const QString& text) override
    {
        errors << text;
        if (onError)
            onError(text);
    }
};

}  // namespace

class InstallEngineTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir* m_dir = nullptr;
    QString m_install;
    QString m_work;
    UpdateSession m_session;
    RecordingFeedback m_feedback;

    QString archive() const { return m_work + QStringLiteral("/update.zip"); }

private slots:
    void initTestCase()
    {
        UpdateLanguage().load(QStringLiteral("ENU"));
    }

    void init()
    {
        m_dir = new QTemporaryDir;
        m_install = m_dir->filePath(QStringLiteral("install"));
        m_work = m_dir->filePath(QStringLiteral("work"));
        QDir().mkpath(m_work);
        WriteTestFile(m_install + QStringLiteral("/Dravik"), "old program", kExecutablePermissions);
        WriteTestFile(m_install + QStringLiteral("/Patchora"), "old updater", kExecutablePermissions);
        WriteTestFile(m_install + QStringLiteral("/Language/ENU.lng"), "old texts");
        WriteTestFile(m_install + QStringLiteral("/obsolete.txt"), "remove me");
        WriteTestFile(m_work + QStringLiteral("/UpdateVersion.inf"), "[Update]\nNewVersion=2\n");
        m_session = UpdateSession();
        m_session.managerParam[1] = m_work;
        m_session.managerParam[7] = m_install;
        m_session.infPath = m_work + QStringLiteral("/UpdateVersion.inf");
        m_session.updateFileName = QStringLiteral("update.zip");
        m_feedback = RecordingFeedback();
    }

    void cleanup()
    {
        delete m_dir;
        m_dir = nullptr;
    }

    void installsArchiveAndReplacesUpdater()
    {
        QVERIFY(MakeZip(archive(), {{QStringLiteral("Dravik"), "new program", kExecutablePermissions},
                                    {QStringLiteral("Language/DEU.lng"), "neue Texte"},
                                    {QStringLiteral("deep/er/file.txt"), "no folder entries above me"},
                                    {QStringLiteral("_Patchora_/"), QByteArray()},
                                    {QStringLiteral("_Patchora_/Patchora"), "new updater", kExecutablePermissions}}));
        m_session.deleteFiles = QStringList{QStringLiteral("obsolete.txt"), QString()};
        m_session.deleteFolders = QStringList{QStringLiteral("Language")};
        InstallEngine engine(m_session, m_feedback);
        QVERIFY(engine.installUpdate(archive()));
        QVERIFY2(m_feedback.errors.isEmpty(), qPrintable(m_feedback.errors.join('|')));

        QCOMPARE(ReadTestFile(m_install + QStringLiteral("/Dravik")), QByteArray("new program"));
        QVERIFY(QFileInfo(m_install + QStringLiteral("/Dravik")).isExecutable());
        QCOMPARE(ReadTestFile(m_install + QStringLiteral("/Language/DEU.lng")), QByteArray("neue Texte"));
        QCOMPARE(ReadTestFile(m_install + QStringLiteral("/deep/er/file.txt")), QByteArray("no folder entries above me"));
        QCOMPARE(ReadTestFile(m_install + QStringLiteral("/Patchora")), QByteArray("new updater"));
        QVERIFY(QFileInfo(m_install + QStringLiteral("/Patchora")).isExecutable());
        QCOMPARE(ReadTestFile(m_install + QStringLiteral("/Patchora-old")), QByteArray("old updater"));
        QVERIFY(!QFileInfo::exists(m_install + QStringLiteral("/_Patchora_")));
        QVERIFY(!QFileInfo::exists(m_install + QStringLiteral("/obsolete.txt")));
        // A listed folder that still holds files stays.
        QVERIFY(QFileInfo::exists(m_install + QStringLiteral("/Language/ENU.lng")));
        QCOMPARE(QDir(m_work).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        QCOMPARE(m_feedback.states.last(), QStringLiteral("2104Step: 5/5"));
    }

    void secondUpdaterEntryReplacesNothing()
    {
        QVERIFY(MakeZip(archive(), {{QStringLiteral("_Patchora_/Patchora"), "new updater", kExecutablePermissions},
                                    {QStringLiteral("_Patchora_/libextra.so"), "lib"}}));
        InstallEngine engine(m_session, m_feedback);
        QVERIFY(engine.installUpdate(archive()));
        QCOMPARE(ReadTestFile(m_install + QStringLiteral("/Patchora")), QByteArray("old updater"));
        QVERIFY(!QFileInfo::exists(m_install + QStringLiteral("/Patchora-old")));
    }

    void emptiedDeleteFolderIsRemovedButNotItsInstallFolder()
    {
        WriteTestFile(m_install + QStringLiteral("/plugins/old/a.so"), "a");
        QVERIFY(MakeZip(archive(), {{QStringLiteral("x.txt"), "x"}}));
        m_session.deleteFiles = QStringList{QStringLiteral("plugins/old/a.so")};
        m_session.deleteFolders = QStringList{QStringLiteral("plugins/old")};
        InstallEngine engine(m_session, m_feedback);
        QVERIFY(engine.installUpdate(archive()));
        QVERIFY(!QFileInfo::exists(m_install + QStringLiteral("/plugins")));
        QVERIFY(QFileInfo(m_install).isDir());
    }

    // A file standing where the archive needs a folder makes the copy fail half
    // way: everything goes back to how it was.
    void failedCopyRollsBack()
    {
        WriteTestFile(m_install + QStringLiteral("/blocker"), "a file, not a folder");
        QVERIFY(MakeZip(archive(), {{QStringLiteral("Dravik"), "new program", kExecutablePermissions},
                                    {QStringLiteral("added/new.txt"), "new"},
                                    {QStringLiteral("blocker/inside.txt"), "cannot land"},
                                    {QStringLiteral("_Patchora_/Patchora"), "new updater", kExecutablePermissions}}));
        const QMap<QString, QString> before = FolderSnapshot(m_install);
        InstallEngine engine(m_session, m_feedback);
        QVERIFY(!engine.installUpdate(archive()));
        QCOMPARE(m_feedback.errors, QStringList{QStringLiteral("Fail to copy new files.\nblocker/inside.txt")});
        QCOMPARE(FolderSnapshot(m_install).keys(), before.keys());
        QCOMPARE(FolderSnapshot(m_install), before);
        QVERIFY(!QFileInfo::exists(archive()));
        QVERIFY(!QFileInfo::exists(m_session.infPath));
        QVERIFY(!QFileInfo::exists(engine.backupFolder()));
    }

    void failedRestoreKeepsTheBackup()
    {
        WriteTestFile(m_install + QStringLiteral("/blocker"), "a file, not a folder");
        QVERIFY(MakeZip(archive(), {{QStringLiteral("Dravik"), "new program", kExecutablePermissions},
                                    {QStringLiteral("blocker/inside.txt"), "cannot land"}}));
        InstallEngine engine(m_session, m_feedback);
        // While the copy failure is shown, something takes the place of the
        // program so that it cannot be put back.
        m_feedback.onError = [this](const QString&) {
            QFile::remove(m_install + QStringLiteral("/Dravik"));
            WriteTestFile(m_install + QStringLiteral("/Dravik/held"), "in the way");
        };
        QVERIFY(!engine.installUpdate(archive()));
        QCOMPARE(m_feedback.errors.size(), 2);
        QVERIFY(m_feedback.errors.at(1).contains(engine.backupFolder()));
        QCOMPARE(ReadTestFile(engine.backupFolder() + QStringLiteral("/Dravik")), QByteArray("old program"));
    }

    // Something else under the parked name (a folder of the user's): the
    // self-replacement cannot park the updater, and the rollback must not
    // take that folder for the parked program.
    void parkedNameTakenByAFolder()
    {
        WriteTestFile(m_install + QStringLiteral("/Patchora-old/notes.txt"), "the user's");
        QVERIFY(MakeZip(archive(), {{QStringLiteral("Dravik"), "new program", kExecutablePermissions},
                                    {QStringLiteral("_Patchora_/Patchora"), "new updater", kExecutablePermissions}}));
        const QMap<QString, QString> before = FolderSnapshot(m_install);
        InstallEngine engine(m_session, m_feedback);
        QVERIFY(!engine.installUpdate(archive()));
        QCOMPARE(m_feedback.errors, QStringList{QStringLiteral("Fail to copy new files.\n")});
        QCOMPARE(FolderSnapshot(m_install), before);
        QVERIFY(!QFileInfo::exists(engine.backupFolder()));
    }

    // What this run parked was replaced by something else before the
    // rollback: it is not moved back, and the backup stays with the message.
    void parkedProgramReplacedKeepsTheBackup()
    {
        QVERIFY(MakeZip(archive(), {{QStringLiteral("Dravik"), "new program", kExecutablePermissions},
                                    {QStringLiteral("_Patchora_/Patchora"), "new updater", kExecutablePermissions}}));
        InstallEngine engine(m_session, m_feedback);
        QVERIFY(engine.backupInstallFolder(m_install, engine.backupFolder()));
        QVERIFY(engine.unzipUpdate(archive(), engine.stagingFolder()));
        QString failed;
        QVERIFY(engine.copyNewFiles(engine.stagingFolder(), m_install, &failed));
        QFile::remove(m_install + QStringLiteral("/Patchora-old"));
        WriteTestFile(m_install + QStringLiteral("/Patchora-old/held"), "not the parked program");
        QVERIFY(!engine.restoreBackup(engine.backupFolder(), m_install));
        QCOMPARE(ReadTestFile(m_install + QStringLiteral("/Patchora")), QByteArray("new updater"));
        QCOMPARE(ReadTestFile(m_install + QStringLiteral("/Patchora-old/held")), QByteArray("not the parked program"));
    }

    void entryModes_data()
    {
        QTest::addColumn<quint32>("mode");
        QTest::addColumn<bool>("installs");
        QTest::addColumn<int>("installedMode");
        QTest::newRow("link") << quint32(0120777) << false << 0;
        QTest::newRow("world-writable program") << quint32(0100777) << true << 0755;
        QTest::newRow("group-writable file") << quint32(0100664) << true << 0644;
    }
    void entryModes()
    {
        QFETCH(quint32, mode);
        QFETCH(bool, installs);
        QFETCH(int, installedMode);
        const QString outside = m_dir->filePath(QStringLiteral("outside.txt"));
        QVERIFY(MakeZip(archive(), {{QStringLiteral("Dravik"), "new program", kExecutablePermissions},
                                    {QStringLiteral("entry"), outside.toUtf8(), {}, false, mode},
                                    {QStringLiteral("entry2"), "written through the link?"}}));
        const QMap<QString, QString> before = FolderSnapshot(m_install);
        InstallEngine engine(m_session, m_feedback);
        QCOMPARE(engine.installUpdate(archive()), installs);
        QVERIFY(!QFileInfo::exists(outside));
        if (!installs) {
            QCOMPARE(m_feedback.errors, QStringList{QStringLiteral("Fail to unzip the update file.")});
            QCOMPARE(FolderSnapshot(m_install), before);
            return;
        }
        const QString installed = m_install + QStringLiteral("/entry");
        QVERIFY(QFileInfo(installed).isFile() && !QFileInfo(installed).isSymLink());
        struct stat status {};
        QCOMPARE(::stat(QFile::encodeName(installed).constData(), &status), 0);
        QCOMPARE(int(status.st_mode & 07777), installedMode);
    }

    void refusedArchives_data()
    {
        QTest::addColumn<QString>("badName");
        QTest::addColumn<bool>("damage");
        QTest::newRow("parent segment") << "../escaped.txt" << false;
        QTest::newRow("deep parent") << "a/../../escaped.txt" << false;
        QTest::newRow("absolute") << QString(QDir::tempPath() + "/escaped-absolute.txt") << false;
        QTest::newRow("backslash") << "a\\..\\..\\escaped.txt" << false;
        QTest::newRow("drive") << "C:escaped.txt" << false;
        QTest::newRow("empty segment") << "a//escaped.txt" << false;
        QTest::newRow("damaged entry") << "damaged.txt" << true;
    }

    // A compressed entry whose data cannot be inflated ends the unpack (it
    // must not be read over and over).
    void damagedCompressedEntry()
    {
        QByteArray text;
        for (int i = 0; i < 20000; ++i)
            text += QByteArray::number(i * 7919 % 10007) + ' ';
        QVERIFY(MakeZip(archive(), {{QStringLiteral("text.txt"), text, {}, true}}));
        QByteArray bytes = ReadTestFile(archive());
        const int data = 30 + QByteArray("text.txt").size();
        QVERIFY(bytes.size() > data + 400);
        // A final block of the reserved type: inflating fails at once.
        bytes[data] = char(0x07);
        WriteTestFile(archive(), bytes);
        InstallEngine engine(m_session, m_feedback);
        QVERIFY(!engine.unzipUpdate(archive(), engine.stagingFolder()));
    }
    void refusedArchives()
    {
        QFETCH(QString, badName);
        QFETCH(bool, damage);
        QVERIFY(MakeZip(archive(), {{QStringLiteral("Dravik"), "new program", kExecutablePermissions},
                                    {badName, "DAMAGE-ME-PAYLOAD"}}));
        if (damage) {
            QByteArray bytes = ReadTestFile(archive());
            const int at = bytes.indexOf("DAMAGE-ME-PAYLOAD");
            QVERIFY(at > 0);
            bytes[at] = 'X';
            WriteTestFile(archive(), bytes);
        }
        const QMap<QString, QString> before = FolderSnapshot(m_install);
        InstallEngine engine(m_session, m_feedback);
        QVERIFY(!engine.installUpdate(archive()));
        QCOMPARE(m_feedback.errors, QStringList{QStringLiteral("Fail to unzip the update file.")});
        QCOMPARE(FolderSnapshot(m_install), before);
        QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("escaped.txt"))));
        QVERIFY(!QFileInfo::exists(m_work + QStringLiteral("/escaped.txt")));
        QVERIFY(!QFileInfo::exists(QDir::tempPath() + QStringLiteral("/escaped-absolute.txt")));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/escaped.txt")));
    }

    void unreadableArchiveFailsTheBackup()
    {
        WriteTestFile(archive(), "this is not a zip file");
        InstallEngine engine(m_session, m_feedback);
        QVERIFY(!engine.installUpdate(archive()));
        QCOMPARE(m_feedback.errors, QStringList{QStringLiteral("Fail to backup.")});
        QVERIFY(!QFileInfo::exists(archive()));
    }

    void fileThatCannotBeCreatedAsksForRetry_data()
    {
        QTest::addColumn<bool>("freeIt");
        QTest::newRow("retry after freeing") << true;
        QTest::newRow("cancel") << false;
    }
    void fileThatCannotBeCreatedAsksForRetry()
    {
        QFETCH(bool, freeIt);
        QVERIFY(MakeZip(archive(), {{QStringLiteral("Dravik"), "new program", kExecutablePermissions}}));
        InstallEngine engine(m_session, m_feedback);
        WriteTestFile(engine.stagingFolder() + QStringLiteral("/Dravik/held"), "in the way");
        m_feedback.onRetry = [&](const QString&) {
            if (freeIt)
                QDir(engine.stagingFolder() + QStringLiteral("/Dravik")).removeRecursively();
            return freeIt;
        };
        QVERIFY(engine.unzipUpdate(archive(), engine.stagingFolder()) == freeIt);
        QCOMPARE(m_feedback.retries, QStringList{QStringLiteral("Fail to overwrite. Dravik")});
        if (freeIt)
            QCOMPARE(ReadTestFile(engine.stagingFolder() + QStringLiteral("/Dravik")), QByteArray("new program"));
    }

    void listedProgramsRunAndReportFailures()
    {
        const QString marker = m_dir->filePath(QStringLiteral("ran.txt"));
        WriteTestFile(m_install + QStringLiteral("/setup.sh"),
                  QStringLiteral("#!/bin/sh\necho \"$PWD|$*\" > '%1'\n").arg(marker).toUtf8(), kExecutablePermissions);
        m_session.exeFiles = QStringList{QStringLiteral("setup.sh"), QStringLiteral("missing"),
                                         QStringLiteral("setup.sh")};
        m_session.exeParams = QStringList{QStringLiteral("--mode \"a b\""), QString(), QStringLiteral("again")};
        InstallEngine engine(m_session, m_feedback);
        engine.executeListedFiles(m_install);
        QCOMPARE(ReadTestFile(marker), (m_install + QStringLiteral("|--mode a b\n")).toUtf8());
        QCOMPARE(m_feedback.errors,
                 QStringList{QStringLiteral("Fail to run.\nmissing\n\nNo such file or directory(Error Code = 2)")});
    }

    void registrationUsesTheConfiguredTool()
    {
        m_session.regFiles = QStringList{QStringLiteral("lib/a.so"), QStringLiteral("lib/b.so")};
        InstallEngine engine(m_session, m_feedback);
        qputenv("DRAVIK_REGISTER_TOOL", m_dir->filePath(QStringLiteral("no-such-tool")).toUtf8());
        engine.registerListedServers(m_install);
        QCOMPARE(m_feedback.errors,
                 QStringList{QStringLiteral("Fail to register.\n\nNo such file or directory(Error Code = 2)")});

        m_feedback.errors.clear();
        const QString record = m_dir->filePath(QStringLiteral("registered.txt"));
        const QString tool = m_dir->filePath(QStringLiteral("register.sh"));
        WriteTestFile(tool, QStringLiteral("#!/bin/sh\necho \"$*\" >> '%1'\n").arg(record).toUtf8(), kExecutablePermissions);
        qputenv("DRAVIK_REGISTER_TOOL", tool.toUtf8());
        engine.registerListedServers(m_install);
        qunsetenv("DRAVIK_REGISTER_TOOL");
        QVERIFY(m_feedback.errors.isEmpty());
        QCOMPARE(ReadTestFile(record), QStringLiteral("/s %1/lib/a.so\n/s %1/lib/b.so\n").arg(m_install).toUtf8());
    }

    void removeTreeUnlinksLinks()
    {
        const QString outside = m_dir->filePath(QStringLiteral("outside"));
        WriteTestFile(outside + QStringLiteral("/precious.txt"), "keep");
        const QString tree = m_dir->filePath(QStringLiteral("tree"));
        WriteTestFile(tree + QStringLiteral("/sub/file.txt"), "x");
        QVERIFY(QFile::link(outside, tree + QStringLiteral("/sub/link")));
        QVERIFY(QFile::link(outside + QStringLiteral("/precious.txt"), tree + QStringLiteral("/filelink")));
        QVERIFY(removeTree(tree));
        QVERIFY(!QFileInfo::exists(tree));
        QCOMPARE(ReadTestFile(outside + QStringLiteral("/precious.txt")), QByteArray("keep"));
        QVERIFY(removeTree(tree));
    }
};

QTEST_GUILESS_MAIN(InstallEngineTest)
#include "install_engine_test.moc"
