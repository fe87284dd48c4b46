#pragma once

#include "transfer/CommandRun.h"
#include "transfer/pending_handover.h"

#include <QString>

namespace pendra::transfer::CreateQuery {

// Writes the export period into DATEV's header section of Damo32.ini and runs the booking
// export.
void RunBookingExport(CommandRun& run, const QString& businessYear, const QString& shortYear,
                      const QString& startDate, const QString& endDate);

// Exports the bookings not yet transferred: per bank account and month the four bank
// categories into one file per account, then cash, purchase invoices, sales invoices and
// credit notes into one file each. Marks what was written, hands each file to DATEV and
// returns the number of records written (0 when the run ended early).
int ExportBookings(CommandRun& run, const QString& businessYear, const QString& shortYear);

// The master data's and the account labels' interface files and how they go to DATEV.
PendingFile masterDataFile();
PendingFile accountLabelsFile();

// Exports new and changed business partners into "OPOS-ST-OBE.txt".
int ExportMasterData(CommandRun& run);

// Exports new and corrected account labels into "FIBU-ST-OBE.txt".
int ExportAccountLabels(CommandRun& run);

}  // namespace pendra::transfer::CreateQuery
