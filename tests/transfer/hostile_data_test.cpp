// Hostile contents of the accounting database, read through the real driver by the real
// commands: each gives a correct interface file or a German message naming what was wrong,
// never a record marked without its line and never a file outside the temporary folder.
#include "common/failure.h"
#include "support/demo_machine.h"
#include "transfer/commands.h"
#include "ui/recording_message_sink.h"

#include <QDirIterator>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>

using namespace pendra;
using namespace pendra::transfer;
using pendra::test::DemoMachine;

namespace {

struct Recorded {
    ui::RecordingMessageSink messages;
    CommandRun command{messages};
};

// Runs a command; returns the failure's message, or the empty text when it ended normally.
QString run(void (*command)(CommandRun&), Recorded& recorded) {
    try {
        command(recorded.command);
    } catch (const Failure& failure) {
        return failure.message();
    }
    return {};
}

// Runs "--batch buchungen" as its own process: the driver manager keeps the first data
// source it read for the life of a process, so each machine of a table needs one.
// Returns the exit code and the first line it printed on standard error, or else on output.
std::pair<int, QString> batchBookings() {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(PENDRA_TRANSFER),
                  {QStringLiteral("--batch"), QStringLiteral("buchungen")});
    process.closeWriteChannel();
    process.waitForFinished(60000);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    const QString said = err.isEmpty() ? QString::fromUtf8(process.readAllStandardOutput()) : err;
    return {process.exitCode(), said.section(u'\n', 0, 0)};
}

// Every file of the machine's folder, by its path inside it.
QSet<QString> filesOf(const DemoMachine& machine) {
    QSet<QString> files;
    const QString root = machine.path(QStringLiteral(".."));
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files.insert(QDir(root).relativeFilePath(it.next()));
    }
    return files;
}

// New files lie in the temporary folder or are the DATEV programs' or the database's own.
void expectNoFileOutsideTmp(const QSet<QString>& before, const QSet<QString>& after) {
    for (const QString& file : after - before) {
        EXPECT_TRUE(file.startsWith(QStringLiteral("machine/tmp/")) ||
                    file.startsWith(QStringLiteral("machine/Datev/")) ||
                    file.startsWith(QStringLiteral("machine/Pendra_db.sqlite-")))
            << "new file outside the temporary folder: " << file.toStdString();
    }
}

// The lines of every interface file of the temporary folder.
QList<QByteArray> interfaceLines(const DemoMachine& machine) {
    QList<QByteArray> lines;
    for (const QString& file : QDir(machine.tmpFolder()).entryList({QStringLiteral("*.txt")})) {
        for (const QByteArray& line : machine.readFile(QStringLiteral("tmp/") + file).split('\n')) {
            if (!line.isEmpty()) {
                lines.append(line);
            }
        }
    }
    return lines;
}

// Every booking marked as transferred has its line, recognised by its voucher, on disk.
void expectMarkedHaveLines(const DemoMachine& machine) {
    const QList<QByteArray> lines = interfaceLines(machine);
    const QStringList marked = machine.rows(
        QStringLiteral("select Beleg1 from Buchung where Bu_kz = 'B' or Bu_kz_kr = 'B'"));
    for (const QString& voucher : marked) {
        const QByteArray field = ";" + voucher.toUtf8() + ";";
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                [&](const QByteArray& line) { return line.contains(field); }))
            << "marked without its line: " << voucher.toStdString();
    }
}

const char* const kYear = R"(
    insert into Wirtschaftsjahr values (1, 2026, 26, '0101', '3112');
    insert into Bankkonto (Nr, Bezeichnung, Konto, IBAN) values (1, 'Sparkasse', '1200', 'DE01');
    insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Bankkonto, KorrKz) values
      ('Ueberw', 10, 'H', '4210', 'UE1', '2026-01-02', '1200', '1200', 0),
      ('Zahlungen', 20, 'S', '10001', 'ZA1', '2026-02-04', '1200', '1200', 0),
      ('kasse', 5, 'H', '4650', 'KB1', '2026-01-10', '1000', NULL, 0);
)";

