#include "transfer/KontoKorrect.h"

namespace pendra::transfer::KontoKorrect {

QString KorrKonto(const QString& account, const QString& key) {
    switch (account.size()) {
        case 4:
            return key + QLatin1String("00") + account;
        case 5:
            return key + QLatin1Char('0') + account;
        default:
            return key + account;
    }
}

}  // namespace pendra::transfer::KontoKorrect
