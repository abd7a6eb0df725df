#pragma once

// A reader of the event files in exactly the shape the project writer gives
// them (see project_file.h), straight from their bytes. Opening a lesson
// reads millions of sample elements; a general XML reader spends most of
// that time on what these files never hold. Anything else a file may
// lawfully hold (attributes in another order or of other names, entities,
// comments, processing instructions, CDATA, a byte order mark, another
// encoding, characters outside printable ASCII) is not this shape: the
// scan says so and the caller reads the file with the general reader, so
// every file reads as it always has.
//
// The shape, with blanks (space, tab, line breaks) allowed between elements
// and between attributes:
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <Event Note="." Width="." Height="." RWidth="." RHeight=".">  or .../>
//       <EM_k Type="EM" Index="k">  k = 0..10 as the writer writes it;
//           <EM KD MP SD EI SC HS VS/>   ED_k holds ED, FP_k holds FP, each
//       </EM_k>                          record with the writer's attributes
//   </Event>                             in the writer's order
//
// Every attribute value is printable ASCII without '<', '&' and '"', so
// that it is the very text a general reader would give. The scan allocates
// nothing, does not recurse and never reads outside the bytes it is given.

#include <QtGlobal>

namespace storage {

// An attribute value: the bytes [begin, end) of the file.
struct XmlText {
    const char* begin = nullptr;
    const char* end = nullptr;
    int size() const { return int(end - begin); }
};

// The attribute names of each record element, in the writer's order.
constexpr int kMasterAttributeCount = 7;
constexpr int kDetailAttributeCount = 22;
constexpr int kPointAttributeCount = 8;
constexpr int kEventAttributeCount = 5;
extern const char* const kMasterAttributes[kMasterAttributeCount];  // KD MP SD EI SC HS VS
extern const char* const kDetailAttributes[kDetailAttributeCount];  // EI SX SY ... TP
extern const char* const kPointAttributes[kPointAttributeCount];    // EI MP MA PS SX SY MX MY
extern const char* const kEventAttributes[kEventAttributeCount];    // Note Width Height RWidth RHeight

// Told what the scan finds, in file order. The values point into the
// scanned bytes, in the order of the name lists above.
class EventFileVisitor
{
public:
    virtual ~EventFileVisitor() = default;
    virtual void event(const XmlText* values) = 0;
    virtual void group(int slot) = 0;  // a slot group opens; 0 <= slot < kPointerSlotCount
    virtual void master(const XmlText* values) = 0;
    virtual void detail(const XmlText* values) = 0;
    virtual void point(const XmlText* values) = 0;
};

// Scans `size` bytes at `data`. True when they are the shape above, whole:
// the visitor was told every element. False when they are not (another
// form, or damage such as a cut): the visitor may have been told part of
// the file, which the caller throws away.
bool ScanEventFile(const char* data, qint64 size, EventFileVisitor& visitor);

}  // namespace storage
