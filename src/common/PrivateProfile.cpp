#include "common/PrivateProfile.h"

#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/system_folders.h"

namespace pendra::common::PrivateProfile {

namespace {
constexpr int kBufferSize = 255;
}

QString ReadIniValue(ui::MessageSink& messages, const QString& section, const QString& key,
                     QString& fileName) {
    if (fileName == QLatin1String("Pendra.ini")) {
        const QString windowsFolder = platform::getWindowsDirectory(kBufferSize);
        if (windowsFolder.isEmpty()) {
            messages.show(QStringLiteral("Windir_Path nicht gefunden"));
            return {};
        }
        fileName = platform::joinPath(windowsFolder, QStringLiteral("Pendra.ini"));
    }
    const QString value = platform::getPrivateProfileString(
        section, key, QString(kBufferSize, QLatin1Char(' ')), kBufferSize, fileName);
    if (!value.isEmpty()) {
        return value;
    }
    messages.show(
        QStringLiteral("Path und Name der Applikation in der {windir}\\Pendra.ini nicht gefunden"));
    return {};
}

void WriteIniValue(const QString& section, const QString& key, const QString& value,
                   const QString& fileName) {
    platform::writePrivateProfileString(section, key, value, fileName);
}

}  // namespace pendra::common::PrivateProfile
