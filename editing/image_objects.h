#pragma once

#include <QSize>
#include <QString>

#include "collab/board_push.h"

// Pictures that become image objects: the size they take on the board and
// the file each is kept in.

// The size a picture of `image` takes on a board of `board`: one larger than
// the board in either direction is scaled down by the smaller of the two
// ratios, keeping its proportions (sizes truncated, at least 1); a smaller one
// keeps its size. 3000 x 2000 on 1920 x 1080 gives 1620 x 1080.
QSize ImageObjectSize(QSize image, QSize board);

// A picture the host sent, sized for this board: each side times our
// canvas over the host's (truncated, at least 1). Until the host's size is
// known the scale is 1.
QSize HostImageSize(QSize image, coll::BoardScale scale);

// The file a picture the host sent is kept in: `documentFolder` followed by
// the host's name and ".png" when the name is a bare file name, otherwise by
// "Obj_image" + `stamp`, so that no name leaves the folder.
QString ReceivedImagePath(const QString& documentFolder, const QString& hostName, const QString& stamp);
