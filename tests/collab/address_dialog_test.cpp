// The band with the session address across the middle of the main window.
#include "app/ui/dialog.h"
#include "collab/ui/collipdlg.h"
#include "tests/support/test_folders.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// What the band looked like while it was up.
struct Band {
    QRect geometry;
    QString text;
    QRect label;
    int labelPoints = 0;
    int labelWeight = 0;
    QRect button;
    int buttonPoints = 0;
    int buttonWeight = 0;
    bool modal = false;
};

}  // namespace

class AddressDialogTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<ScopedLibraryFolder> m_libraries;
    std::unique_ptr<Dialog> m_dialog;

    // Opens the band as the toolbar's IP button does and closes it with its
    // own button.
    Band Open()
    {
        Band band;
        CollIpDlg* dialog = m_dialog->m_collIpDlg;
        QTimer::singleShot(0, dialog, [dialog, &band]() {
            band = {dialog->geometry(),
                    dialog->label_IP->text(),
                    dialog->label_IP->geometry(),
                    dialog->label_IP->font().pointSize(),
                    dialog->label_IP->font().weight(),
                    dialog->Btn_Close->geometry(),
                    dialog->Btn_Close->font().pointSize(),
                    dialog->Btn_Close->font().weight(),
                    dialog->isModal()};
            dialog->Btn_Close->click();
        });
        m_dialog->OptIpBtn();
        return band;
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_libraries = std::make_unique<ScopedLibraryFolder>(BuiltProgramFolder());
        m_dialog = std::make_unique<Dialog>();
        m_dialog->show();
        m_dialog->InitDialog(false);
        QVERIFY(m_dialog->m_collIpDlg);
        const CollIpDlg* dialog = m_dialog->m_collIpDlg;
        QCOMPARE(dialog->windowFlags() & (Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
                 Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool);
        QCOMPARE(dialog->label_IP->alignment(), Qt::AlignCenter);
    }

    void cleanupTestCase() { m_dialog.reset(); }

    void band_data()
    {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QRect>("label");
        QTest::addColumn<int>("labelPoints");
        QTest::addColumn<QRect>("button");
        QTest::addColumn<int>("buttonPoints");
        // 1920 x 0.08 + 1080 x 0.01 = 164.4; 1080 x 0.06 = 64.8; 135 / 1.5;
        // 540 / 1.3 = 415.4; 135 / 1.2 = 112.5.
        QTest::newRow("full hd, no session yet") << QRect(0, 0, 1920, 1080) << QString() << QRect(0, 270, 1920, 540)
                                                 << QRect(0, 90, 1920, 270) << 164 << QRect(480, 415, 960, 112) << 64;
        // The band follows a window that does not start at the screen's
        // edge; the label stays inside the band.
        QTest::newRow("window moved right") << QRect(300, 0, 1000, 700) << "192.0.2.1" << QRect(300, 175, 1000, 350)
                                            << QRect(0, 58, 1000, 175) << 87 << QRect(250, 269, 500, 72) << 42;
    }
    void band()
    {
        QFETCH(QRect, window);
        QFETCH(QString, address);
        QFETCH(QRect, geometry);
        QFETCH(QRect, label);
        QFETCH(int, labelPoints);
        QFETCH(QRect, button);
        QFETCH(int, buttonPoints);
        m_dialog->setGeometry(window);
        m_dialog->m_session.ownAddress = address;

        const Band band = Open();
        QCOMPARE(band.geometry, geometry);
        QCOMPARE(band.text, address);
        QCOMPARE(band.label, label);
        QCOMPARE(band.labelPoints, labelPoints);
        QCOMPARE(band.labelWeight, 75);
        QCOMPARE(band.button, button);
        QCOMPARE(band.buttonPoints, buttonPoints);
        QCOMPARE(band.buttonWeight, 75);
        QVERIFY(band.modal);
        QVERIFY(!m_dialog->m_collIpDlg->isVisible());
    }
};

QTEST_MAIN(AddressDialogTest)
#include "address_dialog_test.moc"
