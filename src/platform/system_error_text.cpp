#include "platform/system_error_text.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace pendra::platform {

namespace {

// The errors a file, folder or program start usually meets.
constexpr std::array<std::pair<int, const char*>, 20> kGermanTexts{{
    {EACCES, "Zugriff verweigert"},
    {EPERM, "Die Operation ist nicht erlaubt"},
    {ENOENT, "Datei oder Verzeichnis nicht gefunden"},
    {ENOTDIR, "Ein Teil des Pfades ist kein Verzeichnis"},
    {EISDIR, "Ist ein Verzeichnis"},
    {EEXIST, "Die Datei existiert bereits"},
    {ENOSPC, "Auf dem Datenträger ist kein Platz mehr frei"},
    {EDQUOT, "Das Speicherkontingent ist erschöpft"},
    {EFBIG, "Die Datei ist zu groß"},
    {EROFS, "Das Dateisystem ist schreibgeschützt"},
    {EIO, "Ein-/Ausgabefehler"},
    {EBUSY, "Das Gerät oder die Datei ist belegt"},
    {ETXTBSY, "Die Programmdatei ist in Benutzung"},
    {EMFILE, "Zu viele offene Dateien"},
    {ENFILE, "Zu viele offene Dateien im System"},
    {ENAMETOOLONG, "Der Dateiname ist zu lang"},
    {ELOOP, "Zu viele Ebenen symbolischer Verknüpfungen"},
    {ENOEXEC, "Die Datei ist kein ausführbares Programm"},
    {ENOMEM, "Nicht genügend Arbeitsspeicher"},
    {EINVAL, "Ungültiges Argument"},
}};

}  // namespace

QString germanSystemError(const QString& qtDescription) {
    for (const auto& [number, german] : kGermanTexts) {
        // Qt takes its description from the system in the current locale.
        if (qtDescription.contains(QString::fromLocal8Bit(std::strerror(number)),
                                   Qt::CaseInsensitive)) {
            return QString::fromUtf8(german);
        }
    }
    return QStringLiteral("unbekannter Systemfehler");
}

}  // namespace pendra::platform
