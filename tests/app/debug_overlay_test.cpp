#include "app/ui/dialog.h"
#include "tests/support/session_tap.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The service overlay: what debug mode builds and removes, the pointer
// labels' places and texts, and the test commands.
class DebugOverlayTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<Dialog> m_dialog;
    QList<QWidget*> serviceWidgets() const;

private slots:
    void initTestCase();
    void cleanupTestCase();
    void overlayIsBuiltOnceAndRemoved();
    void pointerLabelPlaces_data();
    void pointerLabelPlaces();
    void pointerLabelFollowsPressMoveRelease();
    void slotZeroCountsOnlyTheFirstSecond();
    void checkBoxesToggleTheLists();
    void testCommands();
    void teardownWithDebugModeOn();
};

QList<QWidget*> DebugOverlayTest::serviceWidgets() const
{
    const Ui::Dialog* ui = m_dialog->ui;
    return {ui->listWidget_logwindow, ui->listWidget_logwindow2, ui->btn_test_7,   ui->btn_test_8,
            ui->btn_test_9,           ui->btn_test_10_ListClear, ui->CK_LogWindow, ui->CK_LogWindow1,
            ui->CK_LogWindow2};
}

void DebugOverlayTest::initTestCase()
{
    qputenv("DRAVIK_NO_MODAL", "1");
    m_root = std::make_unique<ScopedFolderRoot>();
    m_dialog = std::make_unique<Dialog>();
    m_dialog->resize(1600, 1000);
    m_dialog->show();
    m_dialog->HideWidgets();
    m_dialog->m_view_width = 1600;
    m_dialog->m_view_height = 1000;
}

void DebugOverlayTest::cleanupTestCase()
{
    m_dialog.reset();
    m_root.reset();
}

void DebugOverlayTest::overlayIsBuiltOnceAndRemoved()
{
    Dialog& d = *m_dialog;
    d.OptDebug(true);
    QVERIFY(d.m_debugMode);
    QVERIFY(d.hasMouseTracking());
    for (QWidget* w : serviceWidgets())
        QVERIFY2(w->isVisible(), qPrintable(w->objectName()));

    // 1000 / 1.6 = 625; 1000 - 625 - 10 = 365.
    QCOMPARE(d.ui->listWidget_logwindow->geometry(), QRect(1200, 625, 390, 365));
    QCOMPARE(d.ui->listWidget_logwindow2->geometry(), QRect(50, 625, 1300, 365));
    QCOMPARE(d.ui->listWidget_logwindow->styleSheet(), QString("background-color: rgba(0,0,0,50)"));
    QCOMPARE(d.ui->btn_test_9->geometry(), QRect(10, 360, 200, 20));
    QCOMPARE(d.ui->btn_test_10_ListClear->geometry(), QRect(10, 390, 200, 20));
    QCOMPARE(d.ui->CK_LogWindow2->geometry(), QRect(10, 220, 85, 20));
    QVERIFY(d.m_statusLabel && d.m_statusLabel->isVisible());
    QCOMPARE(d.m_statusLabel->geometry(), QRect(10, 130, 85, 20));

    QCOMPARE(d.m_pointerDebugLabels.size(), 11);
    const QColor text[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255},   {255, 255, 0}, {255, 0, 255}, {0, 255, 255},
                           {125, 0, 0}, {0, 125, 0}, {0, 0, 125},   {125, 125, 0}, {0, 0, 0}};
    for (int slot = 0; slot < 11; ++slot) {
        QLabel* label = d.m_pointerDebugLabels.at(slot);
        QVERIFY(!label->isVisible());
        QVERIFY(label->autoFillBackground());
        QCOMPARE(label->palette().color(QPalette::WindowText), text[slot]);
        QCOMPARE(label->palette().color(QPalette::Window), QColor(200, 200, 200, 200));
        QCOMPARE(label->font().pointSize(), 12);
    }

    // Switching on again keeps the same labels.
    const QList<QLabel*> first = d.m_pointerDebugLabels;
    QLabel* status = d.m_statusLabel;
    d.OptDebug(true);
    QCOMPARE(d.m_pointerDebugLabels, first);
    QCOMPARE(d.m_statusLabel, status);

    QPointer<QLabel> watched = first.at(3);
    d.OptDebug(false);
    QVERIFY(!d.hasMouseTracking());
    QVERIFY(watched.isNull());
    QVERIFY(d.m_pointerDebugLabels.isEmpty());
    QVERIFY(!d.m_statusLabel);
    for (QWidget* w : serviceWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    // Pointer input in plain mode leaves no label behind.
    d.ShowPointerDebug(1, 0, 10, 10);
}

