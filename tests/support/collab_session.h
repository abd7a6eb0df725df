#pragma once

#include <QImage>
#include <QMap>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

#include "tests/support/own_display.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"

class Dialog;

// Starts a whiteboard on `display` with its folders below `root` and waits
// until it can be worked as a person would: its collaboration library bound
// and its splash screen (which stays on top of the connect dialog) closed.
// False, with a warning saying what never came.
bool StartSessionBoard(RunningProgram& board, const OwnDisplay& display, const QString& root);

// One whiteboard of a session test: an X server of its own, a private
// folder tree and the program.
struct SessionBoard {
    SessionBoard() = default;
    // The folder tree made from a QTemporaryDir template, for a test that
    // wants it below a folder of its own.
    explicit SessionBoard(const QString& rootTemplate) : root(rootTemplate) {}

    // Starts the X server and the whiteboard on it (StartSessionBoard).
    bool Start(const QString& screen = QStringLiteral("1280x800x24"));

    OwnDisplay display;
    QTemporaryDir root;
    RunningProgram program;
};

// From initTestCase: skips the test program where sessions cannot run (see
// CollabProgramTest::Unfit, which takes the further tools it needs).
#define DRAVIK_SKIP_WHERE_SESSIONS_CANNOT_RUN(...)            \
    do {                                                      \
        const QString unfit = Unfit(__VA_ARGS__);             \
        if (!unfit.isEmpty())                                 \
            QSKIP(qPrintable(unfit));                         \
    } while (false)

// What the whole-program tests of collaboration share: the places of the
// toolbar's collaboration button and the connect dialog's fields on a
// board's screen, and hosting or joining a session through them.
class CollabProgramTest : public QObject
{
protected:
    // Why these tests cannot run here (no network namespace, no Xvfb, or one
    // of `tools` missing); empty when they can.
    static QString Unfit(const QStringList& tools = {});

    // From initTestCase once fit: a private folder root, and the places,
    // taken from the same layout code on a screen of the same size: "connect",
    // "notebtn", "undobtn" and the connect dialog's fields by object name.
    // `more` takes a test's own places from that window after.
    bool MeasurePlaces(const std::function<bool(Dialog&)>& more = {});

    // Opens the connect dialog from the board's toolbar; false when it did
    // not show.
    bool OpenConnectDialog(const OwnDisplay& display, RunningProgram& board);
    // Opens the dialog and presses Connect as a host (`address` empty) or as
    // a participant joining `address`, with `password`.
    bool Connect(const OwnDisplay& display, RunningProgram& board, const QString& address,
                 const QString& password = QStringLiteral("pw"));
    // Hosts a session and waits until the relay serves and the connect
    // dialog has left the board.
    bool Host(SessionBoard& host, const QString& password = QStringLiteral("pw"));
    // Whether the connect dialog of `board` has gone within 10 s.
    bool ConnectDialogGone(SessionBoard& board);
    // Both boards started, the host serving, the participant joined at
    // `address` and given the host's page and board.
    bool StartSession(SessionBoard& host, SessionBoard& participant, const QString& address);

    // The display's whole screen; a null image when the grab failed.
    QImage Screen(const OwnDisplay& display);
    // Dark pixels near the horizontal line from x0 to x1 at height y.
    int InkAlong(const OwnDisplay& display, int x0, int x1, int y);

    std::unique_ptr<ScopedFolderRoot> m_root;
    QMap<QString, QPoint> m_at;
};
