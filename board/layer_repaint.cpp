#include "board/layer_repaint.h"

#include <QPainter>
#include <cstring>

#include "board/event_kind.h"

namespace {

quint32 LayerKey(int slot, quint16 eventId)
{
    return (quint32(slot) << 16) | eventId;
}

// Folds plain values into 64 bits, a word at a time.
class Signature
{
public:
    template <typename T>
    void Add(const T& value)
    {
        static_assert(sizeof(T) <= sizeof(quint64), "one word at a time");
        quint64 word = 0;
        std::memcpy(&word, &value, sizeof(T));
        m_hash = (m_hash ^ word) * 0x100000001b3ull;
        m_hash ^= m_hash >> 29;
    }
    void Add(const QPointF& p)
    {
        Add(p.x());
        Add(p.y());
    }
    quint64 value() const { return m_hash; }

private:
    quint64 m_hash = 0xcbf29ce484222325ull;
};

// More places than this, or more of the page than this share of it, and a
// full redraw is cheaper than clearing and repainting place by place.
constexpr int kMostAreas = 24;
constexpr double kMostShare = 0.35;

// Unites overlapping rectangles until none overlap, so no place is painted
// twice.
QVector<QRect> MergedAreas(QVector<QRect> areas)
{
    bool merged = true;
    while (merged) {
        merged = false;
        for (int i = 0; i < areas.size() && !merged; ++i) {
            for (int j = i + 1; j < areas.size(); ++j) {
                if (areas[i].intersects(areas[j])) {
                    areas[i] |= areas[j];
                    areas.remove(j);
                    merged = true;
                    break;
                }
            }
        }
    }
    return areas;
}

struct LiveObject {
    int slot;
    const EventMaster* em;
    const EventDetail* ed;
    QRect rect;
};

}  // namespace

void PageLayerContents::Clear()
{
    m_objects.clear();
    layerKey = 0;
    backgroundKey = 0;
    noteName.clear();
}

void PageLayerContents::Note(const BoardModel& board, int slot, const EventMaster& em, const EventDetail& ed,
                             const QRect& rect)
{
    Entry& entry = m_objects[LayerKey(slot, em.EventID)];
    entry.rect = rect;
    entry.signature = PageObjectSignature(board, slot, em, ed);
    entry.seen = m_generation;
}

const PageLayerContents::Entry* PageLayerContents::find(int slot, quint16 eventId) const
{
    const auto it = m_objects.constFind(LayerKey(slot, eventId));
    return it == m_objects.constEnd() ? nullptr : &it.value();
}

quint64 PageObjectSignature(const BoardModel& board, int slot, const EventMaster& em, const EventDetail& ed)
{
    Signature s;
    s.Add(em.Kind);
    s.Add(em.StrData);
    s.Add(ed.M);
    s.Add(ed.C);
    s.Add(ed.BoundRF.left());
    s.Add(ed.BoundRF.top());
    s.Add(ed.BoundRF.width());
    s.Add(ed.BoundRF.height());
    s.Add(ed.Angle);
    s.Add(ed.PenWidth);
    s.Add(ed.PenColor.rgba64());
    if (em.Kind == ekFree || em.Kind == ekBrush) {
        const auto found = board.FreePenMap.constFind(MakeObjectKey(slot, em.EventID));
        if (found != board.FreePenMap.constEnd()) {
            // A stroke's samples move and stretch as a whole (and its
            // geometry with them): the count, both ends and the middle tell
            // a change without reading every sample of the page, which
            // would cost more than the repaint it saves.
            const QVector<FreePenPoint>& samples = found.value();
            s.Add(samples.size());
            if (!samples.isEmpty()) {
                for (int i : {0, samples.size() / 2, samples.size() - 1}) {
                    s.Add(samples[i].M);
                    s.Add(samples[i].Press);
                }
            }
        } else {
            s.Add(-1);
        }
    }
    return s.value();
}

