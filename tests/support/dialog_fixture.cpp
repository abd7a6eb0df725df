#include "tests/support/dialog_fixture.h"

#include "app/ui/outside_libraries.h"
#include "tests/support/debug_log.h"

#include <QFile>
#include <QtTest>

void DialogTestBase::StartDialogTests(const QStringList& libraries)
{
    qInstallMessageHandler(CollectLog);
    qputenv("DRAVIK_NO_MODAL", "1");
    m_root = std::make_unique<ScopedFolderRoot>();
    QVERIFY(m_root->isValid());
    m_libraries = std::make_unique<QTemporaryDir>();
    QVERIFY(m_libraries->isValid());
    m_bindsCollaboration = libraries.contains(QStringLiteral("libKonnexa.so"));
    for (const QString& name : libraries) {
        QVERIFY2(QFile::link(BuiltProgramFolder() + QLatin1Char('/') + name, m_libraries->filePath(name)),
                 qPrintable(name));
    }
}

bool DialogTestBase::OpenBoard()
{
    // A collaboration library bound by an earlier window stays loaded in the
    // process; a test that wants it missing has it let go.
    if (!m_bindsCollaboration)
        CollaborationLibrary().unload();
    ScopedLibraryFolder folder(m_libraries->path());
    board = std::make_unique<Dialog>();
    board->InitDialog(false);
    board->show();
    if (!QTest::qWaitForWindowExposed(board.get(), 20000)) {
        qWarning("the whiteboard window was not shown");
        return false;
    }
    g_log.clear();
    return true;
}
