#pragma once

#include <QDate>
#include <QString>

namespace pendra::tools::damo {

// What one converter run takes from Damo32.ini.
struct RunSettings {
    QString input;          // "Eingabedatei", without ".txt"
    QString formatName;     // "Formatname"
    QString outputFolder;   // "Ausgabepfad"
    QString protocolFile;   // "Protokolldatei"
    QString adviser;        // "Berater"
    QString client;         // "Mandant"
    QString businessYear;   // "Wirtschaftsjahr"
    QDate periodFrom;       // "Datum-von" (DDMMYYYY); invalid when missing
    QDate periodTo;         // "Datum-bis"
    int accountLength = 4;  // length of the general-ledger accounts
};

RunSettings readRunSettings(const QString& ini);
// "key=value" for every key of the run, in the order the protocol shows them.
QStringList settingLines(const QString& ini);
// Start of the business year: the year of "Wirtschaftsjahr" with day and month of the period's
// start; 1 January of the given year when the settings hold no period.
QDate businessYearStart(const RunSettings& settings, int fallbackYear);

}  // namespace pendra::tools::damo
