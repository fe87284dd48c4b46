#pragma once

#include "tools/damo32/record_check.h"
#include "tools/damo32/run_settings.h"

#include <QDateTime>
#include <QStringList>

namespace pendra::tools::damo {

// One DATEV-Format category and how a line of the interface file becomes its record.
struct Category {
    QString datevName;  // format name in the header
    QString fileWord;   // part of the file name
    int dataCategory;
    int formatVersion;
    bool transactions;  // bookings carry a period and a batch name in the header
    const QStringList& columns;
    RecordCheck (*record)(const QString& line, int lineNumber, const RunSettings& settings);
};

// The category for the format name of the interface file, nullptr for an unknown one.
const Category* categoryOf(const QString& formatName);

// The header line of a file written at createdAt.
QString headerLine(const Category& category, const RunSettings& settings,
                   const QDateTime& createdAt);
// What keeps a header from being written: adviser, client, period of a booking run.
QList<Problem> headerProblems(const Category& category, const RunSettings& settings);

}  // namespace pendra::tools::damo
