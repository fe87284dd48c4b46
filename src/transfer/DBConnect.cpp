#include "transfer/DBConnect.h"

#include "transfer/KontoKorrect.h"
#include "common/FileFkt.h"
#include "common/Registry.h"
#include "common/failure.h"
#include "common/product_key.h"
#include "transfer/odbc.h"
#include "platform/codepage.h"
#include "platform/paths.h"
#include "transfer/value_text.h"

#include <QFile>

#include <unistd.h>

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

std::string textOf(const odbc::Query& query, int column, const odbc::Cell& cell) {
    std::string text;
    value_text::append(query.kind(column), cell.bytes, text);
    return text;
}

// What a column's name makes of its values in an interface file.
enum class Role { Plain, CorrectionKey, Amount, Currency };

Role roleOf(const QByteArray& name) {
    if (name == "KorrKz" || name == "Korrkz") {
        return Role::CorrectionKey;
    }
    if (name == "Skbetr" || name == "Wert") {
        return Role::Amount;
    }
    return name == "Ausdr9" ? Role::Currency : Role::Plain;
}

// The interface file, opened at its first line and kept open for the whole call.
class InterfaceFile {
public:
    explicit InterfaceFile(const QString& path) : file_(platform::resolvePath(path)) {}

    void writeLine(const QByteArray& line) {
        if (!file_.isOpen() && !file_.open(QIODevice::WriteOnly | QIODevice::Append)) {
            fail();
        }
        if (file_.write(line) != line.size() || file_.write("\r\n", 2) != 2 || !file_.flush()) {
            fail();
        }
    }

    void sync() {
        if (file_.isOpen() && ::fsync(file_.handle()) != 0) {
            fail();
        }
    }

private:
    [[noreturn]] void fail() const {
        throw Failure(QStringLiteral("In die Datei \"%1\" kann nicht geschrieben werden: %2")
                          .arg(file_.fileName(), file_.errorString()));
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
    const std::string sep = separator.toStdString();

    odbc::Connection connection(connectionText());
    odbc::Query query = openView(connection, view, filter, columnCount);
    std::vector<Role> roles;
    for (int i = 0; i < columnCount; ++i) {
        roles.push_back(roleOf(query.name(i)));
    }

    InterfaceFile file(filePath);
    ExportResult result;
    std::string key;  // a correction key waiting for column 2; it outlives the record
    std::string line;
    std::vector<odbc::Cell> row;
    while (query.next(columnCount, row)) {
        line.clear();
        for (int i = 0; i < columnCount; ++i) {
            const odbc::Cell& cell = row[static_cast<std::size_t>(i)];
            const Role role = roles[static_cast<std::size_t>(i)];
            if (cell.actualSize() <= 0) {
                continue;
            }
            if (cell.bytes == " ") {
                line += sep;
            } else if (role == Role::CorrectionKey) {
                key = value_text::isZeroOrOne(cell.bytes) ? std::string() : textOf(query, i, cell);
            } else if (!key.empty() && i == 2) {
                line += KontoKorrect::KorrKonto(QString::fromStdString(textOf(query, i, cell)),
                                                QString::fromStdString(key))
                            .toStdString();
                line += sep;
                key.clear();
            } else if (role == Role::Amount) {
                const auto amount = value_text::hundredths(cell.bytes);
                if (!amount) {
                    throw Failure(
                        QStringLiteral(
                            "Der Betrag \"%1\" in Spalte %2 der Sicht \"%3\" ist keine Zahl.")
                            .arg(QString::fromStdString(cell.bytes),
                                 QString::fromUtf8(query.name(i)), view));
                }
                line += *amount;
                line += sep;
            } else if (role == Role::Currency) {
                line += currency;
                line += sep;
            } else {
                value_text::append(query.kind(i), cell.bytes, line);
                if (i != columnCount - 1) {
                    line += sep;
                }
            }
        }
        const platform::Encoded encoded = platform::encodeUtf8AsAnsi(line);
        file.writeLine(encoded.bytes);
        result.replacedCharacters += encoded.replaced;
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
    odbc::Connection connection(connectionText());
    for (const QString& statement : statements) {
        connection.execute(statement);
    }
}

int CollectValues(const QString& view, int columnCount, const QString& filter,
                  const QString& separator, QString& result) {
    result.clear();
    odbc::Connection connection(connectionText());
    odbc::Query query = openView(connection, view, filter, columnCount);
    int rows = 0;
    std::vector<odbc::Cell> row;
    while (query.next(columnCount, row)) {
        ++rows;
        for (int i = 0; i < columnCount; ++i) {
            const odbc::Cell& cell = row[static_cast<std::size_t>(i)];
            if (cell.actualSize() >= 1 && cell.bytes != " ") {
                result += QString::fromStdString(textOf(query, i, cell)) + separator;
            }
        }
    }
    return rows;
}

void LookupValue(const QString& view, int columnCount, const QString& filter, const QString& column,
                 QString& result) {
    result.clear();
    const QByteArray wanted = column.toUtf8();
    odbc::Connection connection(connectionText());
    odbc::Query query = openView(connection, view, filter, columnCount);
    std::vector<odbc::Cell> row;
    while (query.next(columnCount, row)) {
        for (int i = 0; i < columnCount; ++i) {
            const odbc::Cell& cell = row[static_cast<std::size_t>(i)];
            if (cell.actualSize() > 0 && query.name(i) == wanted) {
                result = QString::fromStdString(textOf(query, i, cell));
                return;
            }
        }
    }
}

}  // namespace pendra::transfer::DBConnect
