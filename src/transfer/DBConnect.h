#pragma once

#include <QString>

#include <functional>

namespace pendra::transfer::DBConnect {

// Every operation opens its own connection to this data source and closes it before it
// returns, unless a SharedConnection (transfer/shared_connection.h) lends them one. Database and
// file failures throw pendra::Failure; lines written and statements run before the failure stay.
inline QString connectionText() {
    return QStringLiteral("DSN=Pendra_db");
}

struct ExportResult {
    int records = 0;
    int replacedCharacters = 0;  // characters Windows-1252 lacks, written as "?"
};

enum class Mode { NewFile = 0, Append = 1 };

// Writes the rows of "[" + view + "]" + filter as lines of a DATEV interface file: the first
// `columnCount` columns joined by `separator`, Windows-1252, CR LF. The file is synced to
// disk before the call returns, so records marked afterwards always have their line on disk.
// `progress`, when given, hears the number of records written so far after every record.
ExportResult ExportRecords(const QString& view, const QString& filePath, int columnCount,
                           const QString& filter, const QString& separator, Mode mode,
                           const std::function<void(int)>& progress = {});

// Marks the rows of the view that the filter selects as transferred.
void MarkBooked(const QString& view, const QString& filter);

// Collects every non-empty value of the first `columnCount` columns, each followed by the
// separator, row after row. Returns the number of rows read. A value that holds the
// separator throws pendra::Failure: it would shift the values behind it.
int CollectValues(const QString& view, int columnCount, const QString& filter,
                  const QString& separator, QString& result);

// The first non-empty value of the named column among the first `columnCount` columns.
void LookupValue(const QString& view, int columnCount, const QString& filter, const QString& column,
                 QString& result);

}  // namespace pendra::transfer::DBConnect
