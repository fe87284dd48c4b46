// The transfer program's value texts (src/transfer/value_text.*). Invariants, from
// docs/decisions.md "Interface files" and value_text.h:
// - integers and text are written as stored;
// - a number is written with a decimal comma, no thousands separator, no exponent, no leading
//   zeros, no trailing zeros after the comma and no "-0"; that text is a fixed point of the rule
//   and has the same value (checked against strtod where a double can tell);
// - an amount is rounded to hundredths half-to-even on the exact decimal (checked against a
//   rounding done here on the written decimal text); a text that is no number gives no amount
//   and is written as stored;
// - isZeroOrOne is true exactly for the numbers written "0" or "1";
// - dates "YYYY-MM-DD" become "DD.MM.YYYY", the time follows only when it is not midnight; a
//   text isDate accepts is written as exactly that, nothing of the raw text left.

#include "fuzz_support.h"
#include "transfer/value_text.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace pendra::transfer;
using pendra::fuzz::shown;

namespace {

QByteArray show(std::string_view text) {
    return shown(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

bool digit(char c) {
    return c >= '0' && c <= '9';
}

bool allDigits(std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string written(ValueKind kind, std::string_view raw) {
    std::string out = "prefix|";  // append() appends: what was there stays
    value_text::append(kind, raw, out);
    PENDRA_FUZZ_CHECK(out.starts_with("prefix|"), show(raw));
    return out.substr(7);
}

// "-?(0|[1-9][0-9]*)(,[0-9]*[1-9])?" and not "-0".
bool isPlainDecimal(std::string_view s) {
    std::size_t i = 0;
    if (!s.empty() && s[0] == '-') {
        i = 1;
    }
    const std::size_t comma = s.find(',', i);
    const std::string_view whole =
        s.substr(i, comma == std::string_view::npos ? s.npos : comma - i);
    if (!allDigits(whole) || (whole.size() > 1 && whole[0] == '0')) {
        return false;
    }
    if (comma != std::string_view::npos) {
        const std::string_view fraction = s.substr(comma + 1);
        if (!allDigits(fraction) || fraction.back() == '0') {
            return false;
        }
    } else if (i == 1 && whole == "0") {
        return false;
    }
    return true;
}

// "-?(0|[1-9][0-9]*)" and not "-0".
bool isPlainInteger(std::string_view s) {
    const std::string_view digits = !s.empty() && s[0] == '-' ? s.substr(1) : s;
    return allDigits(digits) && (digits.size() == 1 || digits[0] != '0') &&
           !(digits == "0" && s[0] == '-');
}

// The hundredths of a plain decimal text, rounded half-to-even, done here on its digits.
std::string referenceHundredths(std::string_view plain) {
    const bool negative = plain.starts_with('-');
    const std::string_view body = negative ? plain.substr(1) : plain;
    const std::size_t comma = body.find(',');
    std::string digits(body.substr(0, comma));
    std::string fraction(comma == std::string_view::npos ? "" : body.substr(comma + 1));
    fraction.resize(std::max<std::size_t>(fraction.size(), 2), '0');
    digits += fraction.substr(0, 2);
    const std::string rest = fraction.substr(2);
    bool up = false;
    if (!rest.empty()) {
        const bool beyondHalf = rest.find_first_not_of('0', 1) != std::string::npos;
        const bool odd = (digits.back() - '0') % 2 == 1;
        up = rest[0] > '5' || (rest[0] == '5' && (beyondHalf || odd));
    }
    if (up) {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') {
            digits[--i] = '0';
        }
        if (i == 0) {
            digits.insert(digits.begin(), '1');
        } else {
            ++digits[i - 1];
        }
    }
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.empty()) {
        return "0";
    }
    return negative ? "-" + digits : digits;
}

// The value of a number text as a double: the plain text with "." for ",".
double asDouble(std::string text) {
    for (char& c : text) {
        if (c == ',') {
            c = '.';
        }
    }
    return std::strtod(text.c_str(), nullptr);
}

bool isoDate(std::string_view s) {
    return s.size() >= 10 && digit(s[0]) && digit(s[1]) && digit(s[2]) && digit(s[3]) &&
           s[4] == '-' && digit(s[5]) && digit(s[6]) && s[7] == '-' && digit(s[8]) && digit(s[9]);
}

std::string germanDate(std::string_view s) {
    return std::string(s.substr(8, 2)) + "." + std::string(s.substr(5, 2)) + "." +
           std::string(s.substr(0, 4));
}

// The documented date rule: the time (digits at its places) follows only when it is not
// midnight; other text after the date stays as it is; text that is no date stays as it is.
std::string expectedTimestamp(std::string_view s) {
    if (!isoDate(s)) {
        return std::string(s);
    }
    const bool time = s.size() >= 19 && (s[10] == ' ' || s[10] == 'T') && digit(s[11]) &&
                      digit(s[12]) && digit(s[14]) && digit(s[15]) && digit(s[17]) && digit(s[18]);
    if (!time) {
        return germanDate(s) + std::string(s.substr(10));
    }
    const std::string_view clock = s.substr(11, 8);
    return germanDate(s) + (clock == "00:00:00" ? std::string() : " " + std::string(clock));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view raw(reinterpret_cast<const char*>(data), size);

    PENDRA_FUZZ_CHECK(written(ValueKind::Text, raw) == raw, show(raw));
    PENDRA_FUZZ_CHECK(written(ValueKind::Integer, raw) == raw, show(raw));

    const std::optional<std::string> amount = value_text::hundredths(raw);
    const std::string decimal = written(ValueKind::Decimal, raw);
    if (!amount) {
        PENDRA_FUZZ_CHECK(decimal == raw,
                          "no number, yet changed: " + show(raw) + " -> " + show(decimal));
        PENDRA_FUZZ_CHECK(!value_text::isZeroOrOne(raw), show(raw));
    } else {
        PENDRA_FUZZ_CHECK(isPlainDecimal(decimal), show(raw) + " -> " + show(decimal));
        PENDRA_FUZZ_CHECK(written(ValueKind::Decimal, decimal) == decimal,
                          "not a fixed point: " + show(raw) + " -> " + show(decimal));
        PENDRA_FUZZ_CHECK(isPlainInteger(*amount), show(raw) + " -> " + show(*amount));
        PENDRA_FUZZ_CHECK(
            value_text::hundredths(decimal) == amount,
            "the written number has other hundredths: " + show(raw) + " -> " + show(decimal));
        const std::string reference = referenceHundredths(decimal);
        PENDRA_FUZZ_CHECK(*amount == reference, show(raw) + " -> " + show(*amount) +
                                                    ", rounded here: " + show(reference));
        PENDRA_FUZZ_CHECK(value_text::isZeroOrOne(raw) == (decimal == "0" || decimal == "1"),
                          show(raw) + " -> " + show(decimal));
        // The same value: compared as doubles where a double holds it to 12 digits.
        const double before = asDouble(std::string(raw));
        const double after = asDouble(decimal);
        if (std::isfinite(before) && std::isfinite(after) && std::fabs(before) < 1e300 &&
            std::fabs(before) > 1e-300) {
            PENDRA_FUZZ_CHECK(std::fabs(before - after) <= 1e-12 * std::fabs(before),
                              "value changed: " + show(raw) + " -> " + show(decimal));
        }
    }

    const std::string timestamp = written(ValueKind::Timestamp, raw);
    PENDRA_FUZZ_CHECK(
        timestamp == expectedTimestamp(raw),
        show(raw) + " -> " + show(timestamp) + ", expected " + show(expectedTimestamp(raw)));
    if (value_text::isDate(raw)) {
        // A date as drivers deliver one is written as DATEV reads it, nothing of the raw text
        // left: "DD.MM.YYYY" and " hh:mm:ss" unless midnight.
        const bool plainDate = timestamp.size() == 10;
        PENDRA_FUZZ_CHECK(
            (plainDate || timestamp.size() == 19) && digit(timestamp[0]) && digit(timestamp[1]) &&
                timestamp[2] == '.' && digit(timestamp[3]) && digit(timestamp[4]) &&
                timestamp[5] == '.' && allDigits(std::string_view(timestamp).substr(6, 4)) &&
                (plainDate ||
                 (timestamp[10] == ' ' && digit(timestamp[11]) && digit(timestamp[12]) &&
                  timestamp[13] == ':' && digit(timestamp[14]) && digit(timestamp[15]) &&
                  timestamp[16] == ':' && digit(timestamp[17]) && digit(timestamp[18]))),
            "a date " + show(raw) + " written as " + show(timestamp));
    }
    const std::string date = written(ValueKind::Date, raw);
    const std::string expectedDate =
        raw.size() == 10 && isoDate(raw) ? germanDate(raw) : expectedTimestamp(raw);
    PENDRA_FUZZ_CHECK(date == expectedDate, show(raw) + " -> " + show(date));
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::setlocale(LC_NUMERIC, "C");  // strtod reads "." as the decimal point
    return 0;
}
