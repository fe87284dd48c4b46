// The line rules of the DATEV interface files (src/transfer/InterfaceLineFormat.*). Invariants,
// from docs/decisions.md "Interface files" and InterfaceLineFormat.h:
// - a line never holds a CR or LF, before and after the Windows-1252 encoding: a line break
//   inside a value (CR LF, CR or LF) becomes one blank;
// - every field but a last plain one ends with the separator; empty and Null values are left
//   out, a single blank gives an empty field; a correction key column gives no field but goes
//   in front of the account in column 2 of this record or a later one unless it is 0 or 1;
//   amounts are whole hundredths; the currency column holds the currency given. Where no value
//   holds the separator itself (values are written as stored, separator included), the line
//   splits into exactly these fields;
// - only an amount that is no number, or a plain date column's value that is no date, ends the
//   record with pendra::Failure.
//
// Input: fields separated by NUL. First: the separator ('@' for "@", else ";") followed by
// the currency. Second: the columns, separated by blanks, each "name:kind" with kind one of
// i (integer), d (decimal), D (date), t (timestamp), anything else text. Then one field per
// record: its values separated by TAB, "\N" for Null, missing values Null.

#include "common/failure.h"
#include "fuzz_support.h"
#include "platform/codepage.h"
#include "transfer/InterfaceLineFormat.h"
#include "transfer/value_text.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

using namespace pendra::transfer;
using pendra::fuzz::shown;

namespace {

constexpr std::size_t kMaxColumns = 16;
constexpr qsizetype kMaxRecords = 16;
constexpr std::size_t kAccountColumn = 2;

QByteArray show(const std::string& text) {
    return shown(QByteArray::fromStdString(text));
}

ValueKind kindOf(const QByteArray& letter) {
    if (letter == "i") {
        return ValueKind::Integer;
    }
    if (letter == "d") {
        return ValueKind::Decimal;
    }
    if (letter == "D") {
        return ValueKind::Date;
    }
    return letter == "t" ? ValueKind::Timestamp : ValueKind::Text;
}

std::string textOf(ValueKind kind, const std::string& raw) {
    std::string text;
    value_text::append(kind, raw, text);
    return text;
}

// Each CR LF, CR or LF becomes one blank.
std::string flat(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            out += ' ';
        } else {
            out += text[i] == '\r' || text[i] == '\n' ? ' ' : text[i];
        }
    }
    return out;
}

