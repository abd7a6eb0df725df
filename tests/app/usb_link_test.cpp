#include "app/ui/dialog.h"
#include "app/usb_link.h"
#include "platform/folders.h"
#include "platform/usb.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

struct FakeLine {
    qint64 ms;
    QString what;
};

QVector<FakeLine> ReadFake(const QString& path)
{
    QVector<FakeLine> lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const int space = raw.indexOf(' ');
        if (space > 0)
            lines.append({raw.left(space).toLongLong(), QString::fromLatin1(raw.mid(space + 1))});
    }
    return lines;
}

QStringList Kinds(const QVector<FakeLine>& lines)
{
    QStringList kinds;
    for (const FakeLine& line : lines)
        kinds << (line.what.startsWith("bulk") ? line.what.left(QStringLiteral("bulk 0x00 ").size() + 4)
                                               : line.what);
    return kinds;
}

QString Bulk(const char* endpoint, quint32 command)
{
    return QStringLiteral("bulk %1 %2").arg(endpoint,
                                            QString::fromLatin1(BuildUsbCommandPacket(command, nullptr, 0).left(2).toHex()));
}

void WriteCount(const QString& path, int count)
{
    QDir().mkpath(QFileInfo(path).path());
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue("Device/Count", count);
}

}  // namespace

class UsbLinkTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    QTemporaryDir m_dir;
    QString m_fakePath;

    std::unique_ptr<Dialog> MakeWindow(int interfaces)
    {
        QFile::remove(m_fakePath);
        qputenv("DRAVIK_USB_FAKE", m_fakePath.toLocal8Bit());
        qputenv("DRAVIK_USB_FAKE_INTERFACES", QByteArray::number(interfaces));
        auto dialog = std::make_unique<Dialog>();
        dialog->m_penDriverConfigPath = m_dir.path() + "/NORVANE/Stylane/config.ini";
        return dialog;
    }

