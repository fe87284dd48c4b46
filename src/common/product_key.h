#pragma once

#include <QString>

namespace pendra::common {

// The product's key below HKEY_LOCAL_MACHINE.
inline QString productKey() {
    return QStringLiteral("Software\\velmora systeme gmbh\\Pendra\\1.0");
}

}  // namespace pendra::common
