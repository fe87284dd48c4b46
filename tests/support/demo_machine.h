#pragma once

#include "support/sandbox.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

struct sqlite3;

namespace pendra::test {

// A demo machine in a temporary folder, built by the project's own demo/make-demo-machine:
// the accounting database behind the ODBC data source Pendra_db, the system root with the
// Windows folder's Pendra.ini and the registry, the temporary folder and the DATEV folder with
// the stand-ins for DATEV's programs. While it lives, ODBCSYSINI, ODBCINI and
// PENDRA_SYSTEM_ROOT point at it.
class DemoMachine {
public:
    enum class Data { SchemaOnly, Demo };

    explicit DemoMachine(Data data = Data::SchemaOnly);
    ~DemoMachine();
    DemoMachine(const DemoMachine&) = delete;
    DemoMachine& operator=(const DemoMachine&) = delete;

    QString path(const QString& relative = {}) const;
    QString tmpFolder() const { return path(QStringLiteral("tmp")); }
    QString database() const { return path(QStringLiteral("Pendra_db.sqlite")); }

    // Runs SQL straight on the database file, past ODBC, to set up and inspect a case.
    void exec(const QString& sql) const;
    // Rows of a query, each row's values joined by "|" (Null as "NULL").
    QStringList rows(const QString& sql) const;

    QByteArray readFile(const QString& relative) const;
    // Records the converter stand-in read over every run so far, from its log.
    int convertedRecords() const;
    void writeFile(const QString& relative, const QByteArray& contents) const;

private:
    QTemporaryDir dir_;
    sqlite3* db_ = nullptr;
    std::optional<ScopedEnv> sysIni_;
    std::optional<ScopedEnv> ini_;
    std::optional<ScopedEnv> root_;
};

}  // namespace pendra::test
