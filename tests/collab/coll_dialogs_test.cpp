// The connect dialog and the host's user list, on their own.
#include "collab/ui/collconnectdlg.h"
#include "collab/ui/colluserlistdlg.h"
#include "app/utilities.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QLabel>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

namespace {

QStringList ComboItems(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QRect Centred(int width, int height)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    return QRect(screen.width() / 2 - width / 2, screen.height() / 2 - height / 2, width, height);
}

bool InputsEnabled(const CollConnectDlg& d, bool enabled)
{
    for (const QWidget* w : std::initializer_list<const QWidget*>{d.BtnRdo_server, d.BtnRdo_client, d.ComboBox_IP,
                                                                  d.lineEdit_IP, d.lineEdit_ID, d.lineEdit_PASS}) {
        if (w->isEnabled() != enabled)
            return false;
    }
    return true;
}

const QString kHost = QStringLiteral("[Server]_10.0.0.5");
const QString kP = QStringLiteral("[P]_10.0.0.7");
const QString kQ = QStringLiteral("[Q]_10.0.0.8");

}  // namespace

class CollDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    // The address box lists this machine's usable addresses, in order.
    void hostAddresses_data()
    {
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("mixed") << QStringList{"127.0.0.1", "169.254.1.1", "192.168.0.3", "10.1.1.1"}
                               << QStringList{"192.168.0.3", "10.1.1.1"};
        QTest::newRow("none usable") << QStringList{"127.0.0.1", "169.254.3.4"} << QStringList{};
        QTest::newRow("ipv6 and any") << QStringList{"::1", "fe80::1", "0.0.0.0", "192.0.2.1"}
                                      << QStringList{"192.0.2.1"};
    }
    void hostAddresses()
    {
        QFETCH(QStringList, addresses);
        QFETCH(QStringList, listed);
        CollConnectDlg dialog;
        QList<QHostAddress> hostAddresses;
        for (const QString& a : addresses)
            hostAddresses << QHostAddress(a);
        dialog.SetAddressSource([hostAddresses]() { return UsableIpv4Addresses(hostAddresses); });
        dialog.LocalIpv4List();
        QCOMPARE(ComboItems(dialog.ComboBox_IP), listed);
        QCOMPARE(dialog.ComboBox_IP->currentText(), listed.value(0));
    }

    // Host and participant layouts, back and forth, and the wide form that
    // shows the found hosts.
    void layouts()
    {
        CollConnectDlg dialog;
        dialog.SetAddressSource([]() { return QStringList{"192.0.2.1", "198.51.100.2"}; });
        dialog.BtnRdo_server->click();
        QCOMPARE(dialog.geometry(), Centred(306, 193));
        QCOMPARE(dialog.Btn_connect->text(), QString("Create"));
        QCOMPARE(dialog.lineEdit_ID->text(), QString("Server"));
        QVERIFY(!dialog.ComboBox_IP->isHidden());
        QVERIFY(dialog.lineEdit_IP->isHidden());
        QVERIFY(dialog.Btn_findserver->isHidden());
        QCOMPARE(dialog.ComboBox_IP->count(), 2);

        dialog.lineEdit_IP->setText("left over");
        dialog.BtnRdo_client->click();
        QCOMPARE(dialog.Btn_connect->text(), QString("Connect"));
        QCOMPARE(dialog.lineEdit_ID->text(), QString("User"));
        QVERIFY(dialog.lineEdit_IP->text().isEmpty());
        QVERIFY(dialog.ComboBox_IP->isHidden());
        QVERIFY(!dialog.lineEdit_IP->isHidden());
        QVERIFY(!dialog.Btn_findserver->isHidden());
        QCOMPARE(dialog.geometry(), Centred(306, 193));

        QSignalSpy find(&dialog, &CollConnectDlg::OptFindServer);
        dialog.AddServer("stale");
        dialog.Btn_findserver->click();
        QCOMPARE(find.count(), 1);
        QCOMPARE(dialog.geometry(), Centred(649, 193));
        QCOMPARE(dialog.ServerListCount(), 0);

        dialog.BtnRdo_server->click();
        QCOMPARE(dialog.lineEdit_ID->text(), QString("Server"));
        QCOMPARE(dialog.geometry(), Centred(306, 193));
    }

    // What each button asks for, and the state it leaves the dialog in.
    void requests_data()
    {
        QTest::addColumn<bool>("host");
        QTest::newRow("host") << true;
        QTest::newRow("participant") << false;
    }
    void requests()
    {
        QFETCH(bool, host);
        CollConnectDlg dialog;
        dialog.SetAddressSource([]() { return QStringList{"192.0.2.1"}; });
        (host ? dialog.BtnRdo_server : dialog.BtnRdo_client)->click();
        QVERIFY(dialog.Btn_connect->isEnabled());
        QVERIFY(!dialog.Btn_disconnect->isEnabled());
        QVERIFY(InputsEnabled(dialog, true));
        if (!host)
            dialog.lineEdit_IP->setText("192.0.2.9");
        dialog.lineEdit_ID->setText("Desk7");
        dialog.lineEdit_PASS->setText("pw");

        QSignalSpy start(&dialog, &CollConnectDlg::coll_startserver);
        QSignalSpy join(&dialog, &CollConnectDlg::coll_connect);
        QSignalSpy stop(&dialog, &CollConnectDlg::coll_disconnectToServer);
        QSignalSpy leave(&dialog, &CollConnectDlg::coll_disconnectToClient);
        dialog.Btn_connect->click();
        if (host) {
            QCOMPARE(start.count(), 1);
            QCOMPARE(start.at(0), QVariantList({"192.0.2.1", "Desk7", "pw"}));
            QCOMPARE(join.count(), 0);
        } else {
            QCOMPARE(join.count(), 1);
            QCOMPARE(join.at(0), QVariantList({"192.0.2.9", "Desk7", "pw", 1}));
            QCOMPARE(start.count(), 0);
        }
        QVERIFY(!dialog.Btn_connect->isEnabled());
        QVERIFY(dialog.Btn_disconnect->isEnabled());
        QVERIFY(InputsEnabled(dialog, false));

        dialog.Btn_disconnect->click();
        QCOMPARE(stop.count(), host ? 1 : 0);
        QCOMPARE(leave.count(), host ? 0 : 1);
        QVERIFY(dialog.Btn_connect->isEnabled());
        QVERIFY(!dialog.Btn_disconnect->isEnabled());
        QVERIFY(InputsEnabled(dialog, true));

        QSignalSpy keyboard(&dialog, &CollConnectDlg::CallVirtualKeyboard);
        dialog.keybtn->click();
        QCOMPARE(keyboard.count(), 1);
    }

    // A start refused at once puts the dialog back to idle from inside the
    // request: the dialog must stay idle afterwards.
    void refusedStartStaysIdle()
    {
        CollConnectDlg dialog;
        dialog.SetAddressSource([]() { return QStringList{"192.0.2.1"}; });
        connect(&dialog, &CollConnectDlg::coll_startserver, &dialog, [&dialog]() { dialog.SetIdleState(true); });
        dialog.Btn_connect->click();
        QVERIFY(dialog.Btn_connect->isEnabled());
        QVERIFY(!dialog.Btn_disconnect->isEnabled());
        QVERIFY(InputsEnabled(dialog, true));
    }

    void serverListDoubleClick_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("inputsEnabled");
        QTest::addColumn<QString>("address");
        QTest::newRow("host line") << "[Desk7]_192.168.0.3" << true << "192.168.0.3";
        QTest::newRow("underscore in the ID") << "[a_b]_192.168.0.4" << true << "192.168.0.4";
        QTest::newRow("no underscore") << "Desk7" << true << "kept";
        QTest::newRow("inputs disabled") << "[Desk7]_192.168.0.3" << false << "kept";
    }
    void serverListDoubleClick()
    {
        QFETCH(QString, line);
        QFETCH(bool, inputsEnabled);
        QFETCH(QString, address);
        CollConnectDlg dialog;
        dialog.BtnRdo_client->click();
        dialog.lineEdit_IP->setText("kept");
        dialog.AddServer(line);
        dialog.SetIdleState(inputsEnabled);
        dialog.on_listWidget_serverList_itemDoubleClicked(dialog.listWidget_serverList->item(0));
        QCOMPARE(dialog.lineEdit_IP->text(), address);
    }

    // Rows as the relay lists them: the host's own row keeps its Write mark
    // and the Tool button is offered only on the writer's row without a Tool
    // mark.
    void userListMarks()
    {
        CollUserListDlg list;
        list.m_ownId = kHost;
        list.m_toolId = kHost;
        for (const QString& id : {kHost, kP, kQ})
            list.SetUserList(id);
        QTableWidget* table = list.tableWidget_userList;
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(list.RowId(1), kP);
        QVERIFY(list.IsMarked(0, 0));
        QVERIFY(list.IsMarked(0, 1));
        QCOMPARE(table->item(0, 0)->background().color(), QColor(124, 210, 81, 255));
        QCOMPARE(table->item(1, 0)->background().color(), QColor("#FFFFFF"));
        QVERIFY(!list.IsMarked(1, 0));

        auto toolOfferedOn = [&](int row) {
            table->setCurrentCell(row, 0);
            return list.btn_authorize_Tool->isEnabled();
        };
        QVERIFY(!toolOfferedOn(0));  // the host holds the tool already
        QVERIFY(!toolOfferedOn(1));  // P cannot write

        list.MarkWriteUser(kP, true);
        QVERIFY(list.IsMarked(1, 0));
        QVERIFY(list.IsMarked(0, 0));
        QVERIFY(toolOfferedOn(1));
        QVERIFY(!toolOfferedOn(2));

        // The write right moves to Q: P loses its mark, the host keeps its own.
        list.MarkWriteUser(kQ, true);
        QVERIFY(!list.IsMarked(1, 0));
        QVERIFY(list.IsMarked(2, 0));
        QVERIFY(list.IsMarked(0, 0));
        QCOMPARE(list.m_markedId, kQ);

        // Pressing Tool marks Q at once and asks for the tool right once.
        QSignalSpy tool(&list, &CollUserListDlg::coll_SetUseTool);
        QVERIFY(toolOfferedOn(2));
        list.btn_authorize_Tool->click();
        QCOMPARE(tool.count(), 1);
        QCOMPARE(tool.at(0).at(0).toString(), kQ);
        QVERIFY(list.IsMarked(2, 1));
        QVERIFY(!list.IsMarked(0, 1));
        QVERIFY(!list.btn_authorize_Tool->isEnabled());

        QSignalSpy write(&list, &CollUserListDlg::coll_SetUserLevel);
        table->setCurrentCell(1, 0);
        list.btn_authorize_Write->click();
        QCOMPARE(write.count(), 1);
        QCOMPARE(write.at(0).at(0).toString(), kP);

        // A list rebuilt by the relay keeps the marks the holders have.
        list.ClearRows();
        QCOMPARE(table->rowCount(), 0);
        list.m_toolId = kQ;
        for (const QString& id : {kHost, kP, kQ})
            list.SetUserList(id);
        QVERIFY(list.IsMarked(2, 0));
        QVERIFY(list.IsMarked(2, 1));
        QVERIFY(!list.IsMarked(1, 0));
    }

    void userListTableSize()
    {
        CollUserListDlg list;
        list.SetupTable(1000);
        const QRect table = list.tableWidget_userList->geometry();
        QCOMPARE(table, QRect(10, 120, 281, 1000 - 120 - 40));
        QCOMPARE(list.Label_UserList_bg->geometry(), QRect(0, 0, 300, 1000));
        QCOMPARE(list.tableWidget_userList->columnWidth(0), 50);
        QCOMPARE(list.tableWidget_userList->columnWidth(1), 50);
    }

    // The host reads whom to give the write right: the headers and the ID
    // column are light behind their dark text, not black.
    void userListIsReadable()
    {
        CollUserListDlg list;
        list.SetupTable(400);
        list.SetUserList("peer-7");
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const QImage shot = list.grab().toImage();
        QTableWidget* table = list.tableWidget_userList;
        const QPoint origin = table->geometry().topLeft();
        const QRect header = table->horizontalHeader()->geometry().translated(origin);
        const QRect ids = table->verticalHeader()->geometry().translated(origin);
        for (const QRect& area : {header, ids}) {
            int light = 0;
            int all = 0;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    light += qGray(shot.pixel(x, y)) > 180 ? 1 : 0;
                    ++all;
                }
            }
            QVERIFY2(all > 0 && light * 10 > all * 7, qPrintable(QStringLiteral("%1 of %2 light").arg(light).arg(all)));
        }
    }

    // The captions fit their widgets in whatever face stands in for the
    // named one, in both modes of the connect dialog.
    void captionsNotClipped()
    {
        CollConnectDlg dialog;
        CollUserListDlg list;
        dialog.show();
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (QRadioButton* mode : {dialog.BtnRdo_server, dialog.BtnRdo_client}) {
            mode->click();
            for (QWidget* owner : std::initializer_list<QWidget*>{&dialog, &list}) {
                for (QAbstractButton* b : owner->findChildren<QAbstractButton*>()) {
                    if (b->text().isEmpty() || b->isHidden())
                        continue;
                    const QSize text = QFontMetrics(b->font()).size(0, b->text());
                    const int indicator = qobject_cast<QRadioButton*>(b) ? 20 : 4;
                    QVERIFY2(text.width() + indicator <= b->width(), qPrintable(b->objectName()));
                    QVERIFY2(text.height() <= b->height(), qPrintable(b->objectName()));
                }
                for (QLabel* l : owner->findChildren<QLabel*>()) {
                    if (!l->text().isEmpty())
                        QVERIFY2(QFontMetrics(l->font()).size(0, l->text()).width() <= l->width(),
                                 qPrintable(l->objectName()));
                }
            }
            if (!qEnvironmentVariableIsEmpty("I42_DUMP"))
                dialog.grab().save(QStringLiteral("/tmp/i42_connect_%1.png").arg(mode->objectName()));
        }
        if (!qEnvironmentVariableIsEmpty("I42_DUMP")) {
            list.SetupTable(700);
            list.m_ownId = kHost;
            list.m_toolId = kHost;
            list.SetUserList(kHost);
            list.SetUserList(kP);
            list.grab().save("/tmp/i42_userlist.png");
        }
    }
};

QTEST_MAIN(CollDialogsTest)
#include "coll_dialogs_test.moc"
