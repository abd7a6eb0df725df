// The lecture upload as a teacher does it: the toolbar's upload button opens
// the dialog with the language file's captions, a login and an upload go to a
// lecture server on 127.0.0.1, and the progress bar shows each step.
#include "app/ui/dialog.h"
#include "collab/strova_record.h"
#include "collab/ui/strovadlg.h"
#include "storage/settings_file.h"
#include "tests/support/running_program.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"
#include "ui_dialog.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>
#include <QtTest>

#include <memory>

using namespace strova;

namespace {

QString N(int v) { return QString::number(v); }

// A lecture server that answers as the real one: login accepted with a
// two-entry category list, the upload accepted, and the count of the bytes
// that came. Each answer to an upload step waits `holdMs`, so the dialog's
// step can be seen.
class ScriptedServer : public QObject
{
public:
    explicit ScriptedServer(int holdMs) : m_holdMs(holdMs)
    {
        m_server.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this]() {
            while (QTcpSocket* s = m_server.nextPendingConnection()) {
                m_peer = s;
                m_buffer.clear();
                connect(s, &QTcpSocket::readyRead, this, [this, s]() {
                    if (s != m_peer)
                        return;
                    m_buffer += s->readAll();
                    Handle();
                });
            }
        });
    }
    QString port() const { return N(m_server.serverPort()); }

    QList<StrovaRecord> records;
    QByteArray fileBytes;
    qint64 announced = -1;

private:
    void Handle()
    {
        for (;;) {
            if (m_fileLeft > 0) {
                const int take = int(qMin<qint64>(m_fileLeft, m_buffer.size()));
                if (take == 0)
                    return;
                fileBytes += m_buffer.left(take);
                m_buffer.remove(0, take);
                m_fileLeft -= take;
                if (m_fileLeft == 0)
                    Later(EncodeRecord(TransferDone, qint32(fileBytes.size()), QString()));
                continue;
            }
            if (m_expectCount) {
                if (m_buffer.size() < 4)
                    return;
                announced = qFromBigEndian<quint32>(reinterpret_cast<const uchar*>(m_buffer.constData()));
                m_buffer.remove(0, 4);
                m_expectCount = false;
                m_fileLeft = announced;
                continue;
            }
            if (m_buffer.size() < kRecordSize)
                return;
            const StrovaRecord r = DecodeRecord(m_buffer.constData());
            m_buffer.remove(0, kRecordSize);
            records << r;
            if (r.command == Login) {
                m_peer->write(EncodeRecord(LoginAccepted, 0, QString())
                              + EncodeRecord(CategoryList, 0, QStringLiteral("3;Math/7;Physics/")));
            } else if (r.command == UploadRequest) {
                Later(EncodeRecord(UploadRequest, 0, QString()));
            } else if (r.command == FileFollows) {
                m_expectCount = true;
            }
        }
    }
    void Later(const QByteArray& reply)
    {
        QPointer<QTcpSocket> peer = m_peer;
        QTimer::singleShot(m_holdMs, this, [peer, reply]() {
            if (peer)
                peer->write(reply);
        });
    }

    QTcpServer m_server;
    QPointer<QTcpSocket> m_peer;
    QByteArray m_buffer;
    bool m_expectCount = false;
    qint64 m_fileLeft = 0;
    int m_holdMs;
};

}  // namespace

class StrovaProgramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    QTemporaryDir m_noLibraries;
    QTemporaryDir m_files;

    QImage Screen(const QString& name)
    {
        const QString path = m_root->path() + "/" + name;
        QProcess::execute("import", {"-window", "root", path});
        return QImage(path);
    }