QRect PageObjectRect(BoardModel& board, int slot, const EventMaster& em, const EventDetail& ed,
                     const QStringList& mediaFiles, const PageRenderOptions& o)
{
    if (em.Kind == ekImage)
        return em.StrData < mediaFiles.size() ? ImageObjectRect(ed, o.zoom) : QRect();
    // The painters report the rectangle from the object's outline, whatever
    // their target: a one-pixel probe gives it for the cost of the outline.
    QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    PointerSlotState scratch;
    QRect rect;
    PageRenderOptions options = o;
    options.clip = QRect();
    if (!PaintPageObject(probe, board, scratch, slot, em, ed, mediaFiles, nullptr, options, &rect))
        return QRect();
    return rect;
}

LayerRepaint RepaintChangedObjects(QImage& layer, const QImage& background, BoardModel& board,
                                   const QString& noteName, PageLayerContents& contents,
                                   const QStringList& mediaFiles, const PageRenderOptions& o)
{
    LayerRepaint result;
    const quint32 generation = ++contents.m_generation;
    QHash<quint32, PageLayerContents::Entry>& held = contents.m_objects;
    QVector<QRect> damage;
    QVector<LiveObject> live;
    live.reserve(held.size() + 8);
    int seen = 0;
    for (int slot = 0; slot < kPointerSlotCount; ++slot) {
        const SlotRecords& records = board.slot[slot].records;
        for (const EventMaster& em : records.masters()) {
            if (em.NoteName != noteName)
                continue;
            const EventDetail* ed = records.findDetail(em.EventID);
            if (!ed)
                continue;
            const quint32 key = LayerKey(slot, em.EventID);
            auto it = held.find(key);
            if (ed->Deleted) {
                if (it != held.end()) {
                    damage.append(it->rect);
                    held.erase(it);
                }
                continue;
            }
            if (it != held.end() && it->seen == generation) {
                // A second master of the same object: a redraw paints it
                // twice, and so does this.
                live.append({slot, &em, ed, it->rect});
                continue;
            }
            const quint64 signature = PageObjectSignature(board, slot, em, *ed);
            if (it == held.end() || it->signature != signature) {
                if (it != held.end())
                    damage.append(it->rect);
                else
                    it = held.insert(key, PageLayerContents::Entry());
                it->rect = PageObjectRect(board, slot, em, *ed, mediaFiles, o);
                it->signature = signature;
                damage.append(it->rect);
            }
            it->seen = generation;
            ++seen;
            live.append({slot, &em, ed, it->rect});
        }
    }
    // Objects the layer holds that are no longer on the page's tables.
    if (seen < held.size()) {
        for (auto it = held.begin(); it != held.end();) {
            if (it->seen != generation) {
                damage.append(it->rect);
                it = held.erase(it);
            } else {
                ++it;
            }
        }
    }

    QVector<QRect> areas;
    for (const QRect& r : qAsConst(damage)) {
        const QRect onLayer = r.intersected(layer.rect());
        if (!onLayer.isEmpty())
            areas.append(onLayer);
    }
    areas = MergedAreas(areas);
    double share = 0;
    for (const QRect& r : qAsConst(areas))
        share += double(r.width()) * r.height();
    share /= double(layer.width()) * layer.height();
    if (areas.size() > kMostAreas || share > kMostShare) {
        result.needsFullRedraw = true;
        return result;
    }

    PointerSlotState scratch;
    PageRenderOptions clipped = o;
    const ImageObjectPainter paintImage = [&clipped](QImage& target, const QString& file, const EventDetail& ed) {
        PaintImageObject(target, file, ed, clipped.zoom, clipped.clip);
    };
    // The painters' clip also lets them touch the layer's two far corner
    // pixels; those outside the area are put back after it.
    const QPoint corners[2] = {layer.rect().topLeft(), layer.rect().bottomRight()};
    for (const QRect& area : qAsConst(areas)) {
        QPainter painter(&layer);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(area.topLeft(), background, area);
        painter.end();
        QRgb kept[2];
        for (int i = 0; i < 2; ++i)
            kept[i] = layer.pixel(corners[i]);
        clipped.clip = area;
        for (const LiveObject& object : qAsConst(live)) {
            if (!object.rect.intersects(area))
                continue;
            if (PaintPageObject(layer, board, scratch, object.slot, *object.em, *object.ed, mediaFiles, paintImage,
                                clipped))
                ++result.painted;
        }
        for (int i = 0; i < 2; ++i) {
            if (!area.contains(corners[i]))
                layer.setPixel(corners[i], kept[i]);
        }
    }
    result.areas = areas;
    return result;
}
