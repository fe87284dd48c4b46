#pragma once

#include "transfer/Cell.h"

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

namespace pendra::transfer {

// Makes the records of a view into the lines of a DATEV interface file. A column's name
// decides its rule: a correction key ("KorrKz", "Korrkz") is not written but goes in front of
// the account in column 2, of this record or a later one, unless it is 0 or 1; amounts
// ("Skbetr", "Wert") are written in hundredths; the currency column ("Ausdr9") gets the
// currency given. Empty and Null values are left out; a single blank leaves an empty field.
// Every field but the last plain one is followed by the separator. A value of a date column
// that is no date "YYYY-MM-DD" (with or without a time) throws pendra::Failure.
class InterfaceLineFormat {
public:
    struct Column {
        QByteArray name;
        ValueKind kind;
    };

    // `view` names the source in messages.
    InterfaceLineFormat(QString view, std::vector<Column> columns, std::string separator,
                        std::string currency);

    // The record's line in UTF-8, valid until the next call; the record holds one cell per
    // column. An amount that is no number throws pendra::Failure.
    const std::string& format(const std::vector<Cell>& record);

private:
    enum class Role { Plain, CorrectionKey, Amount, Currency };
    static Role roleOf(const QByteArray& name);

    void appendCell(std::size_t column, const Cell& cell);
    void takeKey(std::size_t column, const Cell& cell);
    void appendCorrectedAccount(std::size_t column, const Cell& cell);
    void appendAmount(std::size_t column, const Cell& cell);
    void appendValue(std::size_t column, const Cell& cell);
    void appendPlain(std::size_t column, const Cell& cell);
    std::string textOf(std::size_t column, const Cell& cell) const;

    QString view_;
    std::vector<Column> columns_;
    std::vector<Role> roles_;
    std::string separator_;
    std::string currency_;
    std::string key_;  // a correction key waiting for column 2; it outlives the record
    std::string line_;
};

}  // namespace pendra::transfer