void DebugOverlayTest::pointerLabelPlaces_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("textStart");
    // View 1600 x 1000.
    QTest::newRow("slot 0 inside") << 0 << 100 << 200 << QRect(110, 210, 380, 20) << "Pen 0 : X=100, Y=200, msec=";
    QTest::newRow("slot 0 right edge") << 0 << 1300 << 200 << QRect(1300 - 80, 210, 380, 20) << "Pen 0 : X=1300";
    QTest::newRow("slot 0 bottom edge") << 0 << 100 << 975 << QRect(110, 975 + 5, 380, 20) << "Pen 0 : X=100, Y=975";
    QTest::newRow("slot 0 negative") << 0 << -40 << -5 << QRect(10, 10, 380, 20) << "Pen 0 : X=-40, Y=-5";
    QTest::newRow("slot 4 inside") << 4 << 100 << 200 << QRect(110, 210, 180, 20) << "Pen 4 : X=100, Y=200";
    QTest::newRow("slot 7 right edge") << 7 << 1410 << 200 << QRect(1220, 210, 180, 20) << "Pen 7 : X=1410, Y=200";
    QTest::newRow("slot 10 corner") << 10 << 1500 << 980 << QRect(1310, 950, 180, 20) << "Pen 10 : X=1500, Y=980";
    QTest::newRow("slot 2 negative") << 2 << -7 << -9 << QRect(10, 10, 180, 20) << "Pen 2 : X=-7, Y=-9";
}

void DebugOverlayTest::pointerLabelPlaces()
{
    QFETCH(int, slot);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QRect, geometry);
    QFETCH(QString, textStart);
    m_dialog->OptDebug(true);
    m_dialog->ShowPointerDebug(1, slot, x, y);
    QLabel* label = m_dialog->m_pointerDebugLabels.at(slot);
    QVERIFY(label->isVisible());
    QCOMPARE(label->geometry(), geometry);
    QVERIFY2(label->text().startsWith(textStart), qPrintable(label->text()));
    if (slot != 0)
        QCOMPARE(label->text(), textStart);
    m_dialog->OptDebug(false);
}

void DebugOverlayTest::pointerLabelFollowsPressMoveRelease()
{
    Dialog& d = *m_dialog;
    d.OptDebug(true);
    QLabel* label = d.m_pointerDebugLabels.at(5);
    d.ShowPointerDebug(1, 5, 50, 60);
    d.ShowPointerDebug(2, 5, 70, 80);
    QCOMPARE(label->text(), QString("Pen 5 : X=70, Y=80"));
    QCOMPARE(label->pos(), QPoint(80, 90));
    d.ShowPointerDebug(3, 5, 70, 80);
    QVERIFY(!label->isVisible());
    // A move does not show a label again after its release.
    d.ShowPointerDebug(2, 5, 90, 90);
    QVERIFY(!label->isVisible());

    // Out-of-range slots and modes change nothing.
    d.ShowPointerDebug(1, 11, 5, 5);
    d.ShowPointerDebug(1, -1, 5, 5);
    d.ShowPointerDebug(4, 5, 5, 5);
    d.ShowPointerDebug(0, 5, 5, 5);
    QVERIFY(!label->isVisible());
    QCOMPARE(label->text(), QString("Pen 5 : X=90, Y=90"));
    d.OptDebug(false);
}

void DebugOverlayTest::slotZeroCountsOnlyTheFirstSecond()
{
    Dialog& d = *m_dialog;
    d.OptDebug(true);
    d.m_strokeClock.start();
    d.ShowPointerDebug(1, 0, 10, 10);
    QLabel* label = d.m_pointerDebugLabels.at(0);
    QVERIFY2(label->text().endsWith(", Cnt=1"), qPrintable(label->text()));
    d.ShowPointerDebug(2, 0, 11, 10);
    d.ShowPointerDebug(2, 0, 12, 10);
    QVERIFY2(label->text().endsWith(", Cnt=3"), qPrintable(label->text()));
    const QString lastTime = QString::number(qint64(d.m_pointerDebugTime));
    QVERIFY(d.m_strokeClock.elapsed() <= 1000);

    // Past the first second the count and the time stand still.
    QTRY_VERIFY_WITH_TIMEOUT(d.m_strokeClock.elapsed() > 1000, 3000);
    d.ShowPointerDebug(2, 0, 13, 10);
    d.ShowPointerDebug(2, 0, 14, 10);
    QCOMPARE(label->text(), QString("Pen 0 : X=14, Y=10, msec=%1, Cnt=3").arg(lastTime));
    d.OptDebug(false);
}

