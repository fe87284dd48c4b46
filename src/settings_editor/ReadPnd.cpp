#include "settings_editor/ReadPnd.h"

#include "common/Registry.h"
#include "common/failure.h"
#include "platform/paths.h"
#include "settings_editor/profiles.h"

namespace pendra::settings_editor::ReadPnd {

namespace {

using profiles::ReadProfileValue;
using settings_editor::Context;

const QString kWordAppPath =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Winword.exe");

// The edit flow takes a component switch as on only when it reads exactly so.
bool switchedOn(const QString& value) {
    return value == QLatin1String("Ja") || value == QLatin1String("ja");
}

void put(const QString& file, const char* section, const char* key, const QString& value) {
    profiles::writeProfileValueOrThrow(file, QString::fromLatin1(section), QString::fromLatin1(key),
                                       value);
}

QString below(const QString& folder, const char* name) {
    return platform::joinPath(folder, QString::fromLatin1(name));
}

}  // namespace

void InitSettings(const Context& context, PendraIniFields& fields) {
    const QString folder = context.workingFolder();
    if (folder.isEmpty()) {
        context.messages.show(QStringLiteral("Fehler beim Ermitteln des des Current-Direktorries"));
        return;
    }
    const QString file = settings_editor::settingsFile(folder);
    try {
        fields.AnwPfad = folder;
        put(file, "Pendra_Path", "Pendra", folder);

        // The field and the file differ on purpose until the user accepts the form.
        fields.AnwName = QStringLiteral("Pendra_mde");
        put(file, "Pendra_Path", "Anwendung", QStringLiteral("Pendra_mdb"));

        fields.dbPath = below(folder, "Tabellen");
        put(file, "Pendra_Path", "db", fields.dbPath);

        fields.DbName = QStringLiteral("Pendra_db");
        put(file, "Pendra_Path", "DbName", QStringLiteral("Pendra_db"));

        // The currency field stays empty while the file holds "0".
        fields.DatevPath = below(folder, "Datev");
        fields.WKen.clear();
        put(file, "Datev", "Datev", QStringLiteral("Nein"));
        put(file, "Datev", "datev_Path", fields.DatevPath);
        put(file, "Datev", "Wken", QStringLiteral("0"));

        fields.HomePrg.clear();
        put(file, "Online", "Online", QStringLiteral("Nein"));
        put(file, "Online", "Prog", QString());

        fields.TmpPath = below(folder, "tmp");
        put(file, "tmp_Path", "tmp", fields.TmpPath);

        fields.OfficePath = common::Registry::ReadRegValue(kWordAppPath, QStringLiteral("Path"));
        put(file, "Office", "word", fields.OfficePath);

        fields.Vorlagen = below(folder, "Vorlagen");
        put(file, "Vorlagen", "Path", fields.Vorlagen);

        fields.FaxPath = below(folder, "Vorlagen");
        put(file, "Vorlagen", "fax", fields.FaxPath);

        fields.BriefPath = below(folder, "Vorlagen");
        put(file, "Vorlagen", "brief", fields.BriefPath);

        fields.EDIPath = below(folder, "EDI");
        put(file, "EDI", "RePath", fields.EDIPath);
    } catch (const Failure& failure) {
        context.messages.show(failure.message());
    }
}

void ReadSettings(const Context& context, PendraIniFields& fields) {
    const QString folder = context.workingFolder();
    if (folder.isEmpty()) {
        context.messages.show(QStringLiteral("Fehler beim Ermitteln des win-Direktories"));
        return;
    }
    const QString file = settings_editor::settingsFile(folder);
    ui::MessageSink& messages = context.messages;
    const auto read = [&](const char* section, const char* key) {
        return ReadProfileValue(messages, file, QString::fromLatin1(section),
                                QString::fromLatin1(key));
    };

    fields.Label = read("LABEL", "Firma");
    fields.AnwPfad = read("Pendra_Path", "Pendra");
    fields.AnwName = read("Pendra_Path", "Anwendung");
    fields.dbPath = read("Pendra_Path", "db");
    fields.DbName = read("Pendra_Path", "DbName");

    if (switchedOn(read("Datev", "Datev"))) {
        fields.DatevPath = read("Datev", "datev_Path");
        fields.WKen = read("Datev", "Wken");
    }
    if (switchedOn(read("Online", "Online"))) {
        fields.HomePrg = read("Online", "Prog");
    }

    fields.TmpPath = read("tmp_Path", "tmp");
    fields.OfficePath = read("office", "word");
    fields.Vorlagen = read("Vorlagen", "Path");
    fields.FaxPath = read("Vorlagen", "fax");
    fields.BriefPath = read("Vorlagen", "brief");
    fields.EDIPath = read("EDI", "RePath");
}

bool acceptSettings(const Context& context, const PendraIniFields& fields) {
    const QString folder = context.workingFolder();
    if (folder.isEmpty()) {
        context.messages.show(QStringLiteral("Fehler beim Ermitteln des Current-Directories"));
        return true;
    }
    const QString file = settings_editor::settingsFile(folder);
    const QString on = QStringLiteral("Ja");
    try {
        put(file, "LABEL", "Firma", fields.Label);
        put(file, "Pendra_Path", "Pendra", fields.AnwPfad);
        put(file, "Pendra_Path", "Anwendung", fields.AnwName);
        put(file, "Pendra_Path", "Db", fields.dbPath);
        put(file, "Pendra_Path", "DbName", fields.DbName);
        put(file, "Datev", "datev_Path", fields.DatevPath);
        put(file, "Datev", "datev", on);
        put(file, "Datev", "Wken", fields.WKen);
        put(file, "tmp_Path", "tmp", fields.TmpPath);
        put(file, "office", "word", fields.OfficePath);
        put(file, "Vorlagen", "Path", fields.Vorlagen);
        put(file, "Vorlagen", "fax", fields.FaxPath);
        put(file, "Vorlagen", "brief", fields.BriefPath);
        put(file, "Online", "Prog", fields.HomePrg);
        put(file, "online", "online", on);
        put(file, "EDI", "RePath", fields.EDIPath);
    } catch (const Failure& failure) {
        context.messages.show(failure.message());
        return false;
    }
    context.messages.show(QStringLiteral("Daten wurden in die Datei Pendra.ini übernommen"));
    return true;
}

}  // namespace pendra::settings_editor::ReadPnd
