#pragma once

#include <QString>

#include <algorithm>

namespace pendra::transfer {

// Values that go into SQL text unquoted must be plain digits.
inline bool isWholeNumber(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace pendra::transfer
