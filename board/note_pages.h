#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The page-list rules of the board that need no window: naming the page
// source and image file, settling the current page after a page is removed,
// the page counter label, the recording clock text and the recorded page
// numbers.

// Background names of board pages.
extern const char* const kWhiteBoardName;  // "WhiteBoard"
extern const char* const kBlackBoardName;  // "BlackBoard"

// Page kinds (the `type` of a note).
enum NotePageType { kBoardPage = 1, kPicturePage = 2, kDocumentPage = 3 };

// The source of a new page's background: the board name for "WhiteBoard" and
// "BlackBoard", the paper file (paper folder + name + ".pdf") for the other
// board-kind pages, the given path for picture and document pages.
QString PageSourcePath(int type, const QString& name, const QString& path, const QString& paperFolder);

// The page image file of a page: work folder + stamp + ".jpg".
QString PageImagePath(const QString& workFolder, const QString& stamp);

// Where the current page stands after the page `removedStamp` was taken out
// of the list. `stamps` are the pages left, in order; `currentIndex` and
// `countBefore` are the index and count from before the removal.
struct PageAfterDelete {
    int index = 0;            // the page to show or keep
    bool showPage = false;    // the current page went: show the page at index
    bool needBlankPage = false;  // no page is left: a blank page must be made
};
PageAfterDelete SettleAfterDelete(const QStringList& stamps, int currentIndex, int countBefore,
                                  const QString& currentStamp, const QString& removedStamp);

// The page counter "%1/%2": the own position alone or as host (levels 0, 3),
// the host's as viewer or writer (levels 1, 2), empty at any other level.
QString PageLabelText(int level, int noteIndex, int noteCount, int peerIndex, int peerCount);

// The recording clock "h:mm:ss" of an elapsed time in milliseconds.
QString RecordClockText(qint64 elapsedMs);

// The position of `stamp` among the distinct pages shown during a recording.
// `distinct` grows by the first `shownCount` entries of `shownStamps` not yet
// in it (first showing order); 0 when the stamp was never shown.
int DistinctPagePosition(const QStringList& shownStamps, int shownCount, QStringList* distinct,
                         const QString& stamp);

// Raises every recorded page index above `currentIndex` by one (a page was
// inserted after the current one).
void ShiftIndexesAbove(QVector<int>* indexes, int currentIndex);
