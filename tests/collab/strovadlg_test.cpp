#include "app/ui/dialog.h"
#include "collab/strova_record.h"
#include "collab/ui/strovadlg.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

using namespace strova;

namespace {

// A lecture server on 127.0.0.1 for one test: it keeps every byte the dialog
// sends and replies with whatever records the test writes.
class LectureServer : public QObject
{
public:
    LectureServer()
    {
        m_server.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this]() {
            while (QTcpSocket* s = m_server.nextPendingConnection()) {
                ++connections;
                peer = s;
                received.clear();
                connect(s, &QTcpSocket::readyRead, this, [this, s]() {
                    if (s == peer)
                        received += s->readAll();
                });
                connect(s, &QTcpSocket::disconnected, this, [this, s]() {
                    if (s == peer)
                        closed = true;
                });
            }
        });
    }
    QString port() const { return QString::number(m_server.serverPort()); }
    void Reply(const QByteArray& bytes)
    {
        peer->write(bytes);
        peer->flush();
    }
    // The record at `index` of what was received, when it is there.
    bool RecordAt(int index, StrovaRecord* record) const
    {
        if (received.size() < (index + 1) * kRecordSize)
            return false;
        *record = DecodeRecord(received.constData() + index * kRecordSize);
        return true;
    }
    int connections = 0;
    bool closed = false;
    QPointer<QTcpSocket> peer;
    QByteArray received;

private:
    QTcpServer m_server;
};

template <typename T>
T* Child(StrovaDlg& dlg, const char* name)
{
    return dlg.findChild<T*>(QLatin1String(name));
}

bool Logged(const QString& line) { return g_log.contains(line); }

}  // namespace

class StrovaDlgTest : public QObject
{
    Q_OBJECT

private:
    // Logs in with the dialog against `server`, answers 4 and a two-entry
    // list and waits for both to show.
    void LogIn(StrovaDlg& dlg, LectureServer& server)
    {
        dlg.SetSaveInfo(QString(), 0, QStringLiteral("127.0.0.1"), server.port());
        Child<QLineEdit>(dlg, "lineEditID")->setText(QStringLiteral("teacher"));
        Child<QLineEdit>(dlg, "lineEditPass")->setText(QStringLiteral("pw"));
        dlg.clickLogin();
        QTRY_COMPARE(server.received.size(), kRecordSize);
        server.received.clear();
        server.Reply(EncodeRecord(LoginAccepted, 0, QString()) + EncodeRecord(CategoryList, 0, "3;Math/7;Physics"));
        QTRY_COMPARE(Child<QComboBox>(dlg, "comboCategory")->count(), 2);
        QTRY_COMPARE(server.received.size(), kRecordSize);  // the list request
        server.received.clear();
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        qInstallMessageHandler(CollectLog);
    }

    void formAndTexts()
    {
        StrovaDlg dlg;
        QCOMPARE(dlg.size(), QSize(400, 420));
        QCOMPARE(dlg.windowTitle(), QString("Strova"));
        QVERIFY(!Child<QPushButton>(dlg, "pushUpload")->isEnabled());
        QStringList common{"a", "b", "c", "Close it"};
        QStringList upload;
        for (int i = 0; i < 18; ++i)
            upload << QStringLiteral("u%1").arg(i);
        dlg.SetLanguage(&common, &upload);
        QCOMPARE(dlg.windowTitle(), QString("u0"));
        QCOMPARE(Child<QPushButton>(dlg, "pushLogin")->text(), QString("u4"));
        QCOMPARE(Child<QPushButton>(dlg, "pushUpload")->text(), QString("u11"));
        QCOMPARE(Child<QCheckBox>(dlg, "Check_SaveID")->text(), QString("u17"));
        QCOMPARE(Child<QPushButton>(dlg, "pushClose")->text(), QString("Close it"));
        QStringList shortList{"only title"};
        dlg.SetLanguage(&common, &shortList);  // a short list must not crash
        QCOMPARE(dlg.windowTitle(), QString("only title"));
    }

