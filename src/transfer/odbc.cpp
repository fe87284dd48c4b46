#include "transfer/odbc.h"

#include "common/failure.h"

#include <QStringList>

#include <sqlext.h>

#include <array>
#include <utility>

namespace pendra::transfer::odbc {

namespace {

QString diagnostics(SQLSMALLINT handleType, SQLHANDLE handle) {
    QStringList parts;
    for (SQLSMALLINT record = 1;; ++record) {
        std::array<SQLCHAR, 6> state{};
        std::array<SQLCHAR, 1024> text{};
        SQLINTEGER nativeError = 0;
        SQLSMALLINT length = 0;
        const SQLRETURN rc =
            SQLGetDiagRec(handleType, handle, record, state.data(), &nativeError, text.data(),
                          static_cast<SQLSMALLINT>(text.size()), &length);
        if (!SQL_SUCCEEDED(rc)) {
            break;
        }
        parts.append(QString::fromUtf8(reinterpret_cast<const char*>(text.data())));
    }
    return parts.isEmpty() ? QStringLiteral("unbekannter Fehler") : parts.join(QLatin1String("; "));
}

Failure databaseFailure(const QString& what, QString detail) {
    if (detail.contains(QLatin1String("locked"), Qt::CaseInsensitive)) {
        detail = QStringLiteral("Die Datenbank ist von einem anderen Programm gesperrt (%1)")
                     .arg(detail);
    }
    return Failure(QStringLiteral("Datenbankfehler bei %1: %2").arg(what, detail));
}

[[noreturn]] void fail(SQLSMALLINT handleType, SQLHANDLE handle, const QString& what) {
    throw databaseFailure(what, diagnostics(handleType, handle));
}

void check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const QString& what) {
    if (!SQL_SUCCEEDED(rc)) {
        fail(handleType, handle, what);
    }
}

ValueKind kindOf(SQLSMALLINT sqlType) {
    switch (sqlType) {
        case SQL_INTEGER:
        case SQL_SMALLINT:
        case SQL_TINYINT:
        case SQL_BIGINT:
        case SQL_BIT:
            return ValueKind::Integer;
        case SQL_DOUBLE:
        case SQL_FLOAT:
        case SQL_REAL:
        case SQL_NUMERIC:
        case SQL_DECIMAL:
            return ValueKind::Decimal;
        case SQL_TYPE_DATE:
        case SQL_DATE:
            return ValueKind::Date;
        case SQL_TYPE_TIMESTAMP:
        case SQL_TIMESTAMP:
            return ValueKind::Timestamp;
        default:
            return ValueKind::Text;
    }
}

SQLCHAR* sqlText(QByteArray& utf8) {
    return reinterpret_cast<SQLCHAR*>(utf8.data());
}

// Whether SQLGetData may read a column that is bound: only then can a bound buffer that is
// too short be completed.
bool readsBoundColumns(SQLHDBC connection) {
    SQLUINTEGER extensions = 0;
    const SQLRETURN rc =
        SQLGetInfo(connection, SQL_GETDATA_EXTENSIONS, &extensions, sizeof extensions, nullptr);
    return SQL_SUCCEEDED(rc) && (extensions & SQL_GD_BOUND) != 0;
}

EnvironmentHandle newEnvironment() {
    SQLHENV handle = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handle))) {
        throw Failure(QStringLiteral("Der ODBC-Treibermanager ist nicht verfügbar."));
    }
    return EnvironmentHandle(handle);
}

}  // namespace

void FreeEnvironment::operator()(SQLHENV handle) const noexcept {
    SQLFreeHandle(SQL_HANDLE_ENV, handle);
}

void FreeConnection::operator()(SQLHDBC handle) const noexcept {
    if (connected) {
        SQLDisconnect(handle);
    }
    SQLFreeHandle(SQL_HANDLE_DBC, handle);
}

void FreeStatement::operator()(SQLHSTMT handle) const noexcept {
    SQLFreeHandle(SQL_HANDLE_STMT, handle);
}

