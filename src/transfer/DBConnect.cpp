#include "transfer/DBConnect.h"

#include "common/FileFkt.h"
#include "common/Registry.h"
#include "common/failure.h"
#include "common/product_key.h"
#include "platform/codepage.h"
#include "platform/paths.h"
#include "platform/system_error_text.h"
#include "transfer/InterfaceLineFormat.h"
#include "transfer/odbc.h"
#include "transfer/shared_connection.h"
#include "transfer/value_text.h"

#include <QFile>

#include <unistd.h>

#include <cerrno>

namespace pendra::transfer::DBConnect {

namespace {

QString selectText(const QString& view, const QString& filter) {
    return QStringLiteral("select * from [") + view + QLatin1Char(']') + filter;
}

odbc::Query openView(odbc::Connection& connection, const QString& view, const QString& filter,
                     int columnCount) {
    odbc::Query query = connection.query(selectText(view, filter));
    if (query.columnCount() < columnCount) {
        throw Failure(QStringLiteral("Die Sicht \"%1\" hat nur %2 Spalten; gelesen werden %3.")
                          .arg(view)
                          .arg(query.columnCount())
                          .arg(columnCount));
    }
    return query;
}

std::string textOf(const odbc::Query& query, int column, const Cell& cell) {
    std::string text;
    value_text::append(query.kind(column), cell.bytes, text);
    return text;
}

// A value of a list whose values are told apart by the separator: one that holds the
// separator would move every later value to another place in the list.
QString valueForList(const QString& view, const odbc::Query& query, int column, const Cell& cell,
                     const QString& separator) {
    QString value = QString::fromStdString(textOf(query, column, cell));
    if (!separator.isEmpty() && value.contains(separator)) {
        throw Failure(QStringLiteral("Der Wert \"%1\" in Spalte %2 der Sicht \"%3\" enthält das "
                                     "Trennzeichen \"%4\" und kann nicht gelesen werden.")
                          .arg(value, QString::fromUtf8(query.name(column)), view, separator));
    }
    return value;
}

std::vector<InterfaceLineFormat::Column> columnsOf(const odbc::Query& query, int columnCount) {
    std::vector<InterfaceLineFormat::Column> columns;
    for (int i = 0; i < columnCount; ++i) {
        columns.push_back({query.name(i), query.kind(i)});
    }
    return columns;
}

// The interface file, opened at its first line and kept open for the whole call. Lines go
// through the file's buffer: a system call per line would cost more than the driver, and no
// record is marked before sync() has put every line on disk. Lines buffered when a failure
// ends the call are written when the file closes.
class InterfaceFile {
public:
    explicit InterfaceFile(const QString& path) : file_(platform::resolvePath(path)) {}

    // `line` ends with its CR LF.
    void writeLine(const QByteArray& line) {
        if (!file_.isOpen() && !file_.open(QIODevice::WriteOnly | QIODevice::Append)) {
            fail();
        }
        if (file_.write(line) != line.size()) {
            fail();
        }
    }

    void sync() {
        if (!file_.isOpen()) {
            return;
        }
        if (!file_.flush()) {
            fail();
        }
        if (::fsync(file_.handle()) != 0) {
            fail(qt_error_string(errno));  // Qt knows nothing of a failed sync
        }
    }

private:
    [[noreturn]] void fail(const QString& cause = {}) {
        // A write cut short by a full disk leaves no cause; writing the rest meets it.
        if (cause.isEmpty() && file_.isOpen()) {
            file_.flush();
        }
        throw Failure(
            QStringLiteral("In die Datei \"%1\" kann nicht geschrieben werden: %2")
                .arg(file_.fileName(),
                     platform::germanSystemError(cause.isEmpty() ? file_.errorString() : cause)));
    }

    QFile file_;
};

}  // namespace

ExportResult ExportRecords(const QString& view, const QString& filePath, int columnCount,
                           const QString& filter, const QString& separator, Mode mode,
                           const std::function<void(int)>& progress) {
    if (mode == Mode::NewFile) {
        common::FileFkt::CreateEmptyTextFile(filePath);
    }
    const std::string currency =
        common::Registry::ReadRegValue(common::productKey(), QStringLiteral("WKen")).toStdString();

    const ConnectionUse connection(connectionText());
    odbc::Query query = openView(*connection, view, filter, columnCount);
    InterfaceLineFormat lines(view, columnsOf(query, columnCount), separator.toStdString(),
                              currency);
    InterfaceFile file(filePath);
    ExportResult result;
    std::vector<Cell> row;
    QByteArray line;
    while (query.next(columnCount, row)) {
        line.resize(0);
        result.replacedCharacters += platform::appendUtf8AsAnsi(lines.format(row), line);
        line.append("\r\n", 2);
        file.writeLine(line);
        ++result.records;
        if (progress) {
            progress(result.records);
        }
    }
    file.sync();
    return result;
}

void MarkBooked(const QString& view, const QString& filter) {
    const QString bracketed = QLatin1Char('[') + view + QLatin1Char(']');
    QStringList statements;
    if (view == QLatin1String("Datev_Kreditor")) {
        statements = {
            QStringLiteral("update ") + bracketed + QStringLiteral(" set Bu_kz_kr = 'B' ") + filter,
            QStringLiteral("update ") + bracketed + QStringLiteral(" set KorrKz = 0 ") + filter};
    } else if (view == QLatin1String("OPOS-ST-KNE")) {
        statements = {
            QStringLiteral("update ") + bracketed + QStringLiteral(" set AendKen = 0 ") + filter,
            QStringLiteral("update ") + bracketed + QStringLiteral(" set BuKz = 9 ") + filter};
    } else if (view == QLatin1String("FIBU-ST-KNE") || view == QLatin1String("FIBU-ST-KREDIT")) {
        statements = {QStringLiteral("update ") + bracketed + QStringLiteral(" set BuKz = '9' ") +
                      filter};
    } else {
        statements = {
            QStringLiteral("update ") + view + QStringLiteral(" set Bu_kz = 'B' ") + filter,
            QStringLiteral("update ") + bracketed + QStringLiteral(" set KorrKz = 0 ") + filter};
    }
    const ConnectionUse connection(connectionText());
    for (const QString& statement : statements) {
        connection->execute(statement);
    }
}

int CollectValues(const QString& view, int columnCount, const QString& filter,
                  const QString& separator, QString& result) {
    result.clear();
    const ConnectionUse connection(connectionText());
    odbc::Query query = openView(*connection, view, filter, columnCount);
    int rows = 0;
    std::vector<Cell> row;
    while (query.next(columnCount, row)) {
        ++rows;
        for (int i = 0; i < columnCount; ++i) {
            const Cell& cell = row[static_cast<std::size_t>(i)];
            if (cell.actualSize() >= 1 && cell.bytes != " ") {
                result += valueForList(view, query, i, cell, separator) + separator;
            }
        }
    }
    return rows;
}

void LookupValue(const QString& view, int columnCount, const QString& filter, const QString& column,
                 QString& result) {
    result.clear();
    const QByteArray wanted = column.toUtf8();
    const ConnectionUse connection(connectionText());
    odbc::Query query = openView(*connection, view, filter, columnCount);
    std::vector<Cell> row;
    while (query.next(columnCount, row)) {
        for (int i = 0; i < columnCount; ++i) {
            const Cell& cell = row[static_cast<std::size_t>(i)];
            if (cell.actualSize() > 0 && query.name(i) == wanted) {
                result = QString::fromStdString(textOf(query, i, cell));
                return;
            }
        }
    }
}

}  // namespace pendra::transfer::DBConnect
