#include "transfer/InterfaceLineFormat.h"

#include "common/failure.h"
#include "transfer/KontoKorrect.h"
#include "transfer/value_text.h"

#include <algorithm>
#include <utility>

namespace pendra::transfer {

namespace {

// The contra account's column in the booking views: the one a correction key goes in front of.
constexpr std::size_t kAccountColumn = 2;

// A line break inside a value would split the record over two lines of the interface file:
// each one (CR LF, CR or LF) becomes a single blank.
void flattenLineBreaks(std::string& line) {
    const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    if (std::none_of(line.begin(), line.end(), isBreak)) {
        return;
    }
    std::string flat;
    flat.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\r' && i + 1 < line.size() && line[i + 1] == '\n') {
            continue;
        }
        flat += c == '\r' || c == '\n' ? ' ' : c;
    }
    line = std::move(flat);
}

}  // namespace

InterfaceLineFormat::InterfaceLineFormat(QString view, std::vector<Column> columns,
                                         std::string separator, std::string currency)
    : view_(std::move(view)),
      columns_(std::move(columns)),
      separator_(std::move(separator)),
      currency_(std::move(currency)) {
    roles_.reserve(columns_.size());
    for (const Column& column : columns_) {
        roles_.push_back(roleOf(column.name));
    }
}

InterfaceLineFormat::Role InterfaceLineFormat::roleOf(const QByteArray& name) {
    if (name == "KorrKz" || name == "Korrkz") {
        return Role::CorrectionKey;
    }
    if (name == "Skbetr" || name == "Wert") {
        return Role::Amount;
    }
    return name == "Ausdr9" ? Role::Currency : Role::Plain;
}

const std::string& InterfaceLineFormat::format(const std::vector<Cell>& record) {
    line_.clear();
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (record[i].actualSize() > 0) {
            appendCell(i, record[i]);
        }
    }
    flattenLineBreaks(line_);
    return line_;
}

void InterfaceLineFormat::appendCell(std::size_t column, const Cell& cell) {
    if (cell.bytes == " ") {
        line_ += separator_;
    } else if (roles_[column] == Role::CorrectionKey) {
        takeKey(column, cell);
    } else if (!key_.empty() && column == kAccountColumn) {
        appendCorrectedAccount(column, cell);
    } else {
        appendValue(column, cell);
    }
}

void InterfaceLineFormat::appendValue(std::size_t column, const Cell& cell) {
    if (roles_[column] == Role::Amount) {
        appendAmount(column, cell);
    } else if (roles_[column] == Role::Currency) {
        line_ += currency_;
        line_ += separator_;
    } else {
        appendPlain(column, cell);
    }
}

void InterfaceLineFormat::takeKey(std::size_t column, const Cell& cell) {
    // A number is 0 or 1 by its value; a text only when it reads exactly "0" or "1": " 1",
    // "01" or "1,0" are keys of their own.
    const ValueKind kind = columns_[column].kind;
    const bool numeric = kind == ValueKind::Integer || kind == ValueKind::Decimal;
    const bool noKey =
        numeric ? value_text::isZeroOrOne(cell.bytes) : cell.bytes == "0" || cell.bytes == "1";
    key_ = noKey ? std::string() : textOf(column, cell);
}

void InterfaceLineFormat::appendCorrectedAccount(std::size_t column, const Cell& cell) {
    line_ += KontoKorrect::KorrKonto(QString::fromStdString(textOf(column, cell)),
                                     QString::fromStdString(key_))
                 .toStdString();
    line_ += separator_;
    key_.clear();
}

void InterfaceLineFormat::appendAmount(std::size_t column, const Cell& cell) {
    const auto amount = value_text::hundredths(cell.bytes);
    if (!amount) {
        throw Failure(
            QStringLiteral("Der Betrag \"%1\" in Spalte %2 der Sicht \"%3\" ist keine Zahl.")
                .arg(QString::fromStdString(cell.bytes), QString::fromUtf8(columns_[column].name),
                     view_));
    }
    line_ += *amount;
    line_ += separator_;
}

void InterfaceLineFormat::appendPlain(std::size_t column, const Cell& cell) {
    const ValueKind kind = columns_[column].kind;
    // DATEV reads DD.MM.YYYY only; a date the file cannot hold is named, not written raw.
    if ((kind == ValueKind::Date || kind == ValueKind::Timestamp) &&
        !value_text::isDate(cell.bytes)) {
        throw Failure(
            QStringLiteral("Das Datum \"%1\" in Spalte %2 der Sicht \"%3\" ist kein gültiges "
                           "Datum (erwartet wird Jahr-Monat-Tag, Jahre 0000 bis 9999).")
                .arg(QString::fromStdString(cell.bytes), QString::fromUtf8(columns_[column].name),
                     view_));
    }
    value_text::append(kind, cell.bytes, line_);
    if (column + 1 != columns_.size()) {
        line_ += separator_;
    }
}

std::string InterfaceLineFormat::textOf(std::size_t column, const Cell& cell) const {
    std::string text;
    value_text::append(columns_[column].kind, cell.bytes, text);
    return text;
}

}  // namespace pendra::transfer
