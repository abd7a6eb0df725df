// The main window's side of collaboration: binding the transport library.
#include "app/ui/dialog.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class DialogCollabTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<Dialog> m_dialog;

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_dialog = std::make_unique<Dialog>();
        m_dialog->show();
    }

    void cleanupTestCase()
    {
        m_dialog.reset();
        m_root.reset();
    }

    // Without a whole library no collaboration button shows and no function
    // is bound; with it every function is.
    void libraryBinding_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("missing") << QStringLiteral("/no_such_folder") << false;
        QTest::newRow("lacking an export") << QStringLiteral("/konnexa_lacking") << false;
        QTest::newRow("beside the program") << QString() << true;
    }
    void libraryBinding()
    {
        QFETCH(QString, folder);
        QFETCH(bool, loaded);
        ScopedLibraryFolder libraries(BuiltProgramFolder() + folder);
        m_dialog->ui->btn_show_collconnectDlg->show();
        m_dialog->ui->btn_show_IP->show();
        m_dialog->ui->btn_show_userListDlg->show();
        m_dialog->LoadCollaborationLibrary();
        QCOMPARE(m_dialog->m_collLibraryLoaded, loaded);
        int bound = 0;
        m_dialog->m_konnexa.forEachFunction([&](const char*, auto& slot) { bound += slot ? 1 : 0; });
        QCOMPARE(bound, loaded ? 11 : 0);
        QCOMPARE(m_dialog->ui->btn_show_collconnectDlg->isHidden(), !loaded);
        QCOMPARE(m_dialog->ui->btn_show_IP->isHidden(), !loaded);
        QVERIFY(m_dialog->ui->btn_show_userListDlg->isHidden());
    }
};

QTEST_MAIN(DialogCollabTest)
#include "dialog_collab_test.moc"
