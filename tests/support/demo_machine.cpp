#include "support/demo_machine.h"

#include <QFile>
#include <QProcess>

#include <sqlite3.h>

#include <stdexcept>

namespace pendra::test {

DemoMachine::DemoMachine(Data data) {
    if (!dir_.isValid()) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    QStringList args = {dir_.filePath(QStringLiteral("machine")), QStringLiteral("--tools"),
                        QStringLiteral(PENDRA_TOOLS_DIR)};
    if (data == Data::SchemaOnly) {
        args.append(QStringLiteral("--schema-only"));
    }
    QProcess make;
    make.start(QStringLiteral(PENDRA_DEMO_DIR "/make-demo-machine"), args);
    if (!make.waitForFinished(60000) || make.exitCode() != 0) {
        throw std::runtime_error("make-demo-machine failed: " +
                                 make.readAllStandardError().toStdString());
    }
    sysIni_.emplace("ODBCSYSINI", path(QStringLiteral("odbc")));
    ini_.emplace("ODBCINI", path(QStringLiteral("odbc/odbc.ini")));
    root_.emplace("PENDRA_SYSTEM_ROOT", path(QStringLiteral("system")));
    if (sqlite3_open(QFile::encodeName(database()).constData(), &db_) != SQLITE_OK) {
        throw std::runtime_error("cannot open the demo database");
    }
    sqlite3_busy_timeout(db_, 5000);
}

DemoMachine::~DemoMachine() {
    sqlite3_close(db_);
}

QString DemoMachine::path(const QString& relative) const {
    const QString machine = dir_.filePath(QStringLiteral("machine"));
    return relative.isEmpty() ? machine : machine + QLatin1Char('/') + relative;
}

void DemoMachine::exec(const QString& sql) const {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error != nullptr ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error("SQL failed: " + message);
    }
}

QStringList DemoMachine::rows(const QString& sql) const {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK) {
        throw std::runtime_error(std::string("SQL failed: ") + sqlite3_errmsg(db_));
    }
    QStringList result;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        QStringList values;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const auto* text = sqlite3_column_text(statement, i);
            values.append(text == nullptr ? QStringLiteral("NULL")
                                          : QString::fromUtf8(reinterpret_cast<const char*>(text)));
        }
        result.append(values.join(QLatin1Char('|')));
    }
    sqlite3_finalize(statement);
    return result;
}

QByteArray DemoMachine::readFile(const QString& relative) const {
    return readBytes(path(relative));
}

int DemoMachine::convertedRecords() const {
    int records = 0;
    const QString log = QString::fromUtf8(readFile(QStringLiteral("Datev/damo32.log")));
    for (const QString& line : log.split(u'\n', Qt::SkipEmptyParts)) {
        records += line.section(u'\t', 1).toInt();
    }
    return records;
}

void DemoMachine::writeFile(const QString& relative, const QByteArray& contents) const {
    writeBytes(path(relative), contents);
}

}  // namespace pendra::test
