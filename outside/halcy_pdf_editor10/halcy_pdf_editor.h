#pragma once

// The PDF page editor library's interface. The whiteboard loads the library by
// file name and resolves these names; it uses this header only for the types.
// Every call stands alone (no state), so calls from several threads are safe.

#include <QString>

#define HPE_API extern "C" __attribute__((visibility("default")))

enum HpeResult {
    HPE_OK = 0,
    HPE_BAD_PAGE = 1,      // page index outside the document
    HPE_CANNOT_OPEN = 2,   // source missing, not a plain file, or not a PDF
    HPE_CANNOT_WRITE = 3,  // target not written (an old target is left as it was)
};

// Writes page `pageIndex` (from 0) of `source` as a new one-page PDF `target`.
HPE_API int HPE_ExtractPage(QString source, int pageIndex, QString target);
// Writes the pages `firstPage` .. `lastPage` (from 0, inclusive) of `source`
// as one new PDF `target`.
HPE_API int HPE_ExtractPageMulti(QString source, int firstPage, int lastPage, QString target);
