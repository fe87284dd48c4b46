#pragma once

#include <QString>

namespace pendra::common::FileFkt {

// Whether a file of that name exists.
bool FilePresent(const QString& path);

// Deletes the file if it exists (a read-only file is not forced) and creates it empty.
// Throws Failure when either step fails.
void CreateEmptyTextFile(const QString& path);

// Appends the line and CR LF in Windows-1252, creating the file if needed. Returns how many
// characters the code page lacks and were written as "?". Throws Failure on a write error.
int AppendTextLine(const QString& path, const QString& line);

}  // namespace pendra::common::FileFkt
