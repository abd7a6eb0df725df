#pragma once

#include <QDateTime>
#include <QString>

// Names made from the local time. Pages, captured screens and inserted media
// are named by a 17-digit stamp ("%04d%02d%02d%02d%02d%02d%03d"); project and
// contents files by a 15-character one ("%04d%02d%02d_%02d%02d%02d").

// The 17-digit stamp of a moment, no separators.
QString FormatTimeStampId(const QDateTime& moment);

// The 15-character file stamp of a moment.
QString FormatFileTimeStamp(const QDateTime& moment);

// A page's identity. Two pages made in the same millisecond must not share a
// name (their objects and image files would merge), so every stamp handed out
// during a run is later than the one before: when the clock has not moved on
// (or went back), the previous stamp's moment plus one millisecond is used.
// Safe to call from any thread.
QString MakeTimeStampId();

// The same rule applied to a given clock reading; `last` holds the moment of
// the previous stamp (invalid before the first) and is updated.
QString NextTimeStampId(const QDateTime& now, QDateTime* last);

// The file stamp of the current local time.
QString MakeFileTimeStamp();
