#pragma once

#include <QString>

namespace pendra::platform {

// Profile (INI) files with the semantics the suite's files were written for: section and key
// names match without regard to case, surrounding blanks and one pair of quotes around a
// value are removed on read, a missing file, section or key reads as the default. Files are
// Windows-1252 with CR LF line ends.

// Reads one value as into a buffer of `bufferSize` bytes: the result holds at most
// bufferSize - 1 characters. A missing file, section or key gives the default with its
// trailing blanks removed, cut the same way. The length the caller sees is result.size().
QString getPrivateProfileString(const QString& section, const QString& key,
                                const QString& defaultValue, int bufferSize,
                                const QString& fileName);

// Writes one value: creates the file, appends a missing section at the end, adds a missing
// key at the end of its section, replaces an existing value in place and keeps every other
// line byte for byte. The file is replaced atomically under an advisory lock of its folder.
// Returns false when the file could not be written, or when a name cannot be held by the file
// (a "]" in the section, an "=" in the key, a key starting with "["); the old file then stays
// as it was.
bool writePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& fileName);

}  // namespace pendra::platform