private slots:
    void initTestCase()
    {
        qInstallMessageHandler(CollectLog);
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_fakePath = m_dir.path() + "/usb.log";
    }

    void init() { g_log.clear(); }

    void packetLayout_data()
    {
        QTest::addColumn<quint32>("command");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<bool>("built");
        QTest::newRow("start") << quint32(0x1100) << QByteArray() << true;
        QTest::newRow("keep-alive") << quint32(0x1102) << QByteArray() << true;
        QTest::newRow("payload") << quint32(0x12345678) << QByteArray("\x01\x02\x03", 3) << true;
        QTest::newRow("largest payload") << quint32(0x1101) << QByteArray(504, 'x') << true;
        QTest::newRow("payload too long") << quint32(0x1101) << QByteArray(505, 'x') << false;
    }

    void packetLayout()
    {
        QFETCH(quint32, command);
        QFETCH(QByteArray, payload);
        QFETCH(bool, built);
        const QByteArray packet = BuildUsbCommandPacket(command, payload.constData(), payload.size());
        if (!built) {
            QVERIFY(packet.isEmpty());
            return;
        }
        QCOMPARE(packet.size(), 512);
        const auto* bytes = reinterpret_cast<const uchar*>(packet.constData());
        QCOMPARE(qFromLittleEndian<quint32>(bytes), command);
        QCOMPARE(qFromLittleEndian<quint32>(bytes + 4), quint32(payload.size()));
        QCOMPARE(packet.mid(8, payload.size()), payload);
        QCOMPARE(packet.mid(8 + payload.size()), QByteArray(504 - payload.size(), '\0'));
    }

    void negativeLengthRefused() { QVERIFY(BuildUsbCommandPacket(0x1100, nullptr, -1).isEmpty()); }

    // A configuration missing any level of the path to the endpoint gives no
    // endpoint, never a read past the descriptor.
    void controlEndpoint_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QVector<QVector<QVector<int>>>>("endpoints");
        QTest::addColumn<int>("endpoint");
        using E = QVector<QVector<QVector<int>>>;
        QTest::newRow("three interfaces: position 2") << 3 << E{{{0x81}}, {{0x02}}, {{0x03}}} << 0x03;
        QTest::newRow("two interfaces: position 1") << 2 << E{{{0x81}}, {{0x02}}} << 0x02;
        QTest::newRow("one interface") << 1 << E{{{0x81}}} << -1;
        QTest::newRow("none") << 0 << E{} << -1;
        QTest::newRow("no alternate setting") << 3 << E{{{1}}, {{2}}, {}} << -1;
        QTest::newRow("no endpoint") << 3 << E{{{1}}, {{2}}, {{}}} << -1;
        QTest::newRow("count above the list") << 3 << E{{{1}}, {{2}}} << -1;
    }

    void controlEndpoint()
    {
        QFETCH(int, count);
        QFETCH(QVector<QVector<QVector<int>>>, endpoints);
        QFETCH(int, endpoint);
        platform::UsbConfigInfo config;
        config.interfaceCount = count;
        config.endpoints = endpoints;
        QCOMPARE(platform::UsbControlEndpoint(config), endpoint);
    }

    // Start, keep-alive, window and board mode, twice, and the shutdown.
    void linkLifecycle()
    {
        auto dialog = MakeWindow(3);
        dialog->CheckPenDriverDevice();
        QVERIFY(dialog->m_usbDevice);
        QVERIFY(g_log.contains("[0x16D0, 0x0DF0]"));
        QVERIFY(g_log.contains("libusb_open() = 0 "));
        QVERIFY(g_log.contains("config_descriptor: 3 3"));
        QVERIFY(g_log.contains("libusb_claim_interface(2) = 0 "));
        QVERIFY(g_log.last().startsWith("[0x16D0, 0x0DF0] Device["));
        QVERIFY(g_log.last().endsWith("] open SUCCESS!!"));

        // Two keep-alives come about a second apart after the start.
        QTRY_VERIFY_WITH_TIMEOUT(Kinds(ReadFake(m_fakePath)).count(Bulk("0x03", 0x1102)) >= 4, 4000);
        dialog->StopUsbLink();
        dialog->StopUsbLink();
        dialog->StartUsbLink();
        dialog->StartUsbLink();
        dialog->StopUsbLink();
        dialog->ShutdownUsbLink();  // sends the stop once more
        dialog->StopUsbLink();  // closed: nothing more is sent

        const QVector<FakeLine> lines = ReadFake(m_fakePath);
        QStringList kinds = Kinds(lines);
        QCOMPARE(kinds.mid(0, 4), QStringList({"open", "claim 2", Bulk("0x03", 0x1100), Bulk("0x03", 0x1100)}));
        QCOMPARE(kinds.mid(kinds.size() - 3), QStringList({"release 2", "close", "exit"}));
        kinds.removeAll(Bulk("0x03", 0x1102));
        QCOMPARE(kinds.mid(4, kinds.size() - 7),
                 QStringList({Bulk("0x03", 0x1101), Bulk("0x03", 0x1101), Bulk("0x03", 0x1101),
                              Bulk("0x03", 0x1101), Bulk("0x03", 0x1100), Bulk("0x03", 0x1100),
                              Bulk("0x03", 0x1100), Bulk("0x03", 0x1100), Bulk("0x03", 0x1101),
                              Bulk("0x03", 0x1101), Bulk("0x03", 0x1101), Bulk("0x03", 0x1101)}));
        // Each packet goes out twice, at least 10 ms apart; keep-alives a second apart.
        QVERIFY(lines.at(3).ms - lines.at(2).ms >= 10);
        QVector<qint64> keepAlives;
        for (const FakeLine& line : lines)
            if (line.what.startsWith(Bulk("0x03", 0x1102)))
                keepAlives << line.ms;
        QVERIFY(keepAlives.at(2) - keepAlives.at(0) >= 900);
        QVERIFY(keepAlives.at(2) - keepAlives.at(0) <= 1500);
        QVERIFY(lines.at(0).what == "open");
        QVERIFY(lines.at(2).what.size() == QStringLiteral("bulk 0x03 ").size() + 1024);
    }

    void twoInterfacesUsePositionOne()
    {
        auto dialog = MakeWindow(2);
        dialog->CheckPenDriverDevice();
        QVERIFY(dialog->m_usbDevice);
        dialog->ShutdownUsbLink();
        const QStringList kinds = Kinds(ReadFake(m_fakePath));
        QCOMPARE(kinds.mid(0, 3), QStringList({"open", "claim 2", Bulk("0x02", 0x1100)}));
    }

    // The way back from window mode puts the module into board mode again,
    // with the keep-alive running.
    void boardModeStartsTheLinkAgain()
    {
        auto dialog = MakeWindow(3);
        dialog->CheckPenDriverDevice();
        QVERIFY(dialog->m_usbDevice);
        dialog->StopUsbLink();
        QVERIFY(!dialog->m_usbKeepAliveTimer);
        dialog->OptPanserMode();
        QVERIFY(dialog->m_usbKeepAliveTimer && dialog->m_usbKeepAliveTimer->isActive());
        dialog->ShutdownUsbLink();
        QStringList kinds = Kinds(ReadFake(m_fakePath));
        kinds.removeAll(Bulk("0x03", 0x1102));
        QCOMPARE(kinds, QStringList({"open", "claim 2", Bulk("0x03", 0x1100), Bulk("0x03", 0x1100),
                                     Bulk("0x03", 0x1101), Bulk("0x03", 0x1101), Bulk("0x03", 0x1100),
                                     Bulk("0x03", 0x1100), Bulk("0x03", 0x1101), Bulk("0x03", 0x1101),
                                     "release 2", "close", "exit"}));
    }

    void oneInterfaceFailsTheOpen()
    {
        auto dialog = MakeWindow(1);
        dialog->CheckPenDriverDevice();
        QVERIFY(!dialog->m_usbDevice);
        QVERIFY(g_log.last().endsWith("] open FAIL!!"));
        dialog->StartUsbLink();
        dialog->SendUsbCommand(0x1102, nullptr, 0);
        dialog->ShutdownUsbLink();
        QCOMPARE(Kinds(ReadFake(m_fakePath)), QStringList({"open", "close", "exit"}));
    }

    // Whether the pen driver has the module: its own configuration first,
    // then the first variant with a count above 0.
    void driverConfigurations_data()
    {
        QTest::addColumn<int>("driver");    // -1: no file
        QTest::addColumn<QVector<int>>("variants");
        QTest::addColumn<bool>("opened");
        QTest::newRow("no configuration") << -1 << QVector<int>{-1, -1, -1} << true;
        QTest::newRow("driver has it") << 1 << QVector<int>{-1, -1, -1} << false;
        QTest::newRow("driver count 0, variant has it") << 0 << QVector<int>{-1, 2, -1} << false;
        QTest::newRow("variants all 0") << 0 << QVector<int>{0, 0, 0} << true;
        QTest::newRow("negative variant count") << -1 << QVector<int>{-1, -1, -3} << false;
        QTest::newRow("first positive ends the walk") << -1 << QVector<int>{0, 1, 0} << false;
    }

    void driverConfigurations()
    {
        QFETCH(int, driver);
        QFETCH(QVector<int>, variants);
        QFETCH(bool, opened);
        auto dialog = MakeWindow(3);
        const QString programs = platform::KnownFolderPath(platform::KnownFolder::ProgramFiles);
        const QStringList names = {"/Stylane Marl/config.ini", "/Stylane Quill/config.ini", "/Stylane Brace/config.ini"};
        QFile::remove(dialog->m_penDriverConfigPath);
        if (driver >= 0)
            WriteCount(dialog->m_penDriverConfigPath, driver);
        for (int i = 0; i < 3; ++i) {
            QFile::remove(programs + names.at(i));
            if (variants.at(i) != -1)
                WriteCount(programs + names.at(i), variants.at(i));
        }
        dialog->CheckPenDriverDevice();
        QCOMPARE(dialog->m_usbDevice != nullptr, opened);
        dialog->ShutdownUsbLink();
    }
};

QTEST_MAIN(UsbLinkTest)
#include "usb_link_test.moc"
