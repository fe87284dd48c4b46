#pragma once

#include "tools/damo32/datev_category.h"

#include <QByteArray>

namespace pendra::tools::damo {

// The records of one interface file checked and turned into DATEV-Format lines.
struct Conversion {
    QStringList lines;  // one per record that passed every check
    QList<Problem> problems;
    QStringList unreadable;  // lines that are no record of the format at all
    int read = 0;            // records read
    int refused = 0;         // records read but not written
};

// Reads the interface file's contents (Windows-1252, CR LF) line by line. With problems in the
// header every record read is refused.
Conversion convertRecords(const Category& category, const QByteArray& input,
                          const RunSettings& settings);

// The whole file: header line, column headings and records, each ended by CR LF, in
// Windows-1252.
QByteArray datevFile(const Category& category, const RunSettings& settings,
                     const QDateTime& createdAt, const QStringList& lines);

}  // namespace pendra::tools::damo
