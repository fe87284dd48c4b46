#include "transfer/CreateQuery.h"

#include "common/FileFkt.h"
#include "common/PrivateProfile.h"
#include "platform/paths.h"
#include "transfer/DBConnect.h"
#include "transfer/RunDamo.h"
#include "transfer/pending_handover.h"
#include "transfer/settings_lookup.h"
#include "transfer/text_checks.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <array>
#include <optional>

namespace pendra::transfer::CreateQuery {

namespace {

using DBConnect::Mode;

const QString kSemicolon = QStringLiteral(";");
const QString kDiskette = QStringLiteral(
    "Bitte legen Sie eine Diskette ins Laufwerk A:, da die Daten auf A: ausgespielt werden");

bool asksForDiskette(const QString& outputPath) {
    return outputPath.startsWith(QLatin1Char('A')) || outputPath.startsWith(QLatin1Char('a'));
}

// The checks every export makes first: DATEV folder, diskette prompt, temporary folder and
// application path. Returns the temporary folder, or nothing when the export has to stop.
std::optional<QString> checkSettings(CommandRun& run, const QStringList& missingTmp,
                                     const QStringList& missingApplication) {
    const QString datev = datevProgramFolder(run);
    if (datev.isEmpty()) {
        stopRun(run,
                {QStringLiteral("Datev_Path in der {windir}\\Pendra.ini nicht gefunden"),
                 QStringLiteral("Bitte eintragen: [Datev] und datev={Pfad der Datei Damo.ini}")});
        return std::nullopt;
    }
    QString damo = damoIniFile(datev);
    const QString output = common::PrivateProfile::ReadIniValue(
        run.messages(), QStringLiteral("Einstellungen"), QStringLiteral("Ausgabepfad"), damo);
    if (asksForDiskette(output) && !run.messages().askOkCancel(kDiskette)) {
        run.markStopped();
        return std::nullopt;
    }
    const QString tmp = tempFolder(run);
    if (tmp.isEmpty()) {
        for (const QString& message : missingTmp) {
            run.messages().show(message);
        }
        run.markStopped();
        return std::nullopt;
    }
    if (applicationPath(run).isEmpty()) {
        for (const QString& message : missingApplication) {
            run.messages().show(message);
        }
        run.markStopped();
        return std::nullopt;
    }
    return tmp;
}

const QStringList kMissingTmp = {
    QStringLiteral("TMP_Path in der {windir}\\Pendra.ini nicht gefunden"),
    QStringLiteral("Bitte eintragen: [tmp_Path] und tmp={Pfad der Temporaerdateien}")};

}  // namespace

PendingFile masterDataFile() {
    return {QStringLiteral("OPOS-ST-OBE"), QStringLiteral("OPOS"), QStringLiteral("OPOS-ST-OBE")};
}

PendingFile accountLabelsFile() {
    return {QStringLiteral("FIBU-ST-OBE"), QStringLiteral("FBOP"), QStringLiteral("FIBU-ST-OBE")};
}

namespace {

// ---- bookings ------------------------------------------------------------------------------

// The filter texts differ in small ways between the categories (a leading blank, the spacing
// around the year); they are kept word for word.
struct BankCategory {
    const char* view;
    const char* accountColumn;  // the column that holds the bank account
    const char* selectLead;     // the filter's first word, with or without a leading blank
    const char* markYear;       // the marking filter's year test
    const char* markAccount;    // the marking filter's account test
};

constexpr std::array<BankCategory, 4> kBankCategories = {{
    {"Datev_Ueberw", "Ausdr8", " where", " and Ausdr5=", " and Ausdr8 ='"},
    {"Datev_Kreditor_bank", "Konto", "where", " and Ausdr5=", " and Konto ='"},
    {"Datev_Zahlungen", "Ausdr8", "where", " and Ausdr5= ", "  and Ausdr8 ='"},
    {"Datev_Gutschriften_bank", "Ausdr8", "where", " and Ausdr5=", " and Ausdr8 ='"},
}};

struct OtherCategory {
    const char* view;
    const char* file;        // without ".txt"
    const char* bookedTest;  // the selection's test for "not yet transferred"
    const char* selectLead;
    const char* messageEnd;
};

constexpr std::array<OtherCategory, 4> kOtherCategories = {{
    {"Datev_kasse", "FIBU-BW.Kasse", "(Bu_kz <> 'B' or Bu_kz Is Null)", "where",
     " Kassenbelege ausgespielt und in der Datenbank als gebucht gekennzeichnet"},
    {"Datev_Kreditor", "FIBU-BW.Waren", "(Bu_kz_kr <> 'B' or Bu_kz_kr Is Null)", "where",
     " Kreditoren-Rechnungen ausgespielt und in der Datenbank als gebucht gekennzeichnet"},
    {"Datev_Rechnungen", "FIBU-BW.Erloese",
     "(Bu_kz <> 'B' or Bu_kz Is Null) and (storno Is Null or storno = 'Nein')", "where",
     " Rechnungen ausgespielt und in der Datenbank als gebucht gekennzeichnet"},
    {"Datev_Gutschriften", "FIBU-BW.Gut", "(Bu_kz <> 'B' or Bu_kz Is Null)", " where",
     " Gutschriften ausgespielt und in der Datenbank als gebucht gekennzeichnet"},
}};

QString sqlLiteral(QString text) {
    return text.replace(QLatin1Char('\''), QLatin1String("''"));
}

// The month of a period code such as 103 or 1226.
QString monthOf(const QString& period) {
    return period.left(period.size() < 4 ? 1 : 2);
}

QString periodCode(int month, const QString& shortYear) {
    const QString monthText =
        month < 10 ? QStringLiteral("0%1").arg(month) : QString::number(month);
    return monthText + (shortYear.size() == 1 ? QStringLiteral("0") + shortYear : shortYear);
}

QString bankFilter(const BankCategory& c, const QString& code, const QString& year,
                   const QString& account) {
    return QLatin1String(c.selectLead) + QStringLiteral(" KorrKz > 0 or (Ausdr3 = ") + code +
           QStringLiteral(" and (Bu_kz <> 'B' or Bu_kz Is Null) and Ausdr5=") + year +
           QStringLiteral(" and ") + QLatin1String(c.accountColumn) + QStringLiteral(" = '") +
           sqlLiteral(account) + QStringLiteral("')");
}

QString bankMarkFilter(const BankCategory& c, const QString& code, const QString& year,
                       const QString& account) {
    return QStringLiteral(" where KorrKz > 0 or (Ausdr3 = ") + code + QLatin1String(c.markYear) +
           year + QLatin1String(c.markAccount) + sqlLiteral(account) + QStringLiteral("')");
}

QString otherFilter(const OtherCategory& c, const QString& shortYear, const QString& year) {
    return QLatin1String(c.selectLead) + QStringLiteral(" KorrKz > 0 or (Ausdr6 = ") + shortYear +
           QStringLiteral(" and ") + QLatin1String(c.bookedTest) + QStringLiteral(" and Ausdr5=") +
           year + QStringLiteral(")");
}

QString otherMarkFilter(const QString& shortYear, const QString& year) {
    return QStringLiteral(" where KorrKz > 0 or (Ausdr6 = ") + shortYear +
           QStringLiteral(" and Ausdr5=") + year + QStringLiteral(")");
}

// A bank account becomes part of a file name; it must not lead out of the temporary folder.
bool usableInFileName(const QString& account) {
    return !account.contains(QLatin1Char('/')) && !account.contains(QLatin1Char('\\')) &&
           !account.contains(QLatin1String(".."));
}

// The bank accounts: column 1 of every record of "AuswahlBankkonten", counted in the list of
// non-empty values. Positions beyond the list's end are left out.
QStringList bankAccounts() {
    QString values;
    const int records = DBConnect::CollectValues(QStringLiteral("AuswahlBankkonten"), 3, QString(),
                                                 kSemicolon, values);
    const QStringList list = values.split(kSemicolon);
    QStringList accounts;
    for (int r = 0; r < records; ++r) {
        const qsizetype position = 1 + 3 * static_cast<qsizetype>(r);
        if (position < list.size() - 1) {
            accounts.append(list[position]);
        }
    }
    return accounts;
}

// The exports of one command into one interface file. Characters the file cannot hold are
// counted over all of them and named to the user once, with the total, rather than lost
// unnoticed. Until the file is handed over, a marker tells a later run that it holds marked
// records, should this run not get that far.
class InterfaceFileExport {
public:
    InterfaceFileExport(CommandRun& run, const QString& tmp, const PendingFile& pending)
        : run_(run),
          tmp_(tmp),
          baseName_(pending.baseName),
          file_(platform::joinPath(tmp, pending.baseName + QStringLiteral(".txt"))),
          marker_(tmp, pending) {}

