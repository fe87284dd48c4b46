#pragma once

#include "CommandRun.h"

namespace pendra::ExportCommands {

// The three commands of the transfer program, as the menu and the batch command line run
// them. Database, file and process failures throw pendra::Failure.

// Reads the export period from "Ausspielzeitraum" and runs the booking export.
void Bookings(CommandRun& run);

// Exports the master data and hands the file to DATEV.
void MasterData(CommandRun& run);

// Exports the account labels and hands the file to DATEV.
void AccountLabels(CommandRun& run);

}  // namespace pendra::ExportCommands
