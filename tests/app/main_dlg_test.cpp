// The top-level window's messages as other processes send them: touch points
// of the pen driver landing on their pointer slot, the driver's greeting and
// the board modes sent back to it, and the second copy's hand-off.
#include "app/startup.h"
#include "app/ui/dialog.h"
#include "app/ui/main_dlg.h"
#include "platform/file_names.h"
#include "platform/window_messages.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"

#include <QtTest>

#include <memory>

using platform::MessageWindow;
using platform::SendWindowMessage;
using platform::WindowMessage;

class MainDlgTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    mainDlg* m_window = nullptr;
    Dialog* m_board = nullptr;

    // A stand-in of the pen driver's window in this process.
    std::unique_ptr<MessageWindow> m_driver;
    QList<WindowMessage> m_driverReceived;

    void registerDriver()
    {
        m_driver = std::make_unique<MessageWindow>(QStringLiteral("QWidget"), QStringLiteral("Stylane"));
        QVERIFY(m_driver->isRegistered());
        m_driver->setHandler([this](const WindowMessage& message) {
            m_driverReceived << message;
            return qint64(0);
        });
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        platform::UseLosslessFileNames();
        m_root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(m_root->isValid());
        qInstallMessageHandler(CollectLog);
    }

    void cleanupTestCase()
    {
        qInstallMessageHandler(nullptr);
        m_root.reset();
    }

    void init()
    {
        g_log.clear();
        m_driverReceived.clear();
        m_window = new mainDlg(nullptr);
        QVERIFY(m_window->messageHandle() != 0);
        m_board = m_window->dialog();
        m_window->resize(800, 600);
        m_board->setGeometry(0, 0, 800, 600);
        m_board->InitBoardModel();
        m_board->ResetBoard(false);
        m_window->show();
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
        m_driver.reset();
    }

    void touchMessagesDrawOnTheirPointer_data()
    {
        QTest::addColumn<quint32>("firstMessage");
        QTest::addColumn<int>("slot");  // -1: no pointer at all
        QTest::newRow("pointer 1") << quint32(1139) << 1;
        QTest::newRow("pointer 5") << quint32(1143) << 5;
        QTest::newRow("pointer 9") << quint32(1147) << 9;
        QTest::newRow("one past pointer 9") << quint32(1148) << -1;
        QTest::newRow("one before pointer 1") << quint32(1138) << -1;
    }

    void touchMessagesDrawOnTheirPointer()
    {
        QFETCH(quint32, firstMessage);
        QFETCH(int, slot);
        const platform::WindowHandle window = m_window->messageHandle();
        QVERIFY(SendWindowMessage(window, firstMessage, platform::MakePointParam(500, 100), 50, nullptr, 5000));
        QVERIFY(SendWindowMessage(window, firstMessage, platform::MakePointParam(530, 110), 10, nullptr, 5000));
        QVERIFY(SendWindowMessage(window, firstMessage, platform::MakePointParam(550, 120), 10, nullptr, 5000));
        QVERIFY(SendWindowMessage(window, firstMessage, platform::MakePointParam(550, 120), 60, nullptr, 5000));

        for (int s = 0; s < 11; ++s) {
            const SlotRecords& records = m_board->m_board.slot[s].records;
            if (s != slot) {
                QVERIFY2(records.masters().isEmpty(), qPrintable(QString::number(s)));
                continue;
            }
            QCOMPARE(records.masters().size(), 1);
            QCOMPARE(records.details().first().S, QPointF(500, 100));
            QCOMPARE(records.details().first().E, QPointF(550, 120));
        }
    }

    void greetingFromDriverIsAnswered()
    {
        registerDriver();
        // The driver greets first; the answer follows without the board
        // waiting for the driver.
        QVERIFY(SendWindowMessage(m_window->messageHandle(), 2024, m_driver->handle(), 0, nullptr, 5000));
        QTRY_COMPARE_WITH_TIMEOUT(m_driverReceived.size(), 1, 5000);
        QCOMPARE(m_driverReceived.at(0).message, quint32(2024));
        QCOMPARE(m_driverReceived.at(0).wParam, quint64(m_window->messageHandle()));
        QCOMPARE(m_driverReceived.at(0).lParam, qint64(1));

        // The board now knows the driver's window.
        m_board->SendPenDriverMode(QStringLiteral("Panser"));
        QTRY_COMPARE_WITH_TIMEOUT(m_driverReceived.size(), 2, 5000);
        QCOMPARE(m_driverReceived.at(1).message, quint32(2025));
    }

    // A greeting that names the board itself is not answered: the board would
    // greet itself for ever. The board goes on taking messages.
    void greetingNamingTheBoardIsRefused()
    {
        const platform::WindowHandle window = m_window->messageHandle();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(SendWindowMessage(window, 2024, window, 1, nullptr, 5000));
        QVERIFY(SendWindowMessage(window, 1139, platform::MakePointParam(500, 100), 50, nullptr, 5000));
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(g_log.filter(QStringLiteral("greeting naming window")).size(), 1);
        QVERIFY(g_log.filter(QStringLiteral("Get_Target_hWnd")).isEmpty());
        QVERIFY(m_board->m_board.slot[1].pressed);
    }

    // A driver that answers every greeting with a greeting: its answer to
    // ours is taken as the reply it is, so the two do not greet for ever.
    void greetingBackIsNotAnsweredAgain()
    {
        registerDriver();
        m_driver->setHandler([this](const WindowMessage& message) {
            m_driverReceived << message;
            if (message.message == 2024)
                platform::PostWindowMessage(message.wParam, 2024, m_driver->handle(), 1, 2000);
            return qint64(0);
        });
        m_window->ConnectPenDriver();
        // The driver's greeting back has reached the board once it logs the
        // driver's window a second time.
        QTRY_COMPARE_WITH_TIMEOUT(g_log.filter(QStringLiteral("Get_Target_hWnd")).size(), 1, 5000);
        m_board->SendPenDriverMode(QStringLiteral("Panser"));
        QTRY_VERIFY_WITH_TIMEOUT(!m_driverReceived.isEmpty() && m_driverReceived.last().message == 2025, 5000);
        int greetings = 0;
        for (const WindowMessage& message : m_driverReceived)
            greetings += message.message == 2024 ? 1 : 0;
        QCOMPARE(greetings, 1);
    }

    void boardModes_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<qint64>("lParam");  // -1: nothing sent
        QTest::newRow("Window") << "Window" << qint64(0);
        QTest::newRow("Panser") << "Panser" << qint64(1);
        QTest::newRow("other text") << "window" << qint64(-1);
        QTest::newRow("empty") << "" << qint64(-1);
    }

    void boardModes()
    {
        QFETCH(QString, mode);
        QFETCH(qint64, lParam);
        registerDriver();
        m_window->ConnectPenDriver();
        QTRY_COMPARE_WITH_TIMEOUT(m_driverReceived.size(), 1, 5000);
        QCOMPARE(m_driverReceived.at(0).message, quint32(2024));
        QCOMPARE(m_driverReceived.at(0).wParam, quint64(m_window->messageHandle()));
        QCOMPARE(m_driverReceived.at(0).lParam, qint64(1));

        m_board->SendPenDriverMode(mode);
        QVERIFY(g_log.contains(mode));
        // A mode message of a known value closes the exchange: what the mode
        // under test sent has arrived before it.
        m_board->SendPenDriverMode(QStringLiteral("Panser"));
        const int expected = lParam < 0 ? 2 : 3;
        QTRY_COMPARE_WITH_TIMEOUT(m_driverReceived.size(), expected, 5000);
        if (lParam >= 0) {
            QCOMPARE(m_driverReceived.at(1).message, quint32(2025));
            QCOMPARE(m_driverReceived.at(1).wParam, quint64(0));
            QCOMPARE(m_driverReceived.at(1).lParam, lParam);
        }
    }

    void noDriverNoModes()
    {
        m_window->ConnectPenDriver();
        m_board->SendPenDriverMode(QStringLiteral("Window"));  // nobody to send to; nothing breaks
        registerDriver();
        m_board->SendPenDriverMode(QStringLiteral("Window"));
        // The board does not know the driver until it greets: the greeting's
        // answer is the first thing the driver hears.
        QVERIFY(SendWindowMessage(m_window->messageHandle(), 2024, m_driver->handle(), 0, nullptr, 5000));
        QTRY_COMPARE_WITH_TIMEOUT(m_driverReceived.size(), 1, 5000);
        QCOMPARE(m_driverReceived.first().message, quint32(2024));
    }

    void handOff_data()
    {
        QTest::addColumn<quint64>("tag");
        QTest::addColumn<bool>("opened");
        QTest::newRow("hand-off tag") << quint64(kHandOffTag) << true;
        QTest::newRow("other tag") << quint64(21) << false;
    }

    void handOff()
    {
        QFETCH(quint64, tag);
        QFETCH(bool, opened);
        const QString path = QString::fromUtf8("/수업/Урок.vk");
        WindowMessage message;
        message.message = platform::kCopyDataMessage;
        message.hasCopyData = true;
        message.dwData = tag;
        message.copyData = HandOffBytes(path);
        QVERIFY(SendWindowMessage(m_window->messageHandle(), message, nullptr, 5000));
        QCOMPARE(g_log.contains(QStringLiteral("hand-off : ") + path), opened);
        QCOMPARE(!g_log.filter(QStringLiteral("openispfile"), Qt::CaseInsensitive).isEmpty(), opened);
    }

    // A path whose bytes are not UTF-8 arrives as the same bytes.
    void handOffKeepsBytesThatAreNotUtf8()
    {
        const QByteArray raw("/tmp/le\xe7on-\xff.vk");
        WindowMessage message;
        message.message = platform::kCopyDataMessage;
        message.hasCopyData = true;
        message.dwData = kHandOffTag;
        message.copyData = HandOffBytes(QFile::decodeName(raw));
        QCOMPARE(message.copyData, raw);
        QVERIFY(SendWindowMessage(m_window->messageHandle(), message, nullptr, 5000));
        const QStringList lines = g_log.filter(QStringLiteral("hand-off : "));
        QCOMPARE(lines.size(), 1);
        QCOMPARE(QFile::encodeName(lines.first().mid(QStringLiteral("hand-off : ").size())), raw);
    }

    void displayOptions()
    {
        m_window->displayOption(0);
        QVERIFY(!m_window->isVisible());
        m_window->displayOption(2);
        QVERIFY(!m_window->isVisible());
        m_window->displayOption(1);
        QVERIFY(m_window->isVisible());
        m_window->displayOption(2);
        QVERIFY(m_window->isVisible());
    }
};

QTEST_MAIN(MainDlgTest)
#include "main_dlg_test.moc"
