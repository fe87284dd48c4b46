#pragma once

#include "transfer/Cell.h"

#include <QByteArray>
#include <QString>

#include <sql.h>

#include <array>
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
    bool getDataOnBound_ = false;
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
    // cells' buffers. Returns false at the end of the result. Every call reads the same
    // number of columns.
    bool next(int columns, std::vector<Cell>& row);

private:
    // A column bound to a buffer the driver fills at every fetch; a longer value is read
    // again, whole, with SQLGetData.
    struct BoundColumn {
        std::array<char, 256> buffer;
        SQLLEN indicator = 0;
    };

    friend class Connection;
    Query(StatementHandle statement, QString what, bool getDataOnBound);
    void describeColumns();
    void bindColumns(int columns);
    void takeBound(int column, Cell& cell);
    void readCell(int column, Cell& cell);

    StatementHandle statement_;
    QString what_;                 // the statement, quoted, for messages
    bool getDataOnBound_ = false;  // the driver reads bound columns with SQLGetData, too
    std::vector<QByteArray> names_;
    std::vector<ValueKind> kinds_;
    std::vector<BoundColumn> bound_;  // never resized once bound: the driver holds addresses
};

}  // namespace pendra::transfer::odbc
