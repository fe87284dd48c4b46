#include "Settings.h"

#include "common/PrivateProfile.h"
#include "platform/paths.h"

namespace pendra::Settings {

QString ReadPendraIni(CommandRun& run, const QString& section, const QString& key) {
    QString file = QStringLiteral("Pendra.ini");
    return PrivateProfile::ReadIniValue(run.messages(), section, key, file);
}

QString DamoIni(const QString& datevFolder) {
    return platform::joinPath(datevFolder, QStringLiteral("damo32.ini"));
}

void Stop(CommandRun& run, std::initializer_list<QString> messages) {
    for (const QString& message : messages) {
        run.messages().show(message);
    }
    run.markStopped();
}

}  // namespace pendra::Settings
