#include "platform/codepage.h"

#include <QList>

#include <algorithm>
#include <array>

namespace pendra::platform {

namespace {

// Code points of the bytes 0x80..0x9F. The five bytes Windows leaves undefined map to the
// C1 control of the same value, so that every byte survives a round trip.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int byteFor(uint codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<int>(codePoint);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == codePoint) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

}  // namespace

Encoded encodeAnsi(QStringView text) {
    Encoded result;
    result.bytes.reserve(text.size());
    for (const uint codePoint : text.toUcs4()) {
        const int byte = byteFor(codePoint);
        if (byte < 0) {
            result.bytes.append('?');
            ++result.replaced;
        } else {
            result.bytes.append(static_cast<char>(byte));
        }
    }
    return result;
}

Encoded encodeUtf8AsAnsi(QByteArrayView utf8) {
    const bool ascii = std::all_of(utf8.begin(), utf8.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        return {utf8.toByteArray(), 0};
    }
    return encodeAnsi(QString::fromUtf8(utf8));
}

QByteArray toAnsi(QStringView text) {
    return encodeAnsi(text).bytes;
}

QString fromAnsi(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte < 0xA0) {
            text.append(QChar(kHighControls[byte - 0x80]));
        } else {
            text.append(QChar(byte));
        }
    }
    return text;
}

}  // namespace pendra::platform