Connection::Connection(const QString& connectionText) : environment_(newEnvironment()) {
    const QString what = QStringLiteral("der Verbindung \"%1\"").arg(connectionText);
    check(SQLSetEnvAttr(environment_.get(), SQL_ATTR_ODBC_VERSION,
                        reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
          SQL_HANDLE_ENV, environment_.get(), what);
    SQLHDBC handle = SQL_NULL_HDBC;
    check(SQLAllocHandle(SQL_HANDLE_DBC, environment_.get(), &handle), SQL_HANDLE_ENV,
          environment_.get(), what);
    connection_.reset(handle);
    QByteArray text = connectionText.toUtf8();
    check(SQLDriverConnect(handle, nullptr, sqlText(text), SQL_NTS, nullptr, 0, nullptr,
                           SQL_DRIVER_NOPROMPT),
          SQL_HANDLE_DBC, handle, what);
    connection_.get_deleter().connected = true;
    getDataOnBound_ = readsBoundColumns(handle);
}

StatementHandle Connection::newStatement(const QString& what) {
    SQLHSTMT handle = SQL_NULL_HSTMT;
    check(SQLAllocHandle(SQL_HANDLE_STMT, connection_.get(), &handle), SQL_HANDLE_DBC,
          connection_.get(), what);
    return StatementHandle(handle);
}

void Connection::execute(const QString& statement) {
    const QString what = QStringLiteral("\"%1\"").arg(statement);
    const StatementHandle handle = newStatement(what);
    QByteArray text = statement.toUtf8();
    const SQLRETURN rc = SQLExecDirect(handle.get(), sqlText(text), SQL_NTS);
    if (rc != SQL_NO_DATA) {
        check(rc, SQL_HANDLE_STMT, handle.get(), what);
    }
}

Query Connection::query(const QString& statement) {
    const QString what = QStringLiteral("\"%1\"").arg(statement);
    Query result(newStatement(what), what, getDataOnBound_);
    QByteArray text = statement.toUtf8();
    check(SQLExecDirect(result.statement_.get(), sqlText(text), SQL_NTS), SQL_HANDLE_STMT,
          result.statement_.get(), what);
    result.describeColumns();
    return result;
}

Query::Query(StatementHandle statement, QString what, bool getDataOnBound)
    : statement_(std::move(statement)), what_(std::move(what)), getDataOnBound_(getDataOnBound) {}

void Query::describeColumns() {
    SQLSMALLINT columns = 0;
    check(SQLNumResultCols(statement_.get(), &columns), SQL_HANDLE_STMT, statement_.get(), what_);
    for (SQLUSMALLINT i = 1; i <= columns; ++i) {
        std::array<SQLCHAR, 256> name{};
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT type = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = 0;
        check(
            SQLDescribeCol(statement_.get(), i, name.data(), static_cast<SQLSMALLINT>(name.size()),
                           &nameLength, &type, &size, &digits, &nullable),
            SQL_HANDLE_STMT, statement_.get(), what_);
        names_.emplace_back(reinterpret_cast<const char*>(name.data()));
        kinds_.push_back(kindOf(type));
    }
}

// Bound buffers spare a driver call per value and the clearing of a large buffer the driver
// does at every SQLGetData.
void Query::bindColumns(int columns) {
    if (!getDataOnBound_ || !bound_.empty()) {
        return;
    }
    bound_.resize(static_cast<std::size_t>(columns));
    for (int i = 0; i < columns; ++i) {
        BoundColumn& column = bound_[static_cast<std::size_t>(i)];
        check(SQLBindCol(statement_.get(), static_cast<SQLUSMALLINT>(i + 1), SQL_C_CHAR,
                         column.buffer.data(), static_cast<SQLLEN>(column.buffer.size()),
                         &column.indicator),
              SQL_HANDLE_STMT, statement_.get(), what_);
    }
}

bool Query::next(int columns, std::vector<Cell>& row) {
    bindColumns(columns);
    const SQLRETURN rc = SQLFetch(statement_.get());
    if (rc == SQL_NO_DATA) {
        return false;
    }
    check(rc, SQL_HANDLE_STMT, statement_.get(), what_);
    row.resize(static_cast<std::size_t>(columns));
    for (int i = 0; i < columns; ++i) {
        if (bound_.empty()) {
            readCell(i, row[static_cast<std::size_t>(i)]);
        } else {
            takeBound(i, row[static_cast<std::size_t>(i)]);
        }
    }
    return true;
}

void Query::takeBound(int column, Cell& cell) {
    const BoundColumn& bound = bound_[static_cast<std::size_t>(column)];
    if (bound.indicator == SQL_NO_TOTAL ||
        bound.indicator >= static_cast<SQLLEN>(bound.buffer.size())) {
        readCell(column, cell);
        return;
    }
    cell.isNull = bound.indicator == SQL_NULL_DATA;
    if (cell.isNull) {
        cell.bytes.clear();
    } else {
        cell.bytes.assign(bound.buffer.data(), static_cast<std::size_t>(bound.indicator));
    }
}

void Query::readCell(int column, Cell& cell) {
    std::array<char, 4096> buffer;  // no zeroing: the driver fills what it reports
    cell.bytes.clear();
    cell.isNull = false;
    const auto number = static_cast<SQLUSMALLINT>(column + 1);
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(statement_.get(), number, SQL_C_CHAR, buffer.data(),
                                        static_cast<SQLLEN>(buffer.size()), &indicator);
        if (rc == SQL_NO_DATA) {
            return;
        }
        check(rc, SQL_HANDLE_STMT, statement_.get(), what_);
        if (indicator == SQL_NULL_DATA) {
            cell.isNull = true;
            return;
        }
        const bool truncated =
            indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(buffer.size());
        const std::size_t chunk =
            truncated ? buffer.size() - 1 : static_cast<std::size_t>(indicator);
        cell.bytes.append(buffer.data(), chunk);
        if (!truncated) {
            return;
        }
    }
}

}  // namespace pendra::transfer::odbc