QString repeated(const char* text, int times) {
    return QString::fromUtf8(text).repeated(times);
}

}  // namespace

TEST(HostileData, TextsNumbersAndDatesTheFileCanHoldAreWrittenByTheRulesAndAllMarked) {
    const DemoMachine machine;
    machine.exec(
        QStringLiteral("insert into Wirtschaftsjahr values (1, 2026, 26, '0101', '3112')"));
    // Cash bookings marked as corrections (KorrKz 1: selected whatever their date, no key).
    // Columns: Wert, Gegenkonto, Beleg1, Beleg2, Datum, Konto, Kost1, Kost2, Skbetr,
    // Buchungstext, Kurs.
    const struct {
        const char* what;
        QString values;
        QByteArray line;
    } rows[] = {
        {"apostrophes in every text column",
         QStringLiteral("5, '4''650', 'O''Neil', '''', '2026-01-02', '10''00', 'K''1', '''''', 0, "
                        "'Bistro ''Zum Hirsch''', '1''5'"),
         "500;4'650;H;O'Neil;';02.01.2026;10'00;K'1;'';0;Bistro 'Zum Hirsch';1'5;EUR;"},
        {"semicolons in every text column",
         QStringLiteral("5, '4;650', 'A;1', ';', '2026-01-02', '10;00', 'K;1', ';;', 0, "
                        "'Text; mit; Semikolon', '1;5'"),
         "500;4;650;H;A;1;;;02.01.2026;10;00;K;1;;;;0;Text; mit; Semikolon;1;5;EUR;"},
        {"at signs in every text column",
         QStringLiteral("5, '4@650', 'info@x', '@', '2026-01-02', '10@00', 'K@1', '@@', 0, "
                        "'a@b.de', '1@5'"),
         "500;4@650;H;info@x;@;02.01.2026;10@00;K@1;@@;0;a@b.de;1@5;EUR;"},
        {"line breaks inside values",
         QStringLiteral("5, '4930', 'L' || char(10) || '1', char(13) || char(10), '2026-01-02', "
                        "'1000', NULL, NULL, 0, 'Zeile 1' || char(13, 10) || 'Zeile 2' || "
                        "char(13) || 'Zeile 3' || char(10) || 'Ende', NULL"),
         "500;4930;H;L 1; ;02.01.2026;1000;;;0;Zeile 1 Zeile 2 Zeile 3 Ende;;EUR;"},
        {"10,000-character values across the driver's buffer sizes",
         QStringLiteral("5, '4930', '%1', '%2', '2026-01-02', '1000', '%3', NULL, 0, '%4', NULL")
             .arg(repeated("x", 10000), repeated("a", 254) + QStringLiteral("ä"),
                  repeated("b", 4094) + QStringLiteral("ä"), repeated("ä", 10000)),
         "500;4930;H;" + QByteArray(10000, 'x') + ";" + QByteArray(254, 'a') + "\xE4" +
             ";02.01.2026;1000;" + QByteArray(4094, 'b') + "\xE4;;0;" + QByteArray(10000, '\xE4') +
             ";;EUR;"},
        {"NULL in every column that may hold it",
         QStringLiteral("5, '4930', NULL, NULL, '2026-01-02', '1000', NULL, NULL, NULL, NULL, "
                        "NULL"),
         "500;4930;H;;;02.01.2026;1000;;;;EUR;"},
        {"dates before 1900",
         QStringLiteral("5, '4930', 'D1', NULL, '1899-12-31', '1000', NULL, NULL, 0, 'alt', NULL"),
         "500;4930;H;D1;;31.12.1899;1000;;;0;alt;;EUR;"},
        {"a date in the year 100",
         QStringLiteral("5, '4930', 'D2', NULL, '0100-03-01', '1000', NULL, NULL, 0, 'uralt', "
                        "NULL"),
         "500;4930;H;D2;;01.03.0100;1000;;;0;uralt;;EUR;"},
        {"amounts the driver gives with exponents",
         QStringLiteral("1e20, '4930', 'E1', NULL, '2026-01-02', '1000', NULL, NULL, 1e-7, "
                        "'Exponent', NULL"),
         "10000000000000000000000;4930;H;E1;;02.01.2026;1000;;;0;Exponent;;EUR;"},
    };
    for (const auto& row : rows) {
        machine.exec(QStringLiteral("insert into Buchung (Kategorie, SH, KorrKz, Wert, Gegenkonto, "
                                    "Beleg1, Beleg2, Datum, Konto, Kost1, Kost2, Skbetr, "
                                    "Buchungstext, Kurs) values ('kasse', 'H', 1, ") +
                     row.values + QStringLiteral(")"));
    }
    const QSet<QString> before = filesOf(machine);
    Recorded recorded;
    EXPECT_EQ(run(bookingsCommand, recorded), QString());
    EXPECT_TRUE(recorded.messages.texts().contains(
        QStringLiteral("Es wurden %1 Kassenbelege ausgespielt und in der Datenbank als gebucht "
                       "gekennzeichnet")
            .arg(std::size(rows))))
        << recorded.messages.texts().join(u'\n').toStdString();

    const QList<QByteArray> lines =
        machine.readFile(QStringLiteral("tmp/FIBU-BW.Kasse.txt")).split('\n');
    ASSERT_EQ(lines.size(), std::ssize(rows) + 1);  // the last CR LF ends the file
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(lines.count(row.line + "\r"), 1);
    }
    EXPECT_EQ(machine.rows(QStringLiteral("select count(*) from Buchung where Bu_kz = 'B' and "
                                          "KorrKz = 0")),
              QStringList{QString::number(std::size(rows))});
    expectNoFileOutsideTmp(before, filesOf(machine));
}

