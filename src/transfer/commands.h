#pragma once

#include "transfer/CommandRun.h"
#include "transfer/exclusive_run.h"

#include <QStringView>

#include <array>

namespace pendra::transfer {

// The three commands of the transfer program, as the menu and the batch command line run
// them. Database, file and process failures throw pendra::Failure.

// Reads the export period from "Ausspielzeitraum" and runs the booking export.
void bookingsCommand(CommandRun& run);

// Exports the master data and hands the file to DATEV.
void masterDataCommand(CommandRun& run);

// Exports the account labels and hands the file to DATEV.
void accountLabelsCommand(CommandRun& run);

// A command as the window and the command line offer it; both run it under the run lock.
struct Command {
    const char* batchWord;  // the word after --batch
    const char* menuEntry;  // the object name of the window's menu entry
    void (*function)(CommandRun&);
    const char* helpLine;  // what the command line's help says it does
};

inline constexpr std::array<Command, 3> kCommands = {{
    {"buchungen", "BwOutp", exclusively<bookingsCommand>, "Buchungssätze ausspielen"},
    {"stammdaten", "StammOutp", exclusively<masterDataCommand>, "Stammdaten ausspielen"},
    {"kontenbeschriftungen", "Kontenoutp", exclusively<accountLabelsCommand>,
     "Kontenbeschriftungen ausspielen"},
}};

// The command with that batch word, or with that menu entry; nothing for any other text.
const Command* commandOfBatchWord(QStringView word);
const Command* commandOfMenuEntry(QStringView objectName);

}  // namespace pendra::transfer
