#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QVector>

#include <memory>

#include "app/ui/dialog.h"
#include "tests/support/test_folders.h"

// The fixture of the in-process board tests: every test function gets a new
// whiteboard window of 800 x 600 on an empty board, shown, with all folders
// below a temporary root and message boxes written to the log.
class BoardWindowTest : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<ScopedFolderRoot> root;
    Dialog* board = nullptr;

    // A straight drag of one pointer slot through the primitives: the press,
    // `steps` even moves and the release.
    void Drag(int slot, QPoint from, QPoint to, int steps = 4);
    // A stroke or figure drawn through the pointer primitives, with `steps`
    // moves from `from` to `to`.
    void Draw(int slot, int kind, QPoint from, QPoint to, int steps = 4);
    // A free-pen stroke made from its samples, with its records and its
    // samples in FreePenMap and in the slot's full list.
    quint16 AddStroke(int slot, const QVector<QPointF>& points, QRect bound);
    // What the second stage does before a sound recording (the button table,
    // the wiring of the clock, the menus), with the capture library's test
    // tone as the microphone and `folder` as the recording folder. False when
    // the capture library did not load.
    bool PrepareSoundRecording(const QString& folder);

    // Special functions of Qt Test; a test that needs more set-up has its
    // own, which calls these first.
protected slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
};
