#pragma once

#include "transfer/CommandRun.h"

#include <QString>

namespace pendra::transfer::RunDamo {

// Starts DATEV's put_self32.exe on an interface file of the temporary folder and returns at
// once. Returns false when the DATEV folder is not set (the user has been told).
bool RunPutSelf(CommandRun& run, const QString& fileName, const QString& typeWord);

// Writes the run's keys into Damo32.ini, starts DATEV's converter damo32.exe and returns when
// it has ended; meanwhile the program's events keep running. Returns false when the DATEV
// folder is not set (the user has been told). A program that cannot be started throws Failure.
bool RunConverter(CommandRun& run, const QString& inputFile, const QString& formatName);

}  // namespace pendra::transfer::RunDamo