TEST(HostileData, ValuesTheFileCannotHoldStopTheRunNamingWhatWasWrong) {
    const QString accountRefused = QStringLiteral(
        "Das Bankkonto „%1“ kann nicht Teil eines Dateinamens sein (es enthält „/“, „\\“ oder "
        "„..“). Ausspielung ist abgebrochen.");
    const QString tenThousandOnes = repeated("1", 10000);
    // `message` is the failure's text, or the check's first message; `marked` the vouchers
    // marked afterwards. Each case starts from the small year above.
    const struct {
        const char* what;
        QString sql;
        QString message;
        QStringList marked;
    } cases[] = {
        {"letters in an amount",
         QStringLiteral("update Buchung set Skbetr = '12,5 EUR' where Beleg1 = 'KB1'"),
         QStringLiteral(
             "Der Betrag \"12,5 EUR\" in Spalte Skbetr der Sicht \"Datev_kasse\" ist keine Zahl."),
         {QStringLiteral("UE1"), QStringLiteral("ZA1")}},
        {"an exponent with letters",
         QStringLiteral("update Buchung set Wert = '1e5x' where Beleg1 = 'KB1'"),
         QStringLiteral(
             "Der Betrag \"1e5x\" in Spalte Wert der Sicht \"Datev_kasse\" ist keine Zahl."),
         {QStringLiteral("UE1"), QStringLiteral("ZA1")}},
        {"a 10,000-digit amount, which the database holds as infinity",
         QStringLiteral("update Buchung set Wert = '%1' where Beleg1 = 'KB1'").arg(tenThousandOnes),
         QStringLiteral(
             "Der Betrag \"Inf\" in Spalte Wert der Sicht \"Datev_kasse\" ist keine Zahl."),
         {QStringLiteral("UE1"), QStringLiteral("ZA1")}},
        {"a date after 9999",
         QStringLiteral("update Buchung set Datum = '10000-01-10', KorrKz = 1 "
                        "where Beleg1 = 'KB1'"),
         QStringLiteral("Das Datum \"10000-01-10\" in Spalte Datum der Sicht \"Datev_kasse\" ist "
                        "kein gültiges Datum (erwartet wird Jahr-Monat-Tag, Jahre 0000 bis 9999)."),
         {QStringLiteral("UE1"), QStringLiteral("ZA1")}},
        {"a 13th month",
         QStringLiteral("update Buchung set Datum = '2026-13-01', KorrKz = 1 "
                        "where Beleg1 = 'UE1'"),
         QStringLiteral("Das Datum \"2026-13-01\" in Spalte Datum der Sicht \"Datev_Ueberw\" ist "
                        "kein gültiges Datum (erwartet wird Jahr-Monat-Tag, Jahre 0000 bis 9999)."),
         {}},
        {"a semicolon in a bank's name",
         QStringLiteral("update Bankkonto set Bezeichnung = 'Sparkasse; Filiale 1200'"),
         QStringLiteral("Der Wert \"Sparkasse; Filiale 1200\" in Spalte Bezeichnung der Sicht "
                        "\"AuswahlBankkonten\" enthält das Trennzeichen \";\" und kann nicht "
                        "gelesen werden."),
         {}},
        {"a slash in a bank account",
         QStringLiteral("update Bankkonto set Konto = '12/00'; update Buchung set Bankkonto = "
                        "'12/00' where Bankkonto = '1200'"),
         accountRefused.arg(QStringLiteral("12/00")),
         {}},
        {"a backslash in a bank account",
         QStringLiteral("update Bankkonto set Konto = '..\\x'"),
         accountRefused.arg(QStringLiteral("..\\x")),
         {}},
        {"a bank account of 10,000 characters",
         QStringLiteral("update Bankkonto set Konto = '%1'").arg(tenThousandOnes),
         QStringLiteral("Die Datei \"%1/FIBU-BW.%2.txt\" kann nicht angelegt werden: Der "
                        "Dateiname ist zu lang"),
         {}},
        {"a missing booking view",
         QStringLiteral("drop view Datev_Zahlungen"),
         QStringLiteral("Datenbankfehler bei \"select * from [Datev_Zahlungen]where KorrKz > 0 or "
                        "(Ausdr3 = 0126 and (Bu_kz <> 'B' or Bu_kz Is Null) and Ausdr5=2026 and "
                        "Ausdr8 = '1200')\": [SQLite]no such table: Datev_Zahlungen (1)"),
         {QStringLiteral("UE1")}},
        {"a booking view with too few columns",
         QStringLiteral("drop view Datev_kasse; create view Datev_kasse as select Wert, KorrKz, "
                        "Gegenkonto, SH, Beleg1, Datum, Konto, Skbetr, Buchungstext, Waehrung "
                        "as Ausdr9, JahrKurz as Ausdr6, Jahr as Ausdr5, Bu_kz from Buchung "
                        "where Kategorie = 'kasse'"),
         QStringLiteral("Die Sicht \"Datev_kasse\" hat nur 13 Spalten; gelesen werden 14."),
         {QStringLiteral("UE1"), QStringLiteral("ZA1")}},
        {"a period view with too few columns",
         QStringLiteral("drop view Update_DB; create view Update_DB as select 1 as Nr, "
                        "126 as BuchMin"),
         QStringLiteral("Die Sicht \"Update_DB\" hat nur 2 Spalten; gelesen werden 5."),
         {}},
        {"NULL in every column of the export period",
         QStringLiteral("drop view Ausspielzeitraum; create view Ausspielzeitraum as select "
                        "NULL as Nr, NULL as Jahr, NULL as JahrKurz, NULL as Beginn, NULL as Ende"),
         QStringLiteral("Der Ausspielzeitraum (Wirtschaftsjahr, Jahr, erster und letzter Tag) ist "
                        "in der Datenbank nicht vollständig eingetragen. Ausspielung ist "
                        "abgebrochen."),
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const DemoMachine machine;
        machine.exec(QString::fromUtf8(kYear));
        machine.exec(c.sql);
        const QSet<QString> before = filesOf(machine);
        const auto [exitCode, message] = batchBookings();
        EXPECT_EQ(message, c.message.contains(QStringLiteral("%1"))
                               ? c.message.arg(machine.tmpFolder(), tenThousandOnes)
                               : c.message);
        EXPECT_TRUE(exitCode == 1 || exitCode == 3) << exitCode;  // a failure or a check
        EXPECT_EQ(machine.rows(QStringLiteral("select Beleg1 from Buchung where Bu_kz = 'B' or "
                                              "Bu_kz_kr = 'B' order by Beleg1")),
                  c.marked);
        expectMarkedHaveLines(machine);
        expectNoFileOutsideTmp(before, filesOf(machine));
    }
}

TEST(HostileData, ABookingWithNullInEveryColumnBecomesAnEmptyLineAndIsMarkedWithIt) {
    const DemoMachine machine;
    machine.exec(QString::fromUtf8(kYear));
    machine.exec(QStringLiteral(
        "drop view Datev_kasse; create view Datev_kasse as select NULL as Wert, NULL as KorrKz, "
        "NULL as Gegenkonto, NULL as SH, NULL as Beleg1, NULL as Beleg2, NULL as Datum, "
        "NULL as Konto, NULL as Kost1, NULL as Kost2, NULL as Skbetr, NULL as Buchungstext, "
        "NULL as Kurs, NULL as Ausdr9, Periode AS Ausdr3, Jahr AS Ausdr5, JahrKurz AS Ausdr6, "
        "Bu_kz, Id from Buchung where Kategorie = 'kasse';"
        "create trigger Datev_kasse_Markierung instead of update on Datev_kasse begin "
        "update Buchung set Bu_kz = NEW.Bu_kz where Id = OLD.Id; end"));
    Recorded recorded;
    EXPECT_EQ(run(bookingsCommand, recorded), QString());
    EXPECT_EQ(machine.readFile(QStringLiteral("tmp/FIBU-BW.Kasse.txt")), QByteArray("\r\n"));
    EXPECT_EQ(machine.rows(QStringLiteral("select Bu_kz from Buchung where Beleg1 = 'KB1'")),
              QStringList{QStringLiteral("B")});
}

TEST(HostileData, MasterDataWithTheSeparatorLineBreaksAndNullKeepOneLinePerPartner) {
    const DemoMachine machine;
    machine.exec(
        QStringLiteral(
            "insert into Partner (Konto, Art, Name, Zusatz, Strasse, PLZ, Ort, Telefon) values"
            " ('10001', 'D', 'a@b; O''Neil', '@', 'Weg' || char(13, 10) || '1', '5@8', 'Ort', "
            "NULL),"
            " ('10002', 'D', '%1', NULL, NULL, NULL, NULL, NULL)")
            .arg(repeated("ß", 10000)));
    const QSet<QString> before = filesOf(machine);
    Recorded recorded;
    EXPECT_EQ(run(masterDataCommand, recorded), QString());
    // The separator "@" inside a value is written as it is; Null values leave no field.
    EXPECT_EQ(machine.readFile(QStringLiteral("tmp/OPOS-ST-OBE.txt")),
              "10001@a@b; O'Neil@@@Weg 1@5@8@Ort@D@@\r\n10002@" + QByteArray(10000, '\xDF') +
                  "@@D@@\r\n");
    EXPECT_EQ(machine.rows(QStringLiteral("select BuKz from Partner")),
              (QStringList{QStringLiteral("9"), QStringLiteral("9")}));
    expectNoFileOutsideTmp(before, filesOf(machine));
}