std::vector<std::string> split(const std::string& line, char separator) {
    std::vector<std::string> parts(1);
    for (const char c : line) {
        if (c == separator) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

// The fields a record should give, by the documented rules.
struct Expected {
    std::vector<std::string> fields;
    bool endsWithSeparator = true;  // false when the last field is a plain last column
    bool fails = false;             // an amount that is no number, a date that is none
};

class Rules {
public:
    Rules(const std::vector<InterfaceLineFormat::Column>& columns, std::string currency)
        : columns_(columns), currency_(std::move(currency)) {}

    Expected expect(const std::vector<pendra::transfer::Cell>& record) {
        Expected e;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const pendra::transfer::Cell& cell = record[i];
            if (cell.isNull || cell.bytes.empty()) {
                continue;
            }
            const QByteArray& name = columns_[i].name;
            const ValueKind kind = columns_[i].kind;
            e.endsWithSeparator = true;
            if (cell.bytes == " ") {
                e.fields.emplace_back();
            } else if (name == "KorrKz" || name == "Korrkz") {
                const bool numeric = kind == ValueKind::Integer || kind == ValueKind::Decimal;
                const bool noKey = numeric ? value_text::isZeroOrOne(cell.bytes)
                                           : cell.bytes == "0" || cell.bytes == "1";
                key_ = noKey ? std::string() : textOf(kind, cell.bytes);
            } else if (!key_.empty() && i == kAccountColumn) {
                const QString account = QString::fromStdString(textOf(kind, cell.bytes));
                const QString widening = account.size() == 4   ? QStringLiteral("00")
                                         : account.size() == 5 ? QStringLiteral("0")
                                                               : QString();
                e.fields.push_back(
                    flat((QString::fromStdString(key_) + widening + account).toStdString()));
                key_.clear();
            } else if (name == "Skbetr" || name == "Wert") {
                const auto amount = value_text::hundredths(cell.bytes);
                if (!amount) {
                    e.fails = true;
                    return e;
                }
                e.fields.push_back(*amount);
            } else if (name == "Ausdr9") {
                e.fields.push_back(flat(currency_));
            } else {
                if ((kind == ValueKind::Date || kind == ValueKind::Timestamp) &&
                    !value_text::isDate(cell.bytes)) {
                    e.fails = true;  // DATEV reads DD.MM.YYYY only
                    return e;
                }
                e.fields.push_back(flat(textOf(kind, cell.bytes)));
                e.endsWithSeparator = i + 1 != columns_.size();
            }
        }
        return e;
    }

private:
    const std::vector<InterfaceLineFormat::Column>& columns_;
    std::string currency_;
    std::string key_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> parts = input.split('\0');
    if (parts.size() < 2) {
        return 0;
    }
    const std::string separator = parts[0].startsWith('@') ? "@" : ";";
    const std::string currency = parts[0].mid(1).toStdString();

    std::vector<InterfaceLineFormat::Column> columns;
    for (const QByteArray& field : parts[1].split(' ')) {
        if (field.isEmpty() || columns.size() == kMaxColumns) {
            continue;
        }
        const qsizetype colon = field.lastIndexOf(':');
        columns.push_back({colon < 0 ? field : field.left(colon),
                           kindOf(colon < 0 ? QByteArray() : field.mid(colon + 1))});
    }
    if (columns.empty()) {
        return 0;
    }

    InterfaceLineFormat lines(QStringLiteral("Sicht"), columns, separator, currency);
    Rules rules(columns, currency);
    for (qsizetype r = 2; r < parts.size() && r < 2 + kMaxRecords; ++r) {
        std::vector<pendra::transfer::Cell> record(columns.size());
        const QList<QByteArray> values = parts[r].split('\t');
        for (std::size_t i = 0; i < columns.size() && i < static_cast<std::size_t>(values.size());
             ++i) {
            if (values[static_cast<qsizetype>(i)] != "\\N") {
                record[i] = {false, values[static_cast<qsizetype>(i)].toStdString()};
            }
        }
        const Expected expected = rules.expect(record);
        std::string line;
        bool failed = false;
        try {
            line = lines.format(record);
        } catch (const pendra::Failure&) {
            failed = true;
        }
        PENDRA_FUZZ_CHECK(failed == expected.fails,
                          "record " + shown(parts[r]) + (failed ? " failed" : " did not fail"));
        if (failed) {
            continue;
        }
        PENDRA_FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos,
                          "line break in the line " + show(line));
        const QByteArray encoded = pendra::platform::encodeUtf8AsAnsi(line).bytes;
        PENDRA_FUZZ_CHECK(!encoded.contains('\r') && !encoded.contains('\n'), show(line));

        bool separatorInAValue = false;
        for (const std::string& field : expected.fields) {
            separatorInAValue = separatorInAValue || field.find(separator) != std::string::npos;
        }
        if (separatorInAValue) {
            continue;  // written as stored: the field count cannot be told from the line
        }
        const std::vector<std::string> got = split(line, separator[0]);
        std::vector<std::string> want = expected.fields;
        if (expected.endsWithSeparator) {
            want.emplace_back();
        }
        if (want.empty()) {
            want.emplace_back();  // no field at all: the empty line
        }
        QByteArray detail = "record " + shown(parts[r]) + " gave " + show(line) + ", fields:";
        for (const std::string& field : want) {
            detail += " [" + show(field) + "]";
        }
        PENDRA_FUZZ_CHECK(got == want, detail);
    }
    return 0;
}