    void portIsKeptUnlessPositive_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("expected");
        QTest::newRow("number") << "6100" << 6100;
        QTest::newRow("zero") << "0" << 5555;
        QTest::newRow("negative") << "-4" << 5555;
        QTest::newRow("text") << "abc" << 5555;
    }

    void portIsKeptUnlessPositive()
    {
        QFETCH(QString, port);
        QFETCH(int, expected);
        StrovaDlg dlg;
        dlg.SetSaveInfo(QString(), 0, QStringLiteral("127.0.0.1"), QStringLiteral("5555"));
        dlg.SetSaveInfo(QString(), 0, QStringLiteral("127.0.0.1"), port);
        QCOMPARE(dlg.port(), expected);
    }

    void loginAndCategoryList()
    {
        LectureServer server;
        StrovaDlg dlg;
        dlg.SetSaveInfo(QString(), 0, QStringLiteral("127.0.0.1"), server.port());
        auto* id = Child<QLineEdit>(dlg, "lineEditID");
        auto* pass = Child<QLineEdit>(dlg, "lineEditPass");
        id->setText("teacher");
        dlg.clickLogin();  // no password: nothing happens
        QTest::qWait(50);  // a connection that must not come gives no sign to wait for
        QCOMPARE(server.connections, 0);

        pass->setText("pw");
        dlg.clickLogin();
        StrovaRecord record;
        QTRY_VERIFY(server.RecordAt(0, &record));
        QCOMPARE(record.command, 3);
        QCOMPARE(record.argument, 0);
        QCOMPARE(record.text, QString("teacher;pw"));
        QCOMPARE(server.received, EncodeRecord(3, 0, "teacher;pw"));

        // Refused: the box, the connection stays.
        g_log.clear();
        server.Reply(EncodeRecord(LoginRefused, 0, QString()));
        QTRY_VERIFY(Logged("message box warning: Login Failure | login failure"));
        QVERIFY(!Child<QPushButton>(dlg, "pushUpload")->isEnabled());

        // Accepted and the list in one write: both handled, a list request follows.
        server.received.clear();
        server.Reply(EncodeRecord(LoginAccepted, 0, QString()) + EncodeRecord(CategoryList, 0, "3;Math/7;Physics/"));
        auto* combo = Child<QComboBox>(dlg, "comboCategory");
        QTRY_COMPARE(combo->count(), 2);
        QVERIFY(Child<QPushButton>(dlg, "pushUpload")->isEnabled());
        QTRY_VERIFY(server.RecordAt(0, &record));
        QCOMPARE(record.command, 6);

        // A list split over two writes is read whole, and appends.
        const QByteArray list = EncodeRecord(CategoryList, 0, "3;Math/7;Physics");
        server.Reply(list.left(300));
        QTest::qWait(50);  // half a record gives no sign to wait for: the moment it takes to arrive
        QCOMPARE(combo->count(), 2);
        server.Reply(list.mid(300));
        QTRY_COMPARE(combo->count(), 4);
        QCOMPARE(combo->itemText(1), QString("Physics"));
    }

    void secondLoginClosesTheFirstConnection()
    {
        LectureServer server;
        StrovaDlg dlg;
        LogIn(dlg, server);
        QPointer<QTcpSocket> first = server.peer;
        dlg.clickLogin();
        QTRY_COMPARE(server.connections, 2);
        QTRY_VERIFY(!first || first->state() == QAbstractSocket::UnconnectedState);
        QTRY_COMPARE(dlg.findChildren<QTcpSocket*>().size(), 1);
    }

    void uploadRoad_data()
    {
        QTest::addColumn<int>("reply");      // the server's answer to the request
        QTest::addColumn<int>("countDelta");  // how far its count is off
        QTest::addColumn<QString>("barText");
        QTest::addColumn<QString>("box");
        QTest::newRow("complete") << 8 << 0 << "3. Upload Complete!" << "";
        QTest::newRow("size mismatch") << 8 << -1 << "2. Uploading file..."
                                       << "message box warning: Transfer Error | fail to file transfer";
        QTest::newRow("refused") << 9 << 0 << "1. Checking Server..." << "";
    }

    void uploadRoad()
    {
        QFETCH(int, reply);
        QFETCH(int, countDelta);
        QFETCH(QString, barText);
        QFETCH(QString, box);
        QTemporaryDir folder;
        const QString path = folder.filePath("lesson.iic");
        QByteArray contents(1000, '\0');
        for (int i = 0; i < contents.size(); ++i)
            contents[i] = char(i * 7);
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(contents);
        }
        LectureServer server;
        StrovaDlg dlg;
        LogIn(dlg, server);
        Child<QComboBox>(dlg, "comboCategory")->setCurrentIndex(1);
        Child<QLineEdit>(dlg, "lineEditCon")->setText(path);
        Child<QLineEdit>(dlg, "lineEditTitle")->setText("Heat");
        Child<QLineEdit>(dlg, "lineEditDesc")->setText("week 3");
        dlg.clickUpload();
        StrovaRecord record;
        QTRY_VERIFY(server.RecordAt(0, &record));
        QCOMPARE(record.command, 8);
        QCOMPARE(record.text, QString("lesson.iic;7;Heat;week 3"));
        auto* bar = Child<QProgressBar>(dlg, "progressBar");
        QCOMPARE(bar->format(), QString("1. Checking Server..."));
        server.received.clear();
        g_log.clear();
        server.Reply(EncodeRecord(reply, 0, QString()));
        if (reply == 8) {
            const QByteArray expected = EncodeRecord(10, 1000, "lesson.iic") + QByteArray::fromHex("000003e8") + contents;
            QTRY_COMPARE(server.received.size(), expected.size());
            QCOMPARE(server.received, expected);
            server.Reply(EncodeRecord(TransferDone, 1000 + countDelta, QString()));
        }
        if (!box.isEmpty())
            QTRY_VERIFY(Logged(box));
        QTRY_COMPARE(bar->format(), barText);
        // A step that must not follow gives no sign to wait for; a refused
        // upload (9) would start its next step after 300 ms.
        QTest::qWait(reply == 9 ? 400 : 150);
        QCOMPARE(bar->format(), barText);
        if (reply == 9)
            QVERIFY(server.received.isEmpty());
    }

    void uploadInputErrors()
    {
        LectureServer server;
        StrovaDlg dlg;
        LogIn(dlg, server);
        g_log.clear();
        dlg.clickUpload();
        QVERIFY(Logged("message box warning: File Select Error | not select file"));

        Child<QLineEdit>(dlg, "lineEditCon")->setText("/nonexistent/none.iic");
        dlg.clickUpload();
        StrovaRecord record;
        QTRY_VERIFY(server.RecordAt(0, &record));
        server.Reply(EncodeRecord(UploadRequest, 0, QString()));
        QTRY_VERIFY(Logged("message box warning: File Open Error | Error file can't be opened"));
        QTest::qWait(50);  // a record that must not go out gives no sign to wait for
        QCOMPARE(server.received.size(), kRecordSize);  // no file record went out

        // A package past the 32-bit count is refused before anything is sent
        // (a sparse file, so the test writes nothing).
        QTemporaryDir folder;
        QFile big(folder.filePath("big.iic"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(qint64(1) << 31));
        big.close();
        server.received.clear();
        g_log.clear();
        Child<QLineEdit>(dlg, "lineEditCon")->setText(big.fileName());
        dlg.clickUpload();
        QTRY_VERIFY(server.RecordAt(0, &record));
        server.Reply(EncodeRecord(UploadRequest, 0, QString()));
        QTRY_VERIFY(Logged("message box warning: File Open Error | Error file can't be opened"));
        QTest::qWait(50);  // a record that must not go out gives no sign to wait for
        QCOMPARE(server.received.size(), kRecordSize);

        // No category to file it under: nothing is sent.
        server.received.clear();
        Child<QComboBox>(dlg, "comboCategory")->setCurrentIndex(-1);
        dlg.clickUpload();
        QVERIFY(Logged("message box warning: Lecture Select Error | not select lecture"));
        QTest::qWait(400);  // past the 300 ms after which an upload would start; nothing to wait for
        QVERIFY(server.received.isEmpty());
    }

    void closingSendsEndAndReportsTheId_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<int>("state");
        QTest::newRow("not ticked") << false << 0;
        QTest::newRow("ticked") << true << 2;
    }

    void closingSendsEndAndReportsTheId()
    {
        QFETCH(bool, ticked);
        QFETCH(int, state);
        LectureServer server;
        StrovaDlg dlg;
        LogIn(dlg, server);
        Child<QCheckBox>(dlg, "Check_SaveID")->setChecked(ticked);
        QSignalSpy closed(&dlg, &StrovaDlg::StrovaWindowClose);
        dlg.show();
        dlg.clickClose();
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed.at(0).at(0).toString(), QString("teacher"));
        QCOMPARE(closed.at(0).at(1).toInt(), state);
        QTRY_VERIFY(server.closed);
        QCOMPARE(server.received, EncodeRecord(End, 0, QString()));
        QVERIFY(Child<QLineEdit>(dlg, "lineEditID")->text().isEmpty());
        QCOMPARE(Child<QComboBox>(dlg, "comboCategory")->count(), 0);
        QVERIFY(!Child<QPushButton>(dlg, "pushUpload")->isEnabled());

        // The next opening shows the ID only when it was remembered.
        dlg.SetSaveInfo(ticked ? "teacher" : "", state, "127.0.0.1", server.port());
        QCOMPARE(Child<QLineEdit>(dlg, "lineEditID")->text(), ticked ? QString("teacher") : QString());
    }

    // The main window's own dialog is the real one, wired to its slots.
    void mainWindowHoldsTheDialog()
    {
        ScopedFolderRoot root;
        QTemporaryDir noLibraries;
        ScopedLibraryFolder libraries(noLibraries.path());
        Dialog dialog;
        dialog.InitDialog(false);
        QVERIFY(dialog.m_strovaDlg);
        QCOMPARE(dialog.m_strovaDlg->objectName(), QString("StrovaDlg"));
        LectureServer server;
        LogIn(*dialog.m_strovaDlg, server);
        QVERIFY(Child<QPushButton>(*dialog.m_strovaDlg, "pushUpload")->isEnabled());
        QSignalSpy keyboard(dialog.m_strovaDlg, &StrovaDlg::CallVirtualKeyboard);
        Child<QPushButton>(*dialog.m_strovaDlg, "keybtn")->click();
        QCOMPARE(keyboard.count(), 1);
        dialog.m_strovaDlg->close();
        QTRY_VERIFY(server.closed);
    }

    // Closing the main window's dialog writes the login into the settings
    // file, and the next opening through the toolbar command shows it.
    void mainWindowKeepsTheLogin_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<int>("saveId");
        QTest::addColumn<QString>("id");
        QTest::newRow("not ticked") << false << 0 << "";
        QTest::newRow("ticked") << true << 1 << "teacher";
    }

    void mainWindowKeepsTheLogin()
    {
        QFETCH(bool, ticked);
        QFETCH(int, saveId);
        QFETCH(QString, id);
        // A window closed earlier in this program asked the application to
        // quit, which ends every modal loop at once; a short run of the
        // application's own loop clears that.
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
        ScopedFolderRoot root;
        QTemporaryDir noLibraries;
        ScopedLibraryFolder libraries(noLibraries.path());
        Dialog dialog;
        dialog.InitDialog(false);
        StrovaDlg& dlg = *dialog.m_strovaDlg;
        LectureServer server;
        LogIn(dlg, server);
        Child<QCheckBox>(dlg, "Check_SaveID")->setChecked(ticked);
        QFile::remove(dialog.m_configFilePath);
        dlg.show();
        dlg.clickClose();
        QTRY_VERIFY(server.closed);

        QSettings file(dialog.m_configFilePath, QSettings::IniFormat);
        QCOMPARE(file.value("Strova/SaveID").toInt(), saveId);
        QVERIFY(file.contains("Strova/ID"));
        QCOMPARE(file.value("Strova/ID").toString(), id);

        QString shown = "(not opened)";
        QTimer::singleShot(200, &dlg, [&]() {
            shown = Child<QLineEdit>(dlg, "lineEditID")->text();
            dlg.close();
        });
        dialog.OptStrovaBtn();
        QCOMPARE(shown, id);
    }
};

QTEST_MAIN(StrovaDlgTest)
#include "strovadlg_test.moc"
