#pragma once

#include <QString>

namespace pendra::transfer::KontoKorrect {

// Puts the correction key in front of the account, widening a 4- or 5-digit account to six
// digits with leading zeros: ("1200", "40") -> "40001200".
QString KorrKonto(const QString& account, const QString& key);

}  // namespace pendra::transfer::KontoKorrect
