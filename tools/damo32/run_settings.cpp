#include "tools/damo32/run_settings.h"

#include "platform/profile.h"

#include <QStringList>

#include <utility>

namespace pendra::tools::damo {

namespace {

const QString kSettings = QStringLiteral("Einstellungen");
const QString kHeader = QStringLiteral("DATEV-Vorlauf");

QString setting(const QString& ini, const QString& section, const QString& key) {
    return platform::getPrivateProfileString(section, key, QString(), 1024, ini);
}

QDate periodDate(const QString& text) {
    return QDate::fromString(text, QStringLiteral("ddMMyyyy"));
}

}  // namespace

RunSettings readRunSettings(const QString& ini) {
    RunSettings run;
    run.input = setting(ini, kSettings, QStringLiteral("Eingabedatei"));
    run.formatName = setting(ini, kSettings, QStringLiteral("Formatname"));
    run.outputFolder = setting(ini, kSettings, QStringLiteral("Ausgabepfad"));
    run.protocolFile = setting(ini, kSettings, QStringLiteral("Protokolldatei"));
    run.adviser = setting(ini, kHeader, QStringLiteral("Berater"));
    run.client = setting(ini, kHeader, QStringLiteral("Mandant"));
    run.businessYear = setting(ini, kHeader, QStringLiteral("Wirtschaftsjahr"));
    run.periodFrom = periodDate(setting(ini, kHeader, QStringLiteral("Datum-von")));
    run.periodTo = periodDate(setting(ini, kHeader, QStringLiteral("Datum-bis")));
    bool isNumber = false;
    const int length = setting(ini, kSettings, QStringLiteral("Sachkontenlaenge")).toInt(&isNumber);
    if (isNumber) {
        run.accountLength = length;
    }
    return run;
}

QStringList settingLines(const QString& ini) {
    QStringList lines;
    for (const auto& [section, key] : {std::pair{kSettings, QStringLiteral("Eingabedatei")},
                                       std::pair{kSettings, QStringLiteral("Formatname")},
                                       std::pair{kSettings, QStringLiteral("Eingabeformat")},
                                       std::pair{kSettings, QStringLiteral("Ausgabeformat")},
                                       std::pair{kSettings, QStringLiteral("Ausgabepfad")},
                                       std::pair{kSettings, QStringLiteral("Protokolldatei")},
                                       std::pair{kHeader, QStringLiteral("Berater")},
                                       std::pair{kHeader, QStringLiteral("Mandant")},
                                       std::pair{kHeader, QStringLiteral("Wirtschaftsjahr")},
                                       std::pair{kHeader, QStringLiteral("Datum-von")},
                                       std::pair{kHeader, QStringLiteral("Datum-bis")}}) {
        lines.append(key + u'=' + setting(ini, section, key));
    }
    return lines;
}

QDate businessYearStart(const RunSettings& settings, int fallbackYear) {
    if (!settings.periodFrom.isValid()) {
        return QDate(fallbackYear, 1, 1);
    }
    bool isNumber = false;
    const int year = settings.businessYear.toInt(&isNumber);
    return QDate(isNumber ? year : settings.periodFrom.year(), settings.periodFrom.month(),
                 settings.periodFrom.day());
}

}  // namespace pendra::tools::damo
