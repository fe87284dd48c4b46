#pragma once

#include "tools/damo32/record_check.h"
#include "tools/damo32/run_settings.h"

namespace pendra::tools::damo {

// A master data line ("OPOS-ST-OBE", values separated by "@") as a "Debitoren/Kreditoren"
// record.
RecordCheck partnerRecord(const QString& line, int lineNumber, const RunSettings& settings);
// An account label line ("FIBU-ST-OBE") as a "Kontenbeschriftungen" record.
RecordCheck accountLabelRecord(const QString& line, int lineNumber, const RunSettings& settings);

}  // namespace pendra::tools::damo
