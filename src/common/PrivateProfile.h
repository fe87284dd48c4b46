#pragma once

#include "ui/message_sink.h"

#include <QString>

namespace pendra::common::PrivateProfile {

// Reads one key of a profile file through a buffer of 255 bytes. A file name of exactly
// "Pendra.ini" is replaced, in the caller's variable too, by the file of that name in the
// Windows folder. An empty result has been reported to the user already.
QString ReadIniValue(ui::MessageSink& messages, const QString& section, const QString& key,
                     QString& fileName);

// Writes one key of a profile file, creating file and section as needed. A failed write is
// not reported.
void WriteIniValue(const QString& section, const QString& key, const QString& value,
                   const QString& fileName);

}  // namespace pendra::common::PrivateProfile
