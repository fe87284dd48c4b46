#pragma once

#include "tools/damo32/record_check.h"
#include "tools/damo32/run_settings.h"

namespace pendra::tools::damo {

// A booking line of the interface file ("FBOP-BW-OBE") as a "Buchungsstapel" record.
RecordCheck bookingRecord(const QString& line, int lineNumber, const RunSettings& settings);

}  // namespace pendra::tools::damo
