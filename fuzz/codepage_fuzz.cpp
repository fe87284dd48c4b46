// The Windows-1252 codec (src/platform/codepage.*). Invariants, from docs/decisions.md "Files
// and code page":
// - every byte survives a read and a write: encode(decode(bytes)) == bytes, nothing replaced;
// - a character the code page lacks becomes one "?" per code point (an emoji is one "?", a
//   lone surrogate too), every other character keeps its byte, and `replaced` counts the "?";
// - UTF-8 input gives the same bytes as its text (the byte-wise fast path of
//   encodeUtf8AsAnsi/appendUtf8AsAnsi against Qt's decoder); encoding is idempotent.
// The input is taken as bytes (Windows-1252), as UTF-8 and as UTF-16 code units.

#include "fuzz_support.h"
#include "platform/codepage.h"

#include <QList>
#include <QString>

#include <array>
#include <vector>

using pendra::fuzz::shown;
using namespace pendra::platform;

namespace {

// The character of every byte, as the reader gives it.
const std::array<char16_t, 256>& byteCharacters() {
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const QString one = fromAnsi(QByteArray(1, static_cast<char>(b)));
            PENDRA_FUZZ_CHECK(one.size() == 1, "a byte reads as one character");
            t[static_cast<std::size_t>(b)] = one[0].unicode();
        }
        return t;
    }();
    return table;
}

// The byte of a character, -1 when the code page lacks it; the inverse of the reader's table.
int byteOf(uint codePoint) {
    static const std::vector<int> bytes = [] {
        std::vector<int> b(0x10000, -1);
        const auto& table = byteCharacters();
        for (std::size_t i = 0; i < table.size(); ++i) {
            PENDRA_FUZZ_CHECK(b[table[i]] < 0, "two bytes read as the same character");
            b[table[i]] = static_cast<int>(i);
        }
        return b;
    }();
    return codePoint < bytes.size() ? bytes[codePoint] : -1;
}

// Code points of UTF-16 text, counted here independently of Qt: a valid surrogate pair is one,
// a lone surrogate is one (it becomes U+FFFD).
qsizetype codePoints(const QString& text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        }
        ++count;
    }
    return count;
}

// `encoded` is the encoding of `text`: one byte per code point, the code point's own byte when
// the code page has it, else "?" counted in `replaced`.
void checkEncoding(const QString& text, const Encoded& encoded) {
    const QList<uint> points = text.toUcs4();
    PENDRA_FUZZ_CHECK(points.size() == codePoints(text), shown(text));
    PENDRA_FUZZ_CHECK(encoded.bytes.size() == points.size(),
                      "text " + shown(text) + " bytes " + shown(encoded.bytes));
    int replaced = 0;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const int byte = byteOf(points[i]);
        const char written = encoded.bytes[i];
        if (byte >= 0) {
            PENDRA_FUZZ_CHECK(static_cast<unsigned char>(written) == byte,
                              "a character the code page has keeps its byte: " + shown(text));
        } else {
            PENDRA_FUZZ_CHECK(written == '?', "a missing character becomes \"?\": " + shown(text));
            ++replaced;
        }
    }
    PENDRA_FUZZ_CHECK(encoded.replaced == replaced, "replaced counts the \"?\": " + shown(text));
    // Idempotent: the written bytes read and write back unchanged.
    const Encoded again = encodeAnsi(fromAnsi(encoded.bytes));
    PENDRA_FUZZ_CHECK(again.bytes == encoded.bytes && again.replaced == 0, shown(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // Bytes as Windows-1252: every byte survives decode + encode.
    const QString decoded = fromAnsi(bytes);
    PENDRA_FUZZ_CHECK(decoded.size() == bytes.size(), shown(bytes));
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        PENDRA_FUZZ_CHECK(!decoded[i].isSurrogate(), shown(bytes));
        PENDRA_FUZZ_CHECK(
            decoded[i].unicode() == byteCharacters()[static_cast<unsigned char>(bytes[i])],
            shown(bytes));
    }
    const Encoded back = encodeAnsi(decoded);
    PENDRA_FUZZ_CHECK(back.bytes == bytes,
                      "bytes " + shown(bytes) + " came back as " + shown(back.bytes));
    PENDRA_FUZZ_CHECK(back.replaced == 0, shown(bytes));
    PENDRA_FUZZ_CHECK(toAnsi(decoded) == bytes, shown(bytes));

    // The same bytes as UTF-8 text (invalid sequences read as U+FFFD).
    const QString utf8Text = QString::fromUtf8(bytes);
    const Encoded fromText = encodeAnsi(utf8Text);
    checkEncoding(utf8Text, fromText);
    const Encoded fromUtf8 = encodeUtf8AsAnsi(bytes);
    PENDRA_FUZZ_CHECK(fromUtf8.bytes == fromText.bytes && fromUtf8.replaced == fromText.replaced,
                      "encodeUtf8AsAnsi differs from encodeAnsi(fromUtf8): " + shown(bytes));
    QByteArray appended = "prefix|";
    const int appendedReplaced = appendUtf8AsAnsi(bytes, appended);
    PENDRA_FUZZ_CHECK(
        appended == "prefix|" + fromText.bytes && appendedReplaced == fromText.replaced,
        "appendUtf8AsAnsi differs from encodeAnsi(fromUtf8): " + shown(bytes));

    // The bytes as UTF-16 code units, lone surrogates included.
    QString units;
    for (size_t i = 0; i + 1 < size; i += 2) {
        units.append(QChar(static_cast<char16_t>(data[i] | (data[i + 1] << 8))));
    }
    checkEncoding(units, encodeAnsi(units));
    return 0;
}
