#pragma once

// The page image files of a lesson just opened. Opening paints no page: the
// window paints the page it shows, and the other pages' files (which the
// note list, the project thumbnail and the contents package read) are
// painted one after the other by a worker from a copy of the lesson as it
// was read. Whatever the window writes to a page's file itself from then on
// wins: the worker never writes over it, and leaves the page out when it
// has not come to it yet.

#include "storage/project_load.h"

#include <QMutex>
#include <QSet>
#include <QString>

#include <atomic>

namespace storage {

class PageImageBacklog
{
public:
    // `lesson` as read (the tables are shared with the window's copy until
    // either changes); `background` and `options` as RenderProjectPages
    // takes them. Every note's page waits.
    PageImageBacklog(LoadedProject lesson, const BackgroundRequest& background, const PageRenderOptions& options);

    // Worker: paints every page still waiting, in note order, and writes its
    // file, until the pages are done or Cancel. Returns the files written.
    int Run(const DocumentRenderer& renderer);

    // The window writes the file at `imagePath` itself (or the page is gone):
    // once this returns, the worker no longer writes it.
    void HandOver(const QString& imagePath);

    // The worker stops after the page it is painting, writing nothing more.
    void Cancel();

    // Pages whose files are neither written nor handed over.
    int Waiting() const;

private:
    LoadedProject m_lesson;
    BackgroundRequest m_background;
    PageRenderOptions m_options;
    mutable QMutex m_mutex;
    QSet<QString> m_waiting;  // page image paths
    std::atomic<bool> m_cancelled{false};
};

}  // namespace storage