    const QString& file() const { return file_; }

    // Writes the view's records into the file and returns how many.
    int add(const QString& view, int columns, const QString& filter, const QString& separator,
            Mode mode) {
        const auto result = DBConnect::ExportRecords(view, file_, columns, filter, separator, mode,
                                                     run_.progress());
        replaced_ += result.replacedCharacters;
        last_ = {view, filter, result.records};
        return result.records;
    }

    // Marks the records of the last export; the marker knows of them first.
    void markBooked(const QString& markFilter) {
        marker_.beforeMarking(QFileInfo(file_).size(),
                              {last_.records, last_.view, last_.filter, markFilter});
        DBConnect::MarkBooked(last_.view, markFilter);
        marker_.afterMarking();
    }

    // A hand-over that stopped for want of a DATEV folder leaves the marker for a later run.
    void handedOver() {
        if (!run_.stopped()) {
            clearPending(tmp_, baseName_);
        }
    }

    void reportReplaced() const {
        if (replaced_ > 0) {
            run_.messages().show(QStringLiteral("In der Datei „%1“ wurden %2 Zeichen, die der "
                                                "DATEV-Zeichensatz (Windows-1252) nicht kennt, "
                                                "durch „?“ ersetzt.")
                                     .arg(file_)
                                     .arg(replaced_),
                                 {}, ui::Icon::Warning);
        }
    }

private:
    struct Export {
        QString view;
        QString filter;
        int records = 0;
    };

