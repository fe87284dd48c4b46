#pragma once

#include "transfer/CommandRun.h"

#include <QString>

namespace pendra::transfer::RunDamo {

// Starts DATEV's put_self32.exe on an interface file of the temporary folder and returns at
// once. When the DATEV folder is not set, the user is told and the run is marked stopped.
void RunPutSelf(CommandRun& run, const QString& fileName, const QString& typeWord);

// Writes the run's keys into Damo32.ini, starts DATEV's converter damo32.exe and returns when
// it has ended; meanwhile the program's events keep running. When the DATEV folder is not set,
// the user is told and the run is marked stopped. A program that cannot be started throws
// Failure.
void RunConverter(CommandRun& run, const QString& inputFile, const QString& formatName);

// Hands "<baseName>.txt" of the temporary folder `tmp` to DATEV: put_self32.exe with the type
// word, then the converter with the format name. Both are tried even without a DATEV folder;
// each tells the user.
void handToDatev(CommandRun& run, const QString& tmp, const QString& baseName,
                 const QString& typeWord, const QString& formatName);

}  // namespace pendra::transfer::RunDamo
