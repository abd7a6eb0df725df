#pragma once

// The sending side of a file transfer between peers: which file a kind
// names, the name an image goes by, and the size of one chunk.

#include <QString>

namespace coll {

// Where files received from peers are kept: "Doc/" in the work folder
// (`workFolder` ends with a separator). Received images, pages and the
// images named by "IMGPATH_SET" all live here, and nowhere else.
QString DocumentFolder(const QString& workFolder);

// One "DOC_ST" frame carries at most this many bytes of the file.
constexpr int kFileChunkSize = 3072;

// The file a transfer of `kind` reads: 0 the page's document (`notePath`),
// 1 and 2 the data files below the program's folder, 3 and 4 the image the
// caller names. Empty for any other kind.
QString FileTransferPath(int kind, const QString& notePath, const QString& given, const QString& programFolder);

// An image's name for its peers: the part after the last "/" or "\", cut
// before its first "." ("C:\pics\pic.1.png" gives "pic").
QString ImageNameFromPath(const QString& path);

}  // namespace coll
