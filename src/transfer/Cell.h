#pragma once

#include <QtGlobal>

#include <string>

namespace pendra::transfer {

// How a column's values are turned into text.
enum class ValueKind { Integer, Decimal, Date, Timestamp, Text };

// One value of a record as the database delivered it.
struct Cell {
    bool isNull = true;
    std::string bytes;  // UTF-8, as the driver delivers it

    // The length of the stored value; less than 1 for an empty or Null value.
    qsizetype actualSize() const { return isNull ? -1 : static_cast<qsizetype>(bytes.size()); }
};

}  // namespace pendra::transfer
