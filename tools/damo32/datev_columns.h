#pragma once

#include <QStringList>

namespace pendra::tools::damo {

// Column headings of the DATEV-Format categories, in field order (docs/decisions.md names the
// format versions they follow).
const QStringList& bookingColumns();       // "Buchungsstapel", 125 fields
const QStringList& partnerColumns();       // "Debitoren/Kreditoren", 254 fields
const QStringList& accountLabelColumns();  // "Kontenbeschriftungen", 4 fields

}  // namespace pendra::tools::damo
