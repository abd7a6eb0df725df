// The whiteboard binds our collaboration library at start, and starts without
// it when it is missing.
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"

#include <QTemporaryDir>
#include <QTest>

class CollabLibraryXTest : public QObject
{
    Q_OBJECT

private:
    bool startWhiteboard(RunningProgram& board, const QString& libraryFolder)
    {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        environment.insert(QStringLiteral("DRAVIK_NO_MODAL"), QStringLiteral("1"));
        environment.insert(QStringLiteral("DRAVIK_LIBRARY_DIR"), libraryFolder);
        return StartWhiteboard(board, {}, environment);
    }

private slots:
    void loadedBesideTheProgram()
    {
        ScopedFolderRoot root;
        RunningProgram board;
        QVERIFY(startWhiteboard(board, BuiltProgramFolder()));
        QVERIFY(board.waitForLine(QStringLiteral("exe : Success load Konnexa.dll"), 10000) >= 0);
        QVERIFY(!board.hasLine(QStringLiteral("exe : error load Konnexa.dll")));
        QCOMPARE(CloseWhiteboard(board), 0);
    }

    void missingLibrary()
    {
        ScopedFolderRoot root;
        QTemporaryDir noLibraries;
        RunningProgram board;
        QVERIFY(startWhiteboard(board, noLibraries.path()));
        QVERIFY(board.waitForLine(QStringLiteral("exe : error load Konnexa.dll"), 10000) >= 0);
        QVERIFY(!board.hasLine(QStringLiteral("exe : Success load Konnexa.dll")));
        QCOMPARE(CloseWhiteboard(board), 0);
    }
};

QTEST_MAIN(CollabLibraryXTest)
#include "collab_library_xtest.moc"
