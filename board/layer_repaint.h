#pragma once

#include <QHash>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

#include "board/board_model.h"
#include "board/page_render.h"

// Repainting the page layer only where objects went, came or changed. When
// one object of a page of thousands is taken away, painting the page again
// costs as much as every object on it; clearing the place it covered and
// painting there, clipped, only the objects that cross it, gives the very
// same pixels for the cost of those few.

struct LayerRepaint {
    // The changes reach so much of the page (or so many places) that a full
    // redraw costs less; nothing was painted and the contents are stale.
    bool needsFullRedraw = false;
    QVector<QRect> areas;  // layer pixels repainted
    int painted = 0;       // object paints made, each clipped to its area
};

class PageLayerContents;
// Brings `layer` up to date with the live objects of the page `noteName`:
// every place an object left, came to or changed in is set back to the
// background, and the objects that cross it are painted again clipped to
// it, slot by slot in table order as a full redraw paints them. Image
// objects are read from `mediaFiles`. `contents` must describe `layer`
// on entry and describes it again afterwards.
LayerRepaint RepaintChangedObjects(QImage& layer, const QImage& background, BoardModel& board,
                                   const QString& noteName, PageLayerContents& contents,
                                   const QStringList& mediaFiles, const PageRenderOptions& o);

// What the page layer holds: for every live object of the page that was
// painted into it, the rectangle it painted and a signature of everything
// that decides its pixels. Comparing the records with it tells which objects
// changed since, and where.
class PageLayerContents
{
public:
    struct Entry {
        QRect rect;  // layer pixels; empty for objects that paint nothing
        quint64 signature = 0;
        quint32 seen = 0;
    };

    void Clear();

    // The object has just been painted into the layer (rect: what it
    // painted, empty when nothing).
    void Note(const BoardModel& board, int slot, const EventMaster& em, const EventDetail& ed, const QRect& rect);

    int size() const { return m_objects.size(); }
    const Entry* find(int slot, quint16 eventId) const;

    // Which layer and background these contents describe (their cache
    // keys), the page, and how it was painted; the layer is only repainted
    // in parts while all of them still hold.
    qint64 layerKey = 0;
    qint64 backgroundKey = 0;
    QString noteName;

private:
    friend LayerRepaint RepaintChangedObjects(QImage&, const QImage&, BoardModel&, const QString&,
                                              PageLayerContents&, const QStringList&, const PageRenderOptions&);
    QHash<quint32, Entry> m_objects;
    quint32 m_generation = 0;
};

// Everything of an object that decides the pixels it paints, folded into one
// number: kind, media, geometry, angle, pen, and every sample of a stroke.
quint64 PageObjectSignature(const BoardModel& board, int slot, const EventMaster& em, const EventDetail& ed);

// The rectangle of the layer an object paints into at these options,
// found without touching the layer; empty when it paints nothing.
QRect PageObjectRect(BoardModel& board, int slot, const EventMaster& em, const EventDetail& ed,
                     const QStringList& mediaFiles, const PageRenderOptions& o);
