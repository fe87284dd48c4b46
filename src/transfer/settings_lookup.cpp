#include "transfer/settings_lookup.h"

#include "common/PrivateProfile.h"
#include "platform/paths.h"

namespace pendra::transfer {

QString readWindowsPendraIni(CommandRun& run, const QString& section, const QString& key) {
    QString file = QStringLiteral("Pendra.ini");
    return common::PrivateProfile::ReadIniValue(run.messages(), section, key, file);
}

QString damoIniFile(const QString& datevFolder) {
    return platform::joinPath(datevFolder, QStringLiteral("damo32.ini"));
}

void stopRun(CommandRun& run, std::initializer_list<QString> messages) {
    for (const QString& message : messages) {
        run.messages().show(message);
    }
    run.markStopped();
}

}  // namespace pendra::transfer
