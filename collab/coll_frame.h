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

// A receive buffer that hands out whole frames in the order they came. The
// bytes of frames already handed out are dropped once per Append, not once
// per frame, so a long burst costs linear time.
class CollFrameBuffer
{
public:
    void Append(const QByteArray& bytes);
    // 1 with the next whole frame (and its original bytes in `raw` when
    // asked), 0 when no whole frame is held, -1 when the held bytes cannot be
    // a frame.
    int Next(CollFrame* frame, QByteArray* raw = nullptr);
    void Clear();
    // Bytes held that were not handed out, and the size the next frame
    // announces (0 while fewer than two bytes are held).
    int Held() const { return m_bytes.size() - m_offset; }
    int AnnouncedSize() const;

private:
    QByteArray m_bytes;
    int m_offset = 0;
};
