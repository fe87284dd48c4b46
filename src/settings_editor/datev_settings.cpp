#include "settings_editor/datev_settings.h"

#include "common/failure.h"
#include "platform/paths.h"
#include "settings_editor/profiles.h"

namespace pendra::settings_editor {

namespace {

using profiles::ReadProfileValue;
using profiles::writeProfileValueOrThrow;
using settings_editor::Context;

const QString kSettingsMissing = QStringLiteral("Fehler beim Ermitteln der Datei Pendra.ini");

// Names the missing folder and what it means for the form.
QString noDatevFolder(const char* consequence) {
    return QStringLiteral(
               "Das Datev-Verzeichnis ist in der Datei Pendra.ini nicht eingetragen. "
               "Bitte unter Pendra / Bearbeiten den Pfad der "
               "Datev-Schnittstellen-Programme eintragen.\n") +
           QString::fromUtf8(consequence);
}

bool isSwitchValue(const QString& value) {
    return value.compare(QLatin1String("Ja"), Qt::CaseInsensitive) == 0 ||
           value.compare(QLatin1String("Nein"), Qt::CaseInsensitive) == 0;
}

QString damoFile(const QString& datevFolder) {
    return platform::joinPath(datevFolder, QStringLiteral("Damo32.ini"));
}

}  // namespace

QString cutAtStop(const QString& value, const QString& stops) {
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (stops.contains(value.at(i))) {
            return value.left(i);
        }
    }
    return value;
}

QString damoFolder(ui::MessageSink& messages, const QString& settingsFile) {
    const QString folder =
        ReadProfileValue(messages, settingsFile, QStringLiteral("Datev"), QStringLiteral("datev"));
    if (!folder.isEmpty() && !isSwitchValue(folder)) {
        return folder;
    }
    return ReadProfileValue(messages, settingsFile, QStringLiteral("Datev"),
                            QStringLiteral("datev_Path"));
}

DatevFields loadDatev(const Context& context) {
    DatevFields fields;
    const QString folder = context.workingFolder();
    if (folder.isEmpty()) {
        context.messages.show(kSettingsMissing);
        return fields;
    }
    const QString settings = settings_editor::settingsFile(folder);
    const QString datevFolder = damoFolder(context.messages, settings);
    if (datevFolder.isEmpty()) {
        context.messages.show(noDatevFolder("Die Datei Damo32.ini wird nicht gelesen."));
    } else {
        const QString damo = damoFile(datevFolder);
        const auto readDamo = [&](const char* section, const char* key) {
            return ReadProfileValue(context.messages, damo, QString::fromLatin1(section),
                                    QString::fromLatin1(key));
        };
        // Damo32.ini may carry a comment behind a semicolon; the advisor number ends at a blank.
        fields.NrBerater = cutAtStop(readDamo("Datev-Vorlauf", "Berater"), QStringLiteral("; "));
        fields.NrMandant = cutAtStop(readDamo("Datev-Vorlauf", "Mandant"), QStringLiteral(";"));
        fields.AusgPath = cutAtStop(readDamo("Einstellungen", "Ausgabepfad"), QStringLiteral(";"));
    }
    fields.Waehrung = ReadProfileValue(context.messages, settings, QStringLiteral("Datev"),
                                       QStringLiteral("Wken"));
    return fields;
}

namespace {

void writeCurrency(const QString& settings, const DatevFields& fields) {
    writeProfileValueOrThrow(settings, QStringLiteral("Datev"), QStringLiteral("Wken"),
                             fields.Waehrung);
}

void writeDamo(const QString& datevFolder, const DatevFields& fields) {
    const QString damo = damoFile(datevFolder);
    writeProfileValueOrThrow(damo, QStringLiteral("Datev-Vorlauf"), QStringLiteral("Berater"),
                             fields.NrBerater);
    writeProfileValueOrThrow(damo, QStringLiteral("Datev-Vorlauf"), QStringLiteral("Mandant"),
                             fields.NrMandant);
    writeProfileValueOrThrow(damo, QStringLiteral("Einstellungen"), QStringLiteral("Ausgabepfad"),
                             fields.AusgPath);
}

}  // namespace

bool acceptDatev(const Context& context, const DatevFields& fields) {
    const QString folder = context.workingFolder();
    if (folder.isEmpty()) {
        context.messages.show(kSettingsMissing);
        return true;
    }
    const QString settings = settings_editor::settingsFile(folder);
    const QString datevFolder = damoFolder(context.messages, settings);
    try {
        if (datevFolder.isEmpty()) {
            // The currency code lives in Pendra.ini, which can take it all the same.
            writeCurrency(settings, fields);
            context.messages.show(noDatevFolder("Die Datei Damo32.ini wird nicht geschrieben."));
            return false;
        }
        writeDamo(datevFolder, fields);
        writeCurrency(settings, fields);
    } catch (const Failure& failure) {
        context.messages.show(failure.message());
        return false;
    }
    context.messages.show(QStringLiteral("Daten wurden in die Datei Damo32.ini übernommen"));
    return true;
}

}  // namespace pendra::settings_editor