    CommandRun& run_;
    QString tmp_;
    QString baseName_;
    QString file_;
    PendingMarker marker_;
    Export last_;
    int replaced_ = 0;
};

const QString kBookingsType = QStringLiteral("FBOP");
const QString kBookingsFormat = QStringLiteral("FBOP-BW-OBE");

// The open booking months from BuchMin to BuchMax of "Update_DB", in the run's year.
struct BookingPeriod {
    QString businessYear;
    QString shortYear;
    int firstMonth = 0;
    int lastMonth = 0;
};

// Reads the open period; nothing, after telling the user, when it is missing or no numbers.
std::optional<BookingPeriod> openPeriod(CommandRun& run, const QString& businessYear,
                                        const QString& shortYear) {
    QString first;
    QString last;
    DBConnect::LookupValue(QStringLiteral("Update_DB"), 5, QString(), QStringLiteral("BuchMin"),
                           first);
    DBConnect::LookupValue(QStringLiteral("Update_DB"), 5, QString(), QStringLiteral("BuchMax"),
                           last);
    if (first.isEmpty() || last.isEmpty()) {
        stopRun(run, {QStringLiteral("Der erste und der letzte offene Buchungszeitraum "
                                     "(BuchMin, BuchMax) fehlen in der Datenbank. "
                                     "Ausspielung ist abgebrochen.")});
        return std::nullopt;
    }
    if (!isWholeNumber(monthOf(first)) || !isWholeNumber(monthOf(last))) {
        stopRun(run, {QStringLiteral("Die offenen Buchungszeiträume „%1“ bis „%2“ sind "
                                     "ungültig; erwartet werden ganze Zahlen. "
                                     "Ausspielung ist abgebrochen.")
                          .arg(first, last)});
        return std::nullopt;
    }
    return BookingPeriod{businessYear, shortYear, monthOf(first).toInt(), monthOf(last).toInt()};
}

// Whether every account can be part of a file name; stops the run at the first that cannot.
bool accountsUsableInFileNames(CommandRun& run, const QStringList& accounts) {
    for (const QString& account : accounts) {
        if (!usableInFileName(account)) {
            stopRun(run, {QStringLiteral("Das Bankkonto „%1“ kann nicht Teil eines "
                                         "Dateinamens sein (es enthält „/“, „\\“ oder „..“). "
                                         "Ausspielung ist abgebrochen.")
                              .arg(account)});
            return false;
        }
    }
    return true;
}

// Appends one bank category's records of one account and month to the file and marks them.
int exportBankCategory(InterfaceFileExport& file, const BankCategory& category, const QString& code,
                       const QString& year, const QString& account) {
    const QString view = QLatin1String(category.view);
    const int written =
        file.add(view, 14, bankFilter(category, code, year, account), kSemicolon, Mode::Append);
    if (written > 0) {
        file.markBooked(bankMarkFilter(category, code, year, account));
    }
    return written;
}

// Exports the four bank categories of one account, month after month, into one file and
// hands it to DATEV. Returns the number of records written.
int exportBankAccount(CommandRun& run, const QString& tmp, const BookingPeriod& period,
                      const QString& account) {
    const QString baseName = QStringLiteral("FIBU-BW.") + account;
    InterfaceFileExport fileExport(run, tmp, {baseName, kBookingsType, kBookingsFormat});
    common::FileFkt::CreateEmptyTextFile(fileExport.file());
    int written = 0;
    for (int month = period.firstMonth; month <= period.lastMonth; ++month) {
        const QString code = periodCode(month, period.shortYear);
        for (const BankCategory& category : kBankCategories) {
            written += exportBankCategory(fileExport, category, code, period.businessYear, account);
        }
    }
    fileExport.reportReplaced();
    if (written > 0) {
        // Here the count is shown between the two DATEV programs, not before both.
        RunDamo::RunPutSelf(run, baseName + QStringLiteral(".txt"), kBookingsType);
        run.messages().show(QStringLiteral("Es wurden %1 Bankbewegungen des Bankkontos %2 "
                                           "ausgespielt und in der Datenbank als gebucht "
                                           "gekennzeichnet")
                                .arg(written)
                                .arg(account));
        RunDamo::RunConverter(run, platform::joinPath(tmp, baseName), kBookingsFormat);
        fileExport.handedOver();
    }
    return written;
}

// Exports one of the other categories into its own file, marks it and hands it to DATEV.
// Returns the number of records written.
int exportOtherCategory(CommandRun& run, const QString& tmp, const BookingPeriod& period,
                        const OtherCategory& category) {
    const QString view = QLatin1String(category.view);
    const QString baseName = QLatin1String(category.file);
    InterfaceFileExport file(run, tmp, {baseName, kBookingsType, kBookingsFormat});
    const int written =
        file.add(view, 14, otherFilter(category, period.shortYear, period.businessYear), kSemicolon,
                 Mode::NewFile);
    file.reportReplaced();
    if (written > 0) {
        run.messages().show(QStringLiteral("Es wurden %1").arg(written) +
                            QLatin1String(category.messageEnd));
        file.markBooked(otherMarkFilter(period.shortYear, period.businessYear));
        RunDamo::handToDatev(run, tmp, baseName, kBookingsType, kBookingsFormat);
        file.handedOver();
    }
    return written;
}

void showBookingsTotal(CommandRun& run, int total) {
    const QString closing =
        total != 0 ? QStringLiteral(
                         "Es wurden insgesamt %1 Buchungssätze ausgespielt und in der "
                         "Datenbank als gebucht gekennzeichnet; Ausspielung ist beendet!")
                         .arg(total)
                   : QStringLiteral("Keine Buchungsdaten vorhanden;Ausspielung ist beendet!");
    run.messages().show(closing, QStringLiteral("Pendra"), ui::Icon::Warning);
}

}  // namespace

void RunBookingExport(CommandRun& run, const QString& businessYear, const QString& shortYear,
                      const QString& startDate, const QString& endDate) {
    const QString datev = datevProgramFolder(run);
    // Without a DATEV folder the header would land in a file at the file-system root; the
    // booking export reports the missing folder.
    if (!datev.isEmpty()) {
        const QString damo = damoIniFile(datev);
        const QString section = QStringLiteral("DATEV-Vorlauf");
        common::PrivateProfile::WriteIniValue(section, QStringLiteral("Datum-von"), startDate,
                                              damo);
        common::PrivateProfile::WriteIniValue(section, QStringLiteral("Datum-bis"), endDate, damo);
        common::PrivateProfile::WriteIniValue(section, QStringLiteral("Wirtschaftsjahr"),
                                              businessYear, damo);
    }
    ExportBookings(run, businessYear, shortYear);
}

int ExportBookings(CommandRun& run, const QString& businessYear, const QString& shortYear) {
    const auto tmp = checkSettings(
        run, kMissingTmp,
        {QStringLiteral("Name der Applikation in der {windir}\\Pendra.ini nicht gefunden"),
         QStringLiteral(
             "Bitte eintragen: [Pendra_Path] und Pendra={Pfad und Name der Applikation}")});
    if (!tmp) {
        return 0;
    }
    handOverLeftovers(run, *tmp, QStringLiteral("FIBU-BW."));
    const auto period = openPeriod(run, businessYear, shortYear);
    if (!period) {
        return 0;
    }
    const QStringList accounts = bankAccounts();
    if (!accountsUsableInFileNames(run, accounts)) {
        return 0;
    }
    int total = 0;
    for (const QString& account : accounts) {
        total += exportBankAccount(run, *tmp, *period, account);
    }
    for (const OtherCategory& category : kOtherCategories) {
        total += exportOtherCategory(run, *tmp, *period, category);
    }
    showBookingsTotal(run, total);
    return total;
}

int ExportMasterData(CommandRun& run) {
    const auto tmp = checkSettings(
        run,
        {QStringLiteral(
            "TMP_Path in der Datei {windir}\\Pendra.ini nicht gefunden. Bitte eintragen")},
        {QStringLiteral("Name der Applikation in der Datei {windir}\\Pendra.ini nicht gefunden. "
                        "Bitte eintragen")});
    if (!tmp) {
        return 0;
    }
    const QString view = QStringLiteral("OPOS-ST-KNE");
    const QString filter = QStringLiteral(" where BuKz = 0 or AendKen = 2");
    InterfaceFileExport file(run, *tmp, masterDataFile());
    const int written = file.add(view, 8, filter, QStringLiteral("@"), Mode::NewFile);
    file.reportReplaced();
    if (written == 0) {
        run.messages().show(QStringLiteral("Keine neuen Stammdaten vorhanden;"));
        return 0;
    }
    file.markBooked(filter);
    run.messages().show(
        QStringLiteral("Es wurden %1 Stammdaten ausgespielt und als gebucht gekennzeichnet")
            .arg(written));
    return written;
}

int ExportAccountLabels(CommandRun& run) {
    const auto tmp = checkSettings(
        run, kMissingTmp,
        {QStringLiteral("Path und Name der Applikation in der {windir}\\Pendra.ini nicht gefunden"),
         QStringLiteral(
             "Bitte eintragen: [Pendra_Path] und Pendra={Pfad und Name der Applikation}")});
    if (!tmp) {
        return 0;
    }
    handOverLeftovers(run, *tmp, accountLabelsFile().baseName);
    InterfaceFileExport file(run, *tmp, accountLabelsFile());
    const QString filter = QStringLiteral(" where BuKz = 0 or KorrKz > 0");
    const QString firstView = QStringLiteral("FIBU-ST-KNE");
    const int first = file.add(firstView, 2, filter, kSemicolon, Mode::NewFile);
    if (first > 0) {
        file.markBooked(filter);
    }
    const QString secondView = QStringLiteral("FIBU-ST-KREDIT");
    const int total = first + file.add(secondView, 2, filter, kSemicolon, Mode::Append);
    file.reportReplaced();
    if (total == 0) {
        // "neunen" is the message as users know it; keep it.
        run.messages().show(QStringLiteral("Keine neunen Kontenbeschriftungen vorhanden;"));
        return 0;
    }
    file.markBooked(filter);
    run.messages().show(QStringLiteral("Es wurden %1 Kontenbeschriftungen ausgespielt").arg(total));
    return total;
}

}  // namespace pendra::transfer::CreateQuery
