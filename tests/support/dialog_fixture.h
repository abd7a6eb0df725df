#pragma once

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

#include "app/ui/dialog.h"
#include "tests/support/test_folders.h"

// The set-up shared by the unit tests of a whole whiteboard window: all
// folders below a private root, message boxes written to the log, debug
// lines gathered in g_log, and for each test function a new window that has
// been through its second stage and is shown.
class DialogTestBase : public QObject
{
protected:
    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<Dialog> board;

    // From initTestCase. The window binds only the built outside libraries
    // named here by file name ("libKonnexa.so"); every other one is missing,
    // which also spares each window the capture library's device listing.
    void StartDialogTests(const QStringList& libraries = {});
    // From init: a new window; false, with a warning, when it was not shown.
    bool OpenBoard();
    // From cleanup.
    void CloseBoard() { board.reset(); }

private:
    std::unique_ptr<QTemporaryDir> m_libraries;
    bool m_bindsCollaboration = false;
};
