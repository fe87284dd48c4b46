#pragma once

#include "transfer/CommandRun.h"

namespace pendra::transfer {

// The three commands of the transfer program, as the menu and the batch command line run
// them. Database, file and process failures throw pendra::Failure.

// Reads the export period from "Ausspielzeitraum" and runs the booking export.
void bookingsCommand(CommandRun& run);

// Exports the master data and hands the file to DATEV.
void masterDataCommand(CommandRun& run);

// Exports the account labels and hands the file to DATEV.
void accountLabelsCommand(CommandRun& run);

}  // namespace pendra::transfer
