#include "tools/damo32/record_check.h"

#include "platform/codepage.h"

#include <algorithm>

namespace pendra::tools::damo {

namespace {

// DATEV allows no control characters inside a text field, and a character outside Windows-1252
// would arrive as "?".
bool carriable(const QString& value) {
    const bool control =
        std::any_of(value.cbegin(), value.cend(), [](QChar c) { return c.unicode() < 0x20; });
    return !control && platform::encodeAnsi(value).replaced == 0;
}

}  // namespace

RecordCheck::RecordCheck(int line, const QStringList& columns)
    : line_(line), columns_(columns), fields_(columns.size()) {}

void RecordCheck::setText(int position, const QString& value, int maxLength) {
    if (value.size() > maxLength) {
        refuse(position, value, QStringLiteral("länger als %1 Zeichen").arg(maxLength));
    } else if (!carriable(value)) {
        refuse(position, value, QStringLiteral("Zeichen außerhalb des DATEV-Zeichensatzes"));
    } else if (!value.isEmpty()) {
        QString quoted = value;
        fields_[position - 1] = u'"' + quoted.replace(u'"', QStringLiteral("\"\"")) + u'"';
    }
}

void RecordCheck::setNumber(int position, const QString& value) {
    fields_[position - 1] = value;
}

void RecordCheck::setAccount(int position, const QString& value, int maxDigits) {
    const bool digits = !value.isEmpty() && std::all_of(value.cbegin(), value.cend(), [](QChar c) {
        return c >= u'0' && c <= u'9';
    });
    if (!digits) {
        refuse(position, value, QStringLiteral("Konto nicht nur aus Ziffern"));
    } else if (value.size() > maxDigits) {
        refuse(position, value, QStringLiteral("Konto länger als %1 Stellen").arg(maxDigits));
    } else {
        setNumber(position, value);
    }
}

void RecordCheck::refuse(const QString& field, const QString& value, const QString& reason) {
    problems_.append({line_, field, value, reason});
}

void RecordCheck::refuse(int position, const QString& value, const QString& reason) {
    refuse(columns_.value(position - 1), value, reason);
}

}  // namespace pendra::tools::damo
