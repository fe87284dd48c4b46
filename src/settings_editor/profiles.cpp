#include "settings_editor/profiles.h"

#include "common/failure.h"
#include "platform/profile.h"

namespace pendra::settings_editor::profiles {

namespace {
constexpr int kBufferChars = 255;
constexpr int kReadSize = 250;
}  // namespace

QString ReadProfileValue(ui::MessageSink& messages, const QString& filePath, const QString& section,
                         const QString& key) {
    if (filePath.isEmpty()) {
        // "Peindra" is the message's spelling that users know; keep it.
        messages.show(
            QStringLiteral("Pfad und Name der Peindra.ini konnten nicht gefunden werden"));
        return {};
    }
    // The default of blanks comes back as the empty text: the reader drops trailing blanks.
    return platform::getPrivateProfileString(section, key, QString(kBufferChars, QLatin1Char(' ')),
                                             kReadSize, filePath);
}

void writeProfileValueOrThrow(const QString& filePath, const QString& section, const QString& key,
                              const QString& value) {
    if (!platform::writePrivateProfileString(section, key, value, filePath)) {
        throw Failure(QStringLiteral("In die Datei \"%1\" kann nicht geschrieben werden. "
                                     "Die Änderungen wurden nicht vollständig gespeichert.")
                          .arg(filePath));
    }
}

}  // namespace pendra::settings_editor::profiles
