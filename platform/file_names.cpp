#include "platform/file_names.h"

#include <QTextCodec>

namespace platform {

namespace {

constexpr ushort kEscapeBase = 0xDC00;

// Length of the valid UTF-8 sequence starting at `bytes`, or 0 when it is not
// one (a stray continuation byte, an overlong form, an encoded surrogate, a
// value past U+10FFFF, or a sequence cut short by `available`).
int ValidSequenceLength(const uchar* bytes, int available)
{
    const uchar lead = bytes[0];
    if (lead < 0x80)
        return 1;
    int length = 0;
    uint low = 0x80;
    uint high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (available < length)
        return 0;
    if (bytes[1] < low || bytes[1] > high)
        return 0;
    for (int i = 2; i < length; ++i) {
        if (bytes[i] < 0x80 || bytes[i] > 0xBF)
            return 0;
    }
    return length;
}

// Whether `bytes` could still become a valid sequence once more bytes come.
bool IsValidPrefix(const uchar* bytes, int available)
{
    uchar padded[4] = {bytes[0], 0x80, 0x80, 0x80};
    for (int i = 1; i < available && i < 4; ++i)
        padded[i] = bytes[i];
    // The smallest allowed second byte stands in for what has not come yet.
    if (available == 1) {
        if (bytes[0] == 0xE0)
            padded[1] = 0xA0;
        else if (bytes[0] == 0xF0)
            padded[1] = 0x90;
    }
    const int length = ValidSequenceLength(padded, 4);
    return length > available;
}

class LosslessUtf8Codec : public QTextCodec
{
public:
    QByteArray name() const override { return QByteArrayLiteral("UTF-8 (lossless file names)"); }
    QList<QByteArray> aliases() const override { return {}; }
    // Outside the range the registered codecs use.
    int mibEnum() const override { return 3000 + 106; }

protected:
    QString convertToUnicode(const char* chars, int len, ConverterState* state) const override
    {
        // A sequence cut at the end of the previous piece waits in the state.
        QByteArray bytes;
        if (state && state->remainingChars > 0) {
            for (int i = 0; i < state->remainingChars; ++i)
                bytes.append(char(state->state_data[i]));
            state->remainingChars = 0;
        }
        bytes.append(chars, len);
        const uchar* data = reinterpret_cast<const uchar*>(bytes.constData());
        const int size = bytes.size();

        QString text;
        text.reserve(size);
        int i = 0;
        while (i < size) {
            const int length = ValidSequenceLength(data + i, size - i);
            if (length > 0) {
                text += QString::fromUtf8(reinterpret_cast<const char*>(data + i), length);
                i += length;
                continue;
            }
            const int left = size - i;
            if (state && left < 4 && IsValidPrefix(data + i, left)) {
                for (int k = 0; k < left; ++k)
                    state->state_data[k] = data[i + k];
                state->remainingChars = left;
                break;
            }
            text += QChar(ushort(kEscapeBase + data[i]));
            ++i;
        }
        return text;
    }

    QByteArray convertFromUnicode(const QChar* input, int length, ConverterState* state) const override
    {
        Q_UNUSED(state);
        QByteArray bytes;
        bytes.reserve(length * 3);
        for (int i = 0; i < length; ++i) {
            const ushort unit = input[i].unicode();
            if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF) {
                bytes.append(char(unit - kEscapeBase));
                continue;
            }
            if (QChar::isHighSurrogate(unit) && i + 1 < length && QChar::isLowSurrogate(input[i + 1].unicode())) {
                bytes += QString(input + i, 2).toUtf8();
                ++i;
                continue;
            }
            if (QChar::isSurrogate(unit)) {
                bytes.append('?');  // half a pair names no character
                continue;
            }
            bytes += QString(input + i, 1).toUtf8();
        }
        return bytes;
    }
};

}  // namespace

void UseLosslessFileNames()
{
    // Codecs are registered with Qt for the life of the process.
    static LosslessUtf8Codec* const codec = new LosslessUtf8Codec;
    QTextCodec::setCodecForLocale(codec);
}

}  // namespace platform
