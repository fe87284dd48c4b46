#pragma once

#include "tools/damo32/conversion.h"

namespace pendra::tools::damo {

// The protocol's lines after the run's settings: records read, every problem with line, field
// and value, where the file went, and last the counts.
QStringList protocolLines(const Conversion& conversion, const QString& outputFile);

}  // namespace pendra::tools::damo
