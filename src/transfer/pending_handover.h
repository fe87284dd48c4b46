#pragma once

#include "transfer/CommandRun.h"

#include <QString>

namespace pendra::transfer {

// An interface file of the temporary folder and how it is handed to DATEV.
struct PendingFile {
    QString baseName;  // "FIBU-BW.1200": the file is "FIBU-BW.1200.txt"
    QString typeWord;
    QString formatName;
};

// A marker beside an interface file whose records are being marked booked but that has not
// been handed to DATEV yet. It outlives a crash and tells the next run how much of the file
// holds marked records: the size after the last marking that went through, and for a marking
// under way the size it covers with the view and filter its records came from, so the next
// run can tell from the database whether that marking went through.
class PendingMarker {
public:
    PendingMarker(QString tmp, PendingFile file) : tmp_(std::move(tmp)), file_(std::move(file)) {}

    // The last records of the file, about to be marked: how many, the view and filter they
    // were exported with, and the filter that marks them.
    struct MarkingUnderWay {
        int records = 0;
        QString view;
        QString filter;
        QString markFilter;
    };

    // Before a marking of the file, which now holds `size` bytes and is on disk. Throws
    // Failure when the marker cannot be written; nothing is marked then.
    void beforeMarking(qint64 size, const MarkingUnderWay& marking);
    // The marking went through.
    void afterMarking();

private:
    QString tmp_;
    PendingFile file_;
    qint64 confirmed_ = 0;
    qint64 attempted_ = 0;
};

// The file has been handed over: its marker goes.
void clearPending(const QString& tmp, const QString& baseName);

// Hands every file of the temporary folder whose name begins with `prefix` and that an
// earlier run marked but did not hand over to DATEV, cut to its marked records, telling the
// user, before this run writes such a file anew.
void handOverLeftovers(CommandRun& run, const QString& tmp, const QString& prefix);

}  // namespace pendra::transfer
