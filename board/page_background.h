#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>

// Building the background of a page (the page without its objects) from its
// source and kind: a board colour, a note paper, a picture or one page of a
// PDF document, fitted into the board. The window applies the result (image,
// scale, scroll bars); nothing here touches a widget.

// What the builder needs of the PDF renderer.
struct DocumentRenderer {
    // Closes what was open, opens the first page of `path` and reports its
    // size in the renderer's units; false when the file cannot be opened, has
    // no pages or its first page cannot be loaded.
    std::function<bool(const QString& path, double* width, double* height)> openFirstPage;
    // Draws the open page at `scale` into `target` (already sized by the caller).
    std::function<void(double scale, QImage* target)> renderPage;
    bool available = false;  // the renderer library is bound
};

struct BackgroundRequest {
    QString path;
    int type = 1;
    bool alternative = false;
    bool pageOption = false;
    QSize view;                // the page image size (m_view_width x m_view_height)
    QRect content;             // where page sources are fitted
    int level = 0;             // collaboration level: 1 viewer and 2 writer fit to the host
    QSize hostBoard;           // as announced by the host; 0 until then
    QColor boardColor{Qt::white};
    QString backgroundPicture; // configured picture for board pages, empty for none
    QImage backgroundImage;    // that picture already read (the board reads it once); null: read it here
    QSize currentImageSize;    // size of the visible page image
    QImage previous;           // the background so far (kept where nothing replaces it)
    double scale = 1.0;        // c_scale so far
};

struct ScrollSetup {
    bool set = false;
    int pageStep = 0;
    int maximum = 0;
    bool show = false;
    bool enabled = true;
};

struct BackgroundResult {
    bool stored = true;       // false: leave the previous background as it is
    QImage image;
    double scale = 1.0;       // c_scale
    QSize sourceSize;         // widPage x hgtPage as ints
    bool sourceSizeKnown = false;
    ScrollSetup vertical;
    ScrollSetup horizontal;
    QRect pictureRect;        // where a picture page's picture went
    bool pictureRectSet = false;
    bool pictureLoadFailed = false;
    QString pictureError;     // which picture was not used, and why
    QStringList debugLines;   // for the debug output
    QStringList logLines;     // for the on-screen log window
};

// The black board's colour.
extern const QColor kBlackBoardColor;

BackgroundResult BuildPageBackground(const BackgroundRequest& request, const DocumentRenderer& renderer);

// Whether `path` names a note paper of the paper folder that can be drawn
// without the renderer ("<folder>/MusicNote.pdf" and the others).
QString PaperNameOfPath(const QString& path);
