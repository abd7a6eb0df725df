// The whiteboard with a pen module on USB (the fake module): board mode and
// the keep-alive while it runs, and at a clean close the stop, the release,
// the close and the end of the USB library, with the work folder emptied.
#include "app/usb_link.h"
#include "storage/settings_file.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// The kinds of the fake module's lines: "open", "claim 2", "bulk 0x03 0011"
// (endpoint and the command's first two bytes) and so on.
QStringList FakeKinds(const QString& path)
{
    QStringList kinds;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return kinds;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const int space = raw.indexOf(' ');
        if (space <= 0)
            continue;
        const QString what = QString::fromLatin1(raw.mid(space + 1));
        kinds << (what.startsWith("bulk ") ? what.left(QStringLiteral("bulk 0x03 ").size() + 4) : what);
    }
    return kinds;
}

QString Bulk(quint32 command)
{
    return "bulk 0x03 " + QString::fromLatin1(BuildUsbCommandPacket(command, nullptr, 0).left(2).toHex());
}

}  // namespace

class UsbLinkProgramTest : public QObject
{
    Q_OBJECT

private slots:
    void moduleRunsWithTheBoardAndStopsAtClose()
    {
        ScopedFolderRoot root;
        QTemporaryDir dir;
        const QString fake = dir.path() + "/usb.log";
        QProcessEnvironment env;
        env.insert("DRAVIK_NO_MODAL", "1");
        env.insert("DRAVIK_USB_FAKE", fake);
        env.insert("DRAVIK_USB_FAKE_INTERFACES", "3");
        RunningProgram board;
        QVERIFY(StartWhiteboard(board, {"/noAutoUpdate"}, env));

        // Start twice, then keep-alives once a second.
        QTRY_VERIFY_WITH_TIMEOUT(FakeKinds(fake).count(Bulk(kUsbCommandKeepAlive)) >= 4, 8000);
        QStringList kinds = FakeKinds(fake);
        QCOMPARE(kinds.mid(0, 4), QStringList({"open", "claim 2", Bulk(kUsbCommandStart), Bulk(kUsbCommandStart)}));
        QVERIFY(board.hasLine("] open SUCCESS!!"));

        const QString work = WorkFolderPath();
        QVERIFY(QDir(work).exists());
        QCOMPARE(CloseWhiteboard(board), 0);

        kinds = FakeKinds(fake);
        kinds.removeAll(Bulk(kUsbCommandKeepAlive));
        QCOMPARE(kinds, QStringList({"open", "claim 2", Bulk(kUsbCommandStart), Bulk(kUsbCommandStart),
                                     Bulk(kUsbCommandStop), Bulk(kUsbCommandStop), "release 2", "close", "exit"}));
        QVERIFY(board.hasLine("Close Orbel"));
        QVERIFY2(!QDir(work).exists() || QDir(work).isEmpty(), qPrintable(work));
    }
};

QTEST_MAIN(UsbLinkProgramTest)
#include "usb_link_xtest.moc"
