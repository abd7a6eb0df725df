#pragma once

// The PDF page editor library's interface. The whiteboard loads the library by
// file name and resolves these names; it uses this header only for the types.
// Calls may come from several threads; they are taken one at a time. The
// source of the last call stays open until another source is asked for, so
// that the pages of one document are extracted without reading it again.

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
