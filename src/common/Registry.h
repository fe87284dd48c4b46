#pragma once

#include <QString>

namespace pendra::common::Registry {

// Reads one string value of a key below HKEY_LOCAL_MACHINE through a buffer of 255 bytes:
// the characters before the first NUL, or the empty text when the key or value is missing,
// the store cannot be read, or the data do not fit the buffer.
QString ReadRegValue(const QString& keyPath, const QString& valueName);

}  // namespace pendra::common::Registry
