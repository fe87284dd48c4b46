#pragma once

#include "CommandRun.h"

#include <QString>

namespace pendra::Settings {

// Reads a key of the Windows folder's Pendra.ini; an empty result has been reported.
QString ReadPendraIni(CommandRun& run, const QString& section, const QString& key);

// The DATEV folder, the temporary folder and the application path.
inline QString DatevFolder(CommandRun& run) {
    return ReadPendraIni(run, QStringLiteral("DATEV"), QStringLiteral("datev"));
}
inline QString TempFolder(CommandRun& run) {
    return ReadPendraIni(run, QStringLiteral("tmp_Path"), QStringLiteral("tmp"));
}
inline QString ApplicationPath(CommandRun& run) {
    return ReadPendraIni(run, QStringLiteral("Pendra_Path"), QStringLiteral("Pendra"));
}

// DATEV's settings file in the DATEV folder.
QString DamoIni(const QString& datevFolder);

// Shows the messages in order and marks the run as stopped.
void Stop(CommandRun& run, std::initializer_list<QString> messages);

}  // namespace pendra::Settings
