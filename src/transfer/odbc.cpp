#include "transfer/odbc.h"

#include "common/failure.h"

#include <QStringList>

#include <sqlext.h>

#include <array>

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

}  // namespace

Connection::Connection(const QString& connectionText) {
    const QString what = QStringLiteral("der Verbindung \"%1\"").arg(connectionText);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment_))) {
        throw Failure(QStringLiteral("Der ODBC-Treibermanager ist nicht verfügbar."));
    }
    check(SQLSetEnvAttr(environment_, SQL_ATTR_ODBC_VERSION,
                        reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
          SQL_HANDLE_ENV, environment_, what);
    check(SQLAllocHandle(SQL_HANDLE_DBC, environment_, &connection_), SQL_HANDLE_ENV, environment_,
          what);
    QByteArray text = connectionText.toUtf8();
    const SQLRETURN rc = SQLDriverConnect(connection_, nullptr, sqlText(text), SQL_NTS, nullptr, 0,
                                          nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        const QString detail = diagnostics(SQL_HANDLE_DBC, connection_);
        SQLFreeHandle(SQL_HANDLE_DBC, connection_);
        SQLFreeHandle(SQL_HANDLE_ENV, environment_);
        throw databaseFailure(what, detail);
    }
}

Connection::~Connection() {
    SQLDisconnect(connection_);
    SQLFreeHandle(SQL_HANDLE_DBC, connection_);
    SQLFreeHandle(SQL_HANDLE_ENV, environment_);
}

void Connection::execute(const QString& statement) {
    SQLHSTMT handle = SQL_NULL_HSTMT;
    const QString what = QStringLiteral("\"%1\"").arg(statement);
    check(SQLAllocHandle(SQL_HANDLE_STMT, connection_, &handle), SQL_HANDLE_DBC, connection_, what);
    QByteArray text = statement.toUtf8();
    const SQLRETURN rc = SQLExecDirect(handle, sqlText(text), SQL_NTS);
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
        const QString detail = diagnostics(SQL_HANDLE_STMT, handle);
        SQLFreeHandle(SQL_HANDLE_STMT, handle);
        throw databaseFailure(what, detail);
    }
    SQLFreeHandle(SQL_HANDLE_STMT, handle);
}

Query Connection::query(const QString& statement) {
    SQLHSTMT handle = SQL_NULL_HSTMT;
    const QString what = QStringLiteral("\"%1\"").arg(statement);
    check(SQLAllocHandle(SQL_HANDLE_STMT, connection_, &handle), SQL_HANDLE_DBC, connection_, what);
    Query result(handle, what);  // owns the handle from here on
    QByteArray text = statement.toUtf8();
    check(SQLExecDirect(handle, sqlText(text), SQL_NTS), SQL_HANDLE_STMT, handle, what);
    SQLSMALLINT columns = 0;
    check(SQLNumResultCols(handle, &columns), SQL_HANDLE_STMT, handle, result.what_);
    for (SQLUSMALLINT i = 1; i <= columns; ++i) {
        std::array<SQLCHAR, 256> name{};
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT type = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = 0;
        check(SQLDescribeCol(handle, i, name.data(), static_cast<SQLSMALLINT>(name.size()),
                             &nameLength, &type, &size, &digits, &nullable),
              SQL_HANDLE_STMT, handle, result.what_);
        result.names_.emplace_back(reinterpret_cast<const char*>(name.data()));
        result.kinds_.push_back(kindOf(type));
    }
    return result;
}

Query::Query(SQLHSTMT statement, QString what) : statement_(statement), what_(std::move(what)) {}

Query::Query(Query&& other) noexcept
    : statement_(other.statement_),
      what_(std::move(other.what_)),
      names_(std::move(other.names_)),
      kinds_(std::move(other.kinds_)) {
    other.statement_ = SQL_NULL_HSTMT;
}

Query::~Query() {
    if (statement_ != SQL_NULL_HSTMT) {
        SQLFreeHandle(SQL_HANDLE_STMT, statement_);
    }
}

bool Query::next(int columns, std::vector<Cell>& row) {
    const SQLRETURN rc = SQLFetch(statement_);
    if (rc == SQL_NO_DATA) {
        return false;
    }
    check(rc, SQL_HANDLE_STMT, statement_, what_);
    row.resize(static_cast<std::size_t>(columns));
    for (int i = 0; i < columns; ++i) {
        readCell(i, row[static_cast<std::size_t>(i)]);
    }
    return true;
}

void Query::readCell(int column, Cell& cell) {
    std::array<char, 4096> buffer;  // no zeroing: the driver fills what it reports
    cell.bytes.clear();
    cell.isNull = false;
    const auto number = static_cast<SQLUSMALLINT>(column + 1);
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(statement_, number, SQL_C_CHAR, buffer.data(),
                                        static_cast<SQLLEN>(buffer.size()), &indicator);
        if (rc == SQL_NO_DATA) {
            return;
        }
        check(rc, SQL_HANDLE_STMT, statement_, what_);
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
