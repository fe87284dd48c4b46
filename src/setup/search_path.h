#pragma once

#include <QString>

namespace pendra::setup {

// The system search path: value "Path" of "System\CurrentControlSet\Control\Session
// Manager\Environment". Both edits keep the value's type (normally an expandable string) and
// leave a value that cannot be read as it is; they return whether the value could be read.

// Trims trailing semicolons and appends ";" + dir + ";", also when dir is already there.
bool appendToSearchPath(const QString& dir);

// Removes the first occurrence of dir and the separator behind it, unless it stands at the
// very start of the value or is missing.
bool removeFromSearchPath(const QString& dir);

}  // namespace pendra::setup