void DebugOverlayTest::checkBoxesToggleTheLists()
{
    Dialog& d = *m_dialog;
    d.OptDebug(true);
    QListWidget* first = d.ui->listWidget_logwindow;
    QListWidget* second = d.ui->listWidget_logwindow2;

    d.ui->CK_LogWindow1->click();  // checked: hides the first list
    QVERIFY(!first->isVisible());
    QVERIFY(second->isVisible());
    d.ui->CK_LogWindow1->click();
    QVERIFY(first->isVisible());
    d.ui->CK_LogWindow2->click();
    QVERIFY(!second->isVisible());

    // One shown, one hidden: the first list decides for both.
    d.ui->CK_LogWindow->click();
    QVERIFY(!first->isVisible());
    QVERIFY(!second->isVisible());
    d.ui->CK_LogWindow->click();
    QVERIFY(first->isVisible());
    QVERIFY(second->isVisible());
    d.OptDebug(false);
}

void DebugOverlayTest::testCommands()
{
    Dialog& d = *m_dialog;
    d.OptDebug(true);
    g_log.clear();
    QtMessageHandler previous = qInstallMessageHandler(CollectLog);

    // The two test files, below the program's folder, go to every peer.
    {
        QTemporaryDir program;
        QVERIFY(QDir(program.path()).mkpath("UpDateTx"));
        for (const char* name : {"UpDateTx/Konnexa.dll", "UpDateTx/Orbel5.exe"}) {
            QFile file(program.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(name);
        }
        qputenv("DRAVIK_PROGRAM_DIR", program.path().toUtf8());
        SessionTap tap(&d, 3);
        d.ui->btn_test_7->click();
        d.ui->btn_test_8->click();
        qunsetenv("DRAVIK_PROGRAM_DIR");
        QStringList got;
        for (const CollFrame& f : tap.Frames())
            got << QString::fromUtf8(f.keyword + '|' + f.data + '|' + f.tail);
        QCOMPARE(got, QStringList({"DOC_ST|UpDateTx/Konnexa.dll|0,,1,Block_EN\n", "DOC_EN|NULL|0,,1,Block_EN\n",
                                   "DOC_ST|UpDateTx/Orbel5.exe|0,,2,Block_EN\n", "DOC_EN|NULL|0,,2,Block_EN\n"}));
    }

    d.test9(42, true, "abc");
    d.test9(-3);
    QVERIFY(g_log.contains("test9 OK, value=42, bool=1, QString=abc"));
    QVERIFY(g_log.contains("test9 OK, value=-3, bool=0, QString="));

    for (int i = 0; i < 5; ++i)
        d.AddDebugLine("noise", 0);
    d.m_board.slot[0].event_kind = ekFree;
    d.m_board.slot[10].event_kind = ekImage;
    d.m_board.slot[10].m_curr_drawbtn = "ekLine";
    d.SelectionFrameShown = true;
    d.ui->btn_test_9->click();
    qInstallMessageHandler(previous);
    QVERIFY(g_log.contains(QString("W: %1").arg(d.HorizontalScrollValue())));
    QVERIFY(g_log.contains(QString("H: %1").arg(d.VerticalScrollValue())));
    QCOMPARE(d.ui->listWidget_logwindow2->count(), 0);
    QListWidget* first = d.ui->listWidget_logwindow;
    QCOMPARE(first->count(), 3);
    QCOMPARE(first->item(0)->text(), QString("ek[0]=%1, ek[10]=2, boundary=1").arg(int(ekFree)));
    QCOMPARE(first->item(1)->text(),
             QString("event_kind[0] = %1, event_kind[10] = 2, m_image_cnt=%2").arg(int(ekFree)).arg(d.m_image_cnt));
    QCOMPARE(first->item(2)->text(),
             QString("m_curr_drawbtn[0] = %1, m_curr_drawbtn[10] = ekLine, m_image_cnt=%2")
                 .arg(d.m_board.slot[0].m_curr_drawbtn)
                 .arg(d.m_image_cnt));
    d.SelectionFrameShown = false;

    d.AddDebugLine("x", 0);
    d.ui->btn_test_10_ListClear->click();
    QCOMPARE(first->count(), 0);
    QCOMPARE(d.ui->listWidget_logwindow2->count(), 0);
    d.OptDebug(false);
}

void DebugOverlayTest::teardownWithDebugModeOn()
{
    auto board = std::make_unique<Dialog>();
    board->show();
    board->OptDebug(true);
    board->ShowPointerDebug(1, 3, 20, 20);
    QPointer<QLabel> label = board->m_pointerDebugLabels.at(3);
    board.reset();
    QVERIFY(label.isNull());
}

QTEST_MAIN(DebugOverlayTest)
#include "debug_overlay_test.moc"
