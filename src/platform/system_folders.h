#pragma once

#include <QString>

namespace pendra::platform {

// Folders of the machine the suite runs on. Each getter takes the size of the caller's buffer
// and returns the empty text when the folder cannot be determined or does not fit, so callers
// can report the failure.

// The folder named by PENDRA_SYSTEM_ROOT; without that variable a per-user folder under the
// XDG data home. A variable that is set but empty means no system root.
QString systemRoot();

// <system root>/Windows: the folder of the settings file the transfer program reads.
QString getWindowsDirectory(int bufferSize);

// The process's working directory.
QString getCurrentDirectory(int bufferSize);

// The folder for temporary files (honours TMPDIR).
QString getTempPath(int bufferSize);

}  // namespace pendra::platform
