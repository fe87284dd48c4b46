#pragma once

#include "transfer/CommandRun.h"

#include <QString>

namespace pendra::transfer {

// Reads a key of the Windows folder's Pendra.ini; an empty result has been reported.
QString readWindowsPendraIni(CommandRun& run, const QString& section, const QString& key);

// The DATEV folder, the temporary folder and the application path.
inline QString datevProgramFolder(CommandRun& run) {
    return readWindowsPendraIni(run, QStringLiteral("DATEV"), QStringLiteral("datev"));
}
inline QString tempFolder(CommandRun& run) {
    return readWindowsPendraIni(run, QStringLiteral("tmp_Path"), QStringLiteral("tmp"));
}
inline QString applicationPath(CommandRun& run) {
    return readWindowsPendraIni(run, QStringLiteral("Pendra_Path"), QStringLiteral("Pendra"));
}

// DATEV's settings file in the DATEV folder.
QString damoIniFile(const QString& datevFolder);

// Shows the messages in order and marks the run as stopped.
void stopRun(CommandRun& run, std::initializer_list<QString> messages);

}  // namespace pendra::transfer
