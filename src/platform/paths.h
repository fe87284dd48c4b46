#pragma once

#include <QString>

namespace pendra::platform {

// File names are matched without regard to case, as on the system the suite's files come
// from: each component of the path is taken as written when it exists, else as the first
// entry of its folder whose name matches it without regard to case. Components that match
// nothing stay as written, so a new file gets the name the caller gave.
QString resolvePath(const QString& path);

// Whether a regular file exists under that name, letter case aside.
bool fileExists(const QString& path);

// Joins a folder and a name with exactly one separator between them.
QString joinPath(const QString& folder, const QString& name);

}  // namespace pendra::platform