private slots:
    void uploadThroughTheToolbarButton()
    {
        m_root = std::make_unique<ScopedFolderRoot>();
        ScriptedServer server(1500);

        // A settings file pointing the upload at the test's server.
        const SettingsFolders folders = PrepareSettingsFolders();
        ConfigInfomation config;
        SetConfigDefaults(&config, folders, 1280, 800, false);
        config.Server = QStringLiteral("127.0.0.1");
        config.Port = server.port();
        QVERIFY(WriteConfigFile(folders.configFile, config));

        // Where the buttons and the dialog's fields are, from the same layout.
        QPoint strovaButton;
        QString title;
        QMap<QString, QPoint> field;  // centres within the dialog
        QRect bar;                    // the progress bar within the dialog
        {
            qputenv("DRAVIK_NO_MODAL", "1");
            ScopedLibraryFolder libraries(m_noLibraries.path());
            Dialog layout;
            layout.InitDialog(false);
            QVERIFY(layout.ui->btn_Strova->isVisibleTo(&layout));
            strovaButton = layout.ui->btn_Strova->geometry().center() + QPoint(layout.m_canvasLeft, 0);
            StrovaDlg* dlg = layout.m_strovaDlg;
            dlg->SetLanguage(&layout.m_lang.common, &layout.m_lang.upload);
            title = dlg->windowTitle();
            for (const char* name : {"lineEditID", "lineEditPass", "pushLogin", "lineEditCon", "lineEditTitle",
                                     "lineEditDesc", "pushUpload", "pushClose"}) {
                QWidget* w = dlg->findChild<QWidget*>(QLatin1String(name));
                QVERIFY2(w, name);
                field.insert(name, w->mapTo(dlg, w->rect().center()));
            }
            QWidget* progress = dlg->findChild<QWidget*>(QStringLiteral("progressBar"));
            QVERIFY(progress);
            bar = QRect(progress->mapTo(dlg, QPoint(0, 0)), progress->size());
        }
        QVERIFY(!title.isEmpty());

        QByteArray package(3 * 1024 * 1024 + 17, '\0');
        for (int i = 0; i < package.size(); ++i)
            package[i] = char(i * 7 + i / 4096);
        const QString packagePath = m_files.path() + "/lesson.iic";
        {
            QFile f(packagePath);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QCOMPARE(f.write(package), qint64(package.size()));
        }

        RunningProgram board;
        QProcessEnvironment env;
        env.insert("DRAVIK_NO_MODAL", "1");
        QVERIFY(StartWhiteboard(board, {"/noAutoUpdate"}, env));
        QVERIFY2(board.waitForLine("time Done", 20000) >= 0, "the splash screen did not close within 20 s");

        Xdotool({"mousemove", N(strovaButton.x()), N(strovaButton.y()), "click", "1"});
        const QStringList windows = WaitForXWindows("^" + QRegularExpression::escape(title) + "$", 10000, board.pid());
        QVERIFY2(!windows.isEmpty(), qPrintable(board.lines().join('\n')));
        const QRect placed = WaitForXWindowGeometry(windows.first());
        QVERIFY(!placed.isEmpty());
        const QPoint origin = placed.topLeft();
        // With the keyboard on the dialog, a click moves it to a field at
        // once and the keys typed after it follow in order.
        QVERIFY(GiveKeyboard(windows.first()));
        auto click = [&](const char* name) {
            const QPoint p = origin + field.value(name);
            Xdotool({"mousemove", N(p.x()), N(p.y()), "click", "1"});
        };
        auto type = [&](const char* name, const QString& text) {
            click(name);
            Xdotool({"type", "--delay", "5", text});
        };
        // How far the bar is filled: the share of its middle row in the
        // highlight's blue.
        auto filled = [&](const QImage& shot) {
            const QRect r = bar.translated(origin);
            int n = 0;
            for (int x = r.left() + 2; x < r.right() - 1; ++x) {
                const QColor c = shot.pixelColor(x, r.center().y() + 6);
                n += (c.blue() > 150 && c.red() < 120) ? 1 : 0;
            }
            return double(n) / (r.width() - 3);
        };
        // The fill once the bar shows it between `low` and `high`, within a
        // deadline; the last fill seen when it never did.
        auto filledWithin = [&](const char* name, double low, double high) {
            return filled(ScreenshotWhen(
                m_root->path() + "/" + name,
                [&](const QImage& shot) { return filled(shot) > low && filled(shot) < high; }, 10000));
        };
        Screen("opened.png");

        type("lineEditID", "teacher");
        type("lineEditPass", "secret");
        click("pushLogin");
        QTRY_VERIFY_WITH_TIMEOUT(server.records.size() >= 2, 10000);
        QCOMPARE(server.records.at(0).command, qint32(Login));
        QCOMPARE(server.records.at(0).text, QString("teacher;secret"));
        QCOMPARE(server.records.at(1).command, qint32(ListRequest));

        // The list request goes out right after the inputs are enabled.
        type("lineEditCon", packagePath);
        type("lineEditTitle", "Waves");
        type("lineEditDesc", "Week 3");
        click("pushUpload");
        QTRY_VERIFY_WITH_TIMEOUT(server.records.size() >= 3, 10000);
        QCOMPARE(server.records.at(2).command, qint32(UploadRequest));
        QCOMPARE(server.records.at(2).text, QString("lesson.iic;3;Waves;Week 3"));
        const double step1 = filledWithin("step1.png", 0.15, 0.45);

        QTRY_VERIFY_WITH_TIMEOUT(server.fileBytes.size() == package.size(), 20000);
        QCOMPARE(server.records.at(3).command, qint32(FileFollows));
        QCOMPARE(server.records.at(3).argument, qint32(package.size()));
        QCOMPARE(server.records.at(3).text, QString("lesson.iic"));
        QCOMPARE(server.announced, qint64(package.size()));
        QVERIFY(server.fileBytes == package);
        const double step2 = filledWithin("step2.png", 0.45, 0.75);

        // The server answers from this program's event loop: wait turning it.
        QTRY_VERIFY_WITH_TIMEOUT(board.hasLine("transfer done."), 10000);
        const double step3 = filledWithin("step3.png", 0.9, 1.1);
        QVERIFY2(step1 > 0.15 && step1 < 0.45 && step2 > 0.45 && step2 < 0.75 && step3 > 0.9,
                 qPrintable(QString("%1 %2 %3").arg(step1).arg(step2).arg(step3)));
        QVERIFY(!board.hasLine("message box"));

        click("pushClose");
        QTRY_VERIFY_WITH_TIMEOUT(server.records.size() >= 5, 10000);
        QCOMPARE(server.records.at(4).command, qint32(End));
        QCOMPARE(CloseWhiteboard(board), 0);
    }
};

QTEST_MAIN(StrovaProgramTest)
#include "strova_program_xtest.moc"
