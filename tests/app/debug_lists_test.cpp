#include "app/ui/dialog.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"

#include <QtTest>

#include <memory>

// The service overlay's log lists: hidden at start, bounded in length.
class DebugListsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<Dialog> m_dialog;

private slots:
    void initTestCase();
    void cleanupTestCase();
    void hideWidgetsHidesTheServiceWidgets();
    void rowsGoToTheirListAndStopAtTheLimit();
};

void DebugListsTest::initTestCase()
{
    qputenv("DRAVIK_NO_MODAL", "1");
    m_root = std::make_unique<ScopedFolderRoot>();
    m_dialog = std::make_unique<Dialog>();
}

void DebugListsTest::cleanupTestCase()
{
    m_dialog.reset();
    m_root.reset();
}

void DebugListsTest::hideWidgetsHidesTheServiceWidgets()
{
    m_dialog->show();
    m_dialog->HideWidgets();
    const Ui::Dialog* ui = m_dialog->ui;
    const QList<QWidget*> service = {ui->listWidget_logwindow, ui->listWidget_logwindow2, ui->btn_test_7,
                                     ui->btn_test_8, ui->btn_test_9, ui->btn_test_10_ListClear,
                                     ui->CK_LogWindow, ui->CK_LogWindow1, ui->CK_LogWindow2};
    for (QWidget* widget : service)
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
    QVERIFY(m_dialog->isVisible());
}

void DebugListsTest::rowsGoToTheirListAndStopAtTheLimit()
{
    QListWidget* first = m_dialog->ui->listWidget_logwindow;
    QListWidget* second = m_dialog->ui->listWidget_logwindow2;
    first->clear();
    second->clear();

    m_dialog->AddDebugLine("both", 0);
    m_dialog->AddDebugLine("one", 1);
    m_dialog->AddDebugLine("two", 2);
    QCOMPARE(first->count(), 2);
    QCOMPARE(second->count(), 2);
    QCOMPARE(first->item(1)->text(), QString("one"));
    QCOMPARE(second->item(1)->text(), QString("two"));

    // The 100th row empties the list; a list never keeps 100 rows after a call.
    for (int i = first->count(); i < 99; ++i)
        m_dialog->AddDebugLine(QString::number(i), 1);
    QCOMPARE(first->count(), 99);
    m_dialog->AddDebugLine("hundredth", 1);
    QCOMPARE(first->count(), 0);
    QCOMPARE(second->count(), 2);
}

QTEST_MAIN(DebugListsTest)
#include "debug_lists_test.moc"
