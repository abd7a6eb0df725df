#pragma once

#include <QByteArray>

// One collaboration message: keyword, data and tail. On the wire a 16-bit
// big-endian body size is followed by the three arrays, each as a 32-bit
// big-endian byte count and the bytes.
struct CollFrame {
    QByteArray keyword;
    QByteArray data;
    QByteArray tail;
};

constexpr int kCollFrameMaxBody = 0xFFFF;

// The frame bytes. A body too large for the 16-bit size field would be cut
// and desynchronise every peer: such a frame is refused (empty result, ok
// false) instead.
QByteArray BuildCollFrame(const QByteArray& keyword, const QByteArray& data, const QByteArray& tail,
                          bool* ok = nullptr);

// Reads one whole frame from the front of bytes. Returns the number of bytes
// it took, 0 when the frame is not complete yet, -1 when the bytes are not a
// frame (array lengths that do not fit the announced size).
int ReadCollFrame(const QByteArray& bytes, CollFrame* frame);
