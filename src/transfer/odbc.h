#pragma once

#include "transfer/Cell.h"

#include <QByteArray>
#include <QString>

#include <sql.h>

#include <memory>
#include <type_traits>
#include <vector>

namespace pendra::transfer::odbc {

// The driver manager's handles, each freed by the deleter of its type.
struct FreeEnvironment {
    void operator()(SQLHENV handle) const noexcept;
};
struct FreeConnection {
    bool connected = false;  // a connected handle is disconnected before it is freed
    void operator()(SQLHDBC handle) const noexcept;
};
struct FreeStatement {
    void operator()(SQLHSTMT handle) const noexcept;
};
using EnvironmentHandle = std::unique_ptr<std::remove_pointer_t<SQLHENV>, FreeEnvironment>;
using ConnectionHandle = std::unique_ptr<std::remove_pointer_t<SQLHDBC>, FreeConnection>;
using StatementHandle = std::unique_ptr<std::remove_pointer_t<SQLHSTMT>, FreeStatement>;

class Query;

// One connection to a data source through the ODBC driver manager, closed when it goes.
// Every failure throws pendra::Failure with the driver's diagnostic text.
class Connection {
public:
    explicit Connection(const QString& connectionText);

    // Runs a statement that returns no rows.
    void execute(const QString& statement);
    // Runs a query; the result must be given up before the connection.
    Query query(const QString& statement);

private:
    StatementHandle newStatement(const QString& what);

    EnvironmentHandle environment_;
    ConnectionHandle connection_;
};

// A forward-only, read-only result.
class Query {
public:
    Query(Query&&) noexcept = default;
    Query& operator=(Query&&) noexcept = default;

    int columnCount() const { return static_cast<int>(names_.size()); }
    const QByteArray& name(int column) const { return names_[column]; }
    ValueKind kind(int column) const { return kinds_[column]; }

    // Moves to the next row and reads its first `columns` values into `row`, reusing the
    // cells' buffers. Returns false at the end of the result.
    bool next(int columns, std::vector<Cell>& row);

private:
    friend class Connection;
    Query(StatementHandle statement, QString what);
    void describeColumns();
    void readCell(int column, Cell& cell);

    StatementHandle statement_;
    QString what_;  // the statement, quoted, for messages
    std::vector<QByteArray> names_;
    std::vector<ValueKind> kinds_;
};

}  // namespace pendra::transfer::odbc
