#include "platform/codepage.h"

#include <array>
#include <utility>

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
    result.bytes.resize(text.size());
    char* out = result.bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        uint codePoint = text[i].unicode();
        if (QChar::isHighSurrogate(codePoint) && i + 1 < text.size() &&
            text[i + 1].isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        const int byte = byteFor(codePoint);
        if (byte < 0) {
            ++result.replaced;
        }
        *out++ = byte < 0 ? '?' : static_cast<char>(byte);
    }
    result.bytes.truncate(out - result.bytes.constData());
    return result;
}

namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The code point of the well-formed two- or three-byte sequence at `at`, and its length;
// 0 for anything else, which the caller leaves to Qt's decoder and its rules for bad bytes.
std::pair<uint, int> shortSequence(QByteArrayView utf8, qsizetype at) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    const auto byte = [&](qsizetype i) -> unsigned char {
        return at + i < utf8.size() ? static_cast<unsigned char>(utf8[at + i]) : 0;
    };
    if (lead >= 0xC2 && lead <= 0xDF && isContinuation(byte(1))) {
        return {((lead & 0x1Fu) << 6) | (byte(1) & 0x3Fu), 2};
    }
    const bool overlong = lead == 0xE0 && byte(1) < 0xA0;
    const bool surrogate = lead == 0xED && byte(1) >= 0xA0;
    if (lead >= 0xE0 && lead <= 0xEF && isContinuation(byte(1)) && isContinuation(byte(2)) &&
        !overlong && !surrogate) {
        return {((lead & 0x0Fu) << 12) | ((byte(1) & 0x3Fu) << 6) | (byte(2) & 0x3Fu), 3};
    }
    return {0, 0};
}

}  // namespace

int appendUtf8AsAnsi(QByteArrayView utf8, QByteArray& out) {
    const qsizetype start = out.size();
    out.resize(start + utf8.size());  // never more bytes than the UTF-8 text has
    char* next = out.data() + start;
    int replaced = 0;
    for (qsizetype i = 0; i < utf8.size();) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            *next++ = utf8[i++];
            continue;
        }
        const auto [codePoint, length] = shortSequence(utf8, i);
        if (length == 0) {
            const Encoded rest = encodeAnsi(QString::fromUtf8(utf8.sliced(i)));
            out.truncate(next - out.constData());
            out.append(rest.bytes);
            return replaced + rest.replaced;
        }
        const int byte = byteFor(codePoint);
        replaced += byte < 0 ? 1 : 0;
        *next++ = byte < 0 ? '?' : static_cast<char>(byte);
        i += length;
    }
    out.truncate(next - out.constData());
    return replaced;
}

Encoded encodeUtf8AsAnsi(QByteArrayView utf8) {
    Encoded result;
    result.replaced = appendUtf8AsAnsi(utf8, result.bytes);
    return result;
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
