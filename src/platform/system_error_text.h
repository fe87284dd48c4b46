#pragma once

#include <QString>

namespace pendra::platform {

// The German text of a system error that Qt describes in its own words ("Permission denied",
// "execve: No such file or directory"): users see German texts only. The system's error texts
// are recognised in the description; an error the table does not know gives a general German
// text, never the English one.
QString germanSystemError(const QString& qtDescription);

}  // namespace pendra::platform
