#include "transfer/value_text.h"

#include <algorithm>
#include <cctype>

namespace pendra::transfer::value_text {

namespace {

// A decimal number as digits and a power of ten: value = digits * 10^exponent.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

constexpr int kLimit = 400;  // beyond any amount's exponent; keeps the digit strings small

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

void skipBlanks(std::string_view text, std::size_t& i) {
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
}

// Reads an optional sign; true for a minus.
bool readSign(std::string_view text, std::size_t& i) {
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        return text[i++] == '-';
    }
    return false;
}

// Reads the digits before and after a decimal point or comma.
void readDigits(std::string_view text, std::size_t& i, Decimal& d) {
    for (; i < text.size() && isDigit(text[i]); ++i) {
        d.digits += text[i];
    }
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            d.digits += text[i];
            --d.exponent;
        }
    }
}

// Reads the signed exponent after "e"; nothing when it has no digits.
std::optional<int> readExponent(std::string_view text, std::size_t& i) {
    const bool negative = readSign(text, i);
    if (i >= text.size() || !isDigit(text[i])) {
        return std::nullopt;
    }
    int value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = std::min(value * 10 + (text[i] - '0'), kLimit * 10);
    }
    return negative ? -value : value;
}

std::optional<Decimal> parse(std::string_view text) {
    Decimal d;
    std::size_t i = 0;
    skipBlanks(text, i);
    d.negative = readSign(text, i);
    readDigits(text, i, d);
    if (d.digits.empty()) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const std::optional<int> exponent = readExponent(text, i);
        if (!exponent) {
            return std::nullopt;
        }
        d.exponent += *exponent;
    }
    skipBlanks(text, i);
    if (i != text.size() || d.exponent > kLimit || d.exponent < -kLimit) {
        return std::nullopt;
    }
    return d;
}

void stripLeadingZeros(std::string& digits) {
    const auto first = digits.find_first_not_of('0');
    digits.erase(0, first == std::string::npos ? digits.size() : first);
}

void increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The digits before and after the decimal point.
void split(const Decimal& d, std::string& whole, std::string& fraction) {
    if (d.exponent >= 0) {
        whole = d.digits + std::string(static_cast<std::size_t>(d.exponent), '0');
        fraction.clear();
        return;
    }
    const auto scale = static_cast<std::size_t>(-d.exponent);
    const std::string padded = d.digits.size() > scale
                                   ? d.digits
                                   : std::string(scale - d.digits.size() + 1, '0') + d.digits;
    whole = padded.substr(0, padded.size() - scale);
    fraction = padded.substr(padded.size() - scale);
}

void appendPlainDecimal(const Decimal& d, std::string& out) {
    std::string whole;
    std::string fraction;
    split(d, whole, fraction);
    stripLeadingZeros(whole);
    fraction.erase(fraction.find_last_not_of('0') + 1);
    if (whole.empty()) {
        whole = "0";
    }
    if (d.negative && (whole != "0" || !fraction.empty())) {
        out += '-';
    }
    out += whole;
    if (!fraction.empty()) {
        out += ',';
        out += fraction;
    }
}

bool twoDigits(std::string_view s, std::size_t at) {
    return at + 2 <= s.size() && isDigit(s[at]) && isDigit(s[at + 1]);
}

// "YYYY-MM-DD" at the start of the text.
bool isoDate(std::string_view s) {
    return s.size() >= 10 && twoDigits(s, 0) && twoDigits(s, 2) && s[4] == '-' && twoDigits(s, 5) &&
           s[7] == '-' && twoDigits(s, 8);
}

bool twoDigitsFrom(std::string_view s, std::size_t at, int low, int high) {
    if (!twoDigits(s, at)) {
        return false;
    }
    const int value = (s[at] - '0') * 10 + (s[at + 1] - '0');
    return value >= low && value <= high;
}

// "hh:mm:ss" at `at`, then nothing or a fraction of a second.
bool isTimeToEnd(std::string_view s, std::size_t at) {
    if (s.size() < at + 8 || !twoDigits(s, at) || s[at + 2] != ':' || !twoDigits(s, at + 3) ||
        s[at + 5] != ':' || !twoDigits(s, at + 6)) {
        return false;
    }
    const std::string_view fraction = s.substr(at + 8);
    return fraction.empty() || (fraction.size() > 1 && fraction[0] == '.' &&
                                std::all_of(fraction.begin() + 1, fraction.end(), isDigit));
}

void appendGermanDate(std::string_view s, std::string& out) {
    out.append(s.substr(8, 2))
        .append(".")
        .append(s.substr(5, 2))
        .append(".")
        .append(s.substr(0, 4));
}

void appendTimestamp(std::string_view s, std::string& out) {
    if (!isoDate(s)) {
        out.append(s);
        return;
    }
    appendGermanDate(s, out);
    if (s.size() < 19 || !(s[10] == ' ' || s[10] == 'T') || !twoDigits(s, 11) ||
        !twoDigits(s, 14) || !twoDigits(s, 17)) {
        if (s.size() > 10) {
            out.append(s.substr(10));
        }
        return;
    }
    const std::string_view time = s.substr(11, 8);
    if (time != "00:00:00") {
        out.append(" ").append(time);
    }
}

}  // namespace

void append(ValueKind kind, std::string_view raw, std::string& out) {
    switch (kind) {
        case ValueKind::Decimal:
            if (const auto d = parse(raw)) {
                appendPlainDecimal(*d, out);
                return;
            }
            break;
        case ValueKind::Date:
            if (raw.size() == 10 && isoDate(raw)) {
                appendGermanDate(raw, out);
                return;
            }
            appendTimestamp(raw, out);
            return;
        case ValueKind::Timestamp:
            appendTimestamp(raw, out);
            return;
        case ValueKind::Integer:
        case ValueKind::Text:
            break;
    }
    out.append(raw);
}

std::optional<std::string> hundredths(std::string_view raw) {
    auto d = parse(raw);
    if (!d) {
        return std::nullopt;
    }
    d->exponent += 2;
    std::string whole;
    std::string rest;
    split(*d, whole, rest);
    if (!rest.empty()) {
        const bool beyondHalf = rest.find_first_not_of('0', 1) != std::string::npos;
        const bool oddWhole = (whole.back() - '0') % 2 == 1;
        if (rest[0] > '5' || (rest[0] == '5' && (beyondHalf || oddWhole))) {
            increment(whole);
        }
    }
    stripLeadingZeros(whole);
    if (whole.empty()) {
        return std::string("0");
    }
    return d->negative ? "-" + whole : whole;
}

bool isDate(std::string_view raw) {
    if (!isoDate(raw) || !twoDigitsFrom(raw, 5, 1, 12) || !twoDigitsFrom(raw, 8, 1, 31)) {
        return false;
    }
    return raw.size() == 10 || ((raw[10] == ' ' || raw[10] == 'T') && isTimeToEnd(raw, 11));
}

bool isZeroOrOne(std::string_view raw) {
    const auto d = parse(raw);
    if (!d) {
        return false;
    }
    std::string plain;
    appendPlainDecimal(*d, plain);
    return plain == "0" || plain == "1";
}

}  // namespace pendra::transfer::value_text
