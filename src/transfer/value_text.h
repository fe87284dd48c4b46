#pragma once

#include "transfer/Cell.h"

#include <optional>
#include <string>
#include <string_view>

namespace pendra::transfer::value_text {

// Appends the value as text under German regional settings: integers as digits, other
// numbers with a decimal comma and no thousands separator or exponent, dates as DD.MM.YYYY
// (with the time only when it is not midnight), text as stored.
void append(ValueKind kind, std::string_view raw, std::string& out);

// An amount rounded to whole hundredths (halves to the even neighbour, on the exact decimal
// value) and written as the number of hundredths: 1234.5 -> "123450", -12.34 -> "-1234".
// Empty when the text is no number.
std::optional<std::string> hundredths(std::string_view raw);

// Whether the text is a number equal to 0 or 1.
bool isZeroOrOne(std::string_view raw);

// Whether the text is a date as drivers deliver one: "YYYY-MM-DD" with a month from 01 to 12
// and a day from 01 to 31, alone or followed by " hh:mm:ss" (or "T" for the blank) and an
// optional fraction of a second.
bool isDate(std::string_view raw);

}  // namespace pendra::transfer::value_text
