#include "updater/ui/dialog_scaling.h"
#include "updater/ui/update_dialogs.h"
#include "updater/update_language.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

// The question and notice dialogs at 96 dpi (the offscreen screen's resolution).
class UpdateDialogsTest : public QObject
{
    Q_OBJECT

private:
    UpdateLanguage m_language;
    UpdateDialogRecord record()
    {
        return UpdateDialogRecord{&m_language, QStringLiteral("NORVANE Dravik (for Windows)"),
                                  QStringLiteral("5.0.0.32"), QStringLiteral("5.0.0.33")};
    }

    // Size a window without layout takes: its children's bounding box with the
    // same margin on the right and bottom as on the left and top.
    static QSize preferredSize(QWidget* window)
    {
        const QRect children = window->childrenRect();
        return children.size() + QSize(2 * children.x(), 2 * children.y());
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(screenDpi(), 96);
    }

    void init()
    {
        m_language.load(QStringLiteral("ENU"));
    }

    void askDialogGeometryAndTexts()
    {
        AskDlg dialog(nullptr, record());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Select Update Action"));
        QCOMPARE(dialog.windowFlags(), kUpdaterWindowFlags);
        QCOMPARE(dialog.pushButtonYes->geometry(), QRect(40, 200, 91, 31));
        QCOMPARE(dialog.pushButtonBackground->geometry(), QRect(40, 240, 91, 31));
        QCOMPARE(dialog.pushButtonLater->geometry(), QRect(40, 280, 91, 31));
        QVERIFY(!dialog.pushButtonYes->autoDefault() && !dialog.pushButtonYes->isDefault());
        QCOMPARE(dialog.comboBoxLater->x(), dialog.labelDescLater->geometry().right() + 1 + 20);
        QCOMPARE(dialog.comboBoxLater->count(), 4);
        QCOMPARE(dialog.comboBoxLater->itemText(3), QStringLiteral("1 Month Later"));
        // Labels keep their left edge and are centred in their row.
        QCOMPARE(dialog.labelDescYes->x(), 140);
        QCOMPARE(dialog.labelDescYes->y() + dialog.labelDescYes->height() / 2, 200 + 31 / 2);
        QCOMPARE(dialog.labelCurrent->text(), QStringLiteral("- Current Version: 5.0.0.32"));
        QCOMPARE(dialog.labelUpdated->text(), QStringLiteral("- Updated Version: 5.0.0.33"));
        QCOMPARE(dialog.labelDescYes->text(), QStringLiteral(": Download updated file and install now."));
        QCOMPARE(dialog.labelProduct->text(), QStringLiteral("NORVANE Dravik (for Windows)"));
        QCOMPARE(dialog.size(), preferredSize(&dialog));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    }

    void notifyDialogGeometry()
    {
        NotifyDlg dialog(nullptr, record());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Select Update Action"));
        QCOMPARE(dialog.pushButtonOK->size(), QSize(91, 31));
        QCOMPARE(dialog.pushButtonOK->y(), 230);
        QCOMPARE(dialog.pushButtonOK->x(), dialog.width() / 2 - 91 / 2);
        QCOMPARE(dialog.labelFound->text(), QStringLiteral("Updated Version Downloaded."));
        QCOMPARE(dialog.labelAsk->text(), QStringLiteral("Update will be installed."));
        QCOMPARE(dialog.pushButtonOK->text(), QStringLiteral("OK"));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    }

    void scalingAt144Dpi()
    {
        QWidget parent;
        QPushButton button(&parent);
        button.setGeometry(40, 200, 91, 31);
        scaleWidget(&button, 144 / 96.0, false);
        QCOMPARE(button.geometry(), QRect(60, 300, 136, 46));
    }

    void buttonsEmitTheirAction()
    {
        AskDlg dialog(nullptr, record());
        QSignalSpy spy(&dialog, &AskDlg::AskClicked);
        dialog.pushButtonYes->click();
        dialog.pushButtonBackground->click();
        dialog.comboBoxLater->setCurrentIndex(3);
        dialog.pushButtonLater->click();
        QCOMPARE(spy.count(), 3);
        QCOMPARE(spy.at(0), (QVariantList{0, -1}));
        QCOMPARE(spy.at(1), (QVariantList{1, -1}));
        QCOMPARE(spy.at(2), (QVariantList{2, 3}));

        NotifyDlg notice(nullptr, record());
        QSignalSpy notified(&notice, &NotifyDlg::NotifyClicked);
        notice.pushButtonOK->click();
        QCOMPARE(notified.count(), 1);
    }

    // Escape, Enter and a close request from the window system leave both open.
    void cannotBeClosedByKeysOrCloseRequests()
    {
        AskDlg ask(nullptr, record());
        NotifyDlg notice(nullptr, record());
        for (QDialog* dialog : {static_cast<QDialog*>(&ask), static_cast<QDialog*>(&notice)}) {
            QSignalSpy askSpy(&ask, &AskDlg::AskClicked);
            QSignalSpy noticeSpy(&notice, &NotifyDlg::NotifyClicked);
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            QTest::keyClick(dialog, Qt::Key_Escape);
            QTest::keyClick(dialog, Qt::Key_Return);
            QTest::keyClick(dialog, Qt::Key_F4, Qt::AltModifier);
            QVERIFY(!dialog->close());
            QCoreApplication::processEvents();
            QVERIFY(dialog->isVisible());
            QCOMPARE(askSpy.count() + noticeSpy.count(), 0);
        }
    }

    void rightToLeftDropsThePrefix()
    {
        m_language.load(QStringLiteral("ARA"));
        AskDlg dialog(nullptr, record());
        QCOMPARE(dialog.layoutDirection(), Qt::RightToLeft);
        QVERIFY(!dialog.labelDescYes->text().startsWith(QLatin1String(": ")));
        NotifyDlg notice(nullptr, record());
        QCOMPARE(notice.layoutDirection(), Qt::RightToLeft);
    }
};

int main(int argc, char* argv[])
{
    // The layout is made for 96 dpi; the test screen is told to have it.
    qputenv("QT_FONT_DPI", "96");
    QApplication app(argc, argv);
    UpdateDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "update_dialogs_test.moc"
