#pragma once

#include <QString>

namespace pendra::tools {

// Takes away what an installer's log lists: settings that still hold the value the installer
// wrote are emptied, then the files are deleted, the log itself, and the folders that are
// empty then, deepest first. What is already gone is passed over; no link is followed, a
// listed link is deleted as a file. Throws Failure when the log cannot be read.
void uninstall(const QString& logFile);

}  // namespace pendra::tools
