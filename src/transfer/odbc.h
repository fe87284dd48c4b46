#pragma once

#include <QByteArray>
#include <QString>

#include <sql.h>

#include <string>
#include <vector>

namespace pendra::transfer::odbc {

// How a column's values are turned into text.
enum class ValueKind { Integer, Decimal, Date, Timestamp, Text };

struct Cell {
    bool isNull = true;
    std::string bytes;  // UTF-8, as the driver delivers it

    // The length of the stored value; less than 1 for an empty or Null value.
    qsizetype actualSize() const { return isNull ? -1 : static_cast<qsizetype>(bytes.size()); }
};

class Query;

// One connection to a data source through the ODBC driver manager, closed by the destructor.
// Every failure throws pendra::Failure with the driver's diagnostic text.
class Connection {
public:
    explicit Connection(const QString& connectionText);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Runs a statement that returns no rows.
    void execute(const QString& statement);
    // Runs a query; the result must be given up before the connection.
    Query query(const QString& statement);

private:
    friend class Query;
    SQLHENV environment_ = SQL_NULL_HENV;
    SQLHDBC connection_ = SQL_NULL_HDBC;
};

// A forward-only, read-only result.
class Query {
public:
    ~Query();
    Query(Query&& other) noexcept;
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    Query& operator=(Query&&) = delete;

    int columnCount() const { return static_cast<int>(names_.size()); }
    const QByteArray& name(int column) const { return names_[column]; }
    ValueKind kind(int column) const { return kinds_[column]; }

    // Moves to the next row and reads its first `columns` values into `row`, reusing the
    // cells' buffers. Returns false at the end of the result.
    bool next(int columns, std::vector<Cell>& row);

private:
    friend class Connection;
    Query(SQLHSTMT statement, QString what);
    void readCell(int column, Cell& cell);

    SQLHSTMT statement_ = SQL_NULL_HSTMT;
    QString what_;  // the statement, quoted, for messages
    std::vector<QByteArray> names_;
    std::vector<ValueKind> kinds_;
};

}  // namespace pendra::transfer::odbc
