// The converter stand-in writes DATEV-Format files: the demo machine's three exports go through
// the transfer commands and the converter; expected lines are written from the format's field
// tables (header, column headings, records), not taken from the converter.
#include "support/demo_machine.h"
#include "tools/damo32/conversion.h"
#include "tools/damo32/output_file.h"
#include "transfer/CommandRun.h"
#include "transfer/commands.h"
#include "ui/recording_message_sink.h"

#include "platform/codepage.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <memory>

#include <gtest/gtest.h>

using namespace pendra;
using namespace pendra::tools::damo;
using pendra::test::DemoMachine;

namespace {

const QString kLongText = QString(61, u'x');

void addYear(const DemoMachine& machine) {
    machine.exec(QStringLiteral(R"(
        insert into Wirtschaftsjahr values (1, 2026, 26, '0101', '3112');
        insert into Bankkonto (Nr, Bezeichnung, Konto, IBAN) values (1, 'Sparkasse', '1200', 'DE01');
        insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Bankkonto, Buchungstext, KorrKz) values
          ('Ueberw', 1450, 'H', '4210', 'UE1', '2026-01-02', '1200', '1200', 'Miete', 0),
          ('Ueberw', 89.9, 'H', '4930', 'UE0', '2026-01-15', '1200', '1200', 'Storno', 40),
          ('kasse', 12.5, 'H', '4650', 'KB1', '2026-01-10', '1000', NULL, 'Bewirtung 12 €', 0),
          ('kasse', 3, 'H', '4650', 'KB2', '2026-01-11', '1000', NULL, '%1', 0),
          ('kasse', 4, 'H', '46X0', 'KB3', '2026-01-12', '1000', NULL, 'Porto', 0),
          ('kasse', 5, 'H', '4650', 'KB0', '2025-11-20', '1000', NULL, 'Vorjahr', 40);
        insert into Partner (Konto, Art, Name, Zusatz, Strasse, PLZ, Ort, Telefon, BuKz, AendKen) values
          ('10001', 'D', 'Müller & Söhne GmbH', 'Herr Jürgen Müller', 'Kölner Straße 12', '58507', 'Lüdenscheid', '02351 12345', 0, 0);
        insert into Kontenbeschriftung (Konto, Art, Beschriftung, BuKz, KorrKz) values
          ('4210', 'S', 'Miete Werkstatt', '0', 0);
    )")
                     .arg(kLongText));
}

// The lines of the one DATEV-Format file whose name starts so, read as Windows-1252.
QStringList datevLines(const DemoMachine& machine, const QString& prefix) {
    const QDir output(machine.path(QStringLiteral("Datev/Ausgabe")));
    const QStringList files = output.entryList({prefix + QStringLiteral("_*.csv")}, QDir::Files);
    if (files.size() != 1) {
        return {QStringLiteral("files: ") + files.join(u',')};
    }
    const QByteArray bytes = machine.readFile(QStringLiteral("Datev/Ausgabe/") + files[0]);
    QStringList lines = platform::fromAnsi(bytes).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.takeLast(), QString()) << "every line ends with CR LF";
    return lines;
}

// A record's first fields followed by the empty rest up to the category's field count.
QString record(const QString& firstFields, int fieldCount) {
    return firstFields + QString(fieldCount - 1 - firstFields.count(u';'), u';');
}

// The header with its creation time (field 6, seventeen digits) taken out.
QString withoutTime(const QString& header) {
    QStringList fields = header.split(u';');
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{17}$")).match(fields.value(5)).hasMatch())
        << header.toStdString();
    fields[5] = QStringLiteral("T");
    return fields.join(u';');
}

struct Recorded {
    ui::RecordingMessageSink messages;
    transfer::CommandRun command{messages};
};

class DemoExports : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        machine_ = std::make_unique<DemoMachine>();
        addYear(*machine_);
        Recorded bookings;
        transfer::bookingsCommand(bookings.command);
        // Each run overwrites the protocol; this one is of the cash file, the last one run.
        cashProtocol_ = platform::fromAnsi(machine_->readFile(QStringLiteral("Datev/damo.prt")));
        for (const auto& command : {transfer::masterDataCommand, transfer::accountLabelsCommand}) {
            Recorded run;
            command(run.command);
        }
    }
    static void TearDownTestSuite() { machine_.reset(); }
    static inline std::unique_ptr<DemoMachine> machine_;
    static inline QString cashProtocol_;
};

}  // namespace

TEST_F(DemoExports, BookingFileHasHeaderHeadingsAndEachBookingInItsFields) {
    const QStringList lines =
        datevLines(*machine_, QStringLiteral("EXTF_Buchungsstapel_FIBU-BW.1200"));
    ASSERT_EQ(lines.size(), 4) << lines.join(u'\n').toStdString();
    EXPECT_EQ(withoutTime(lines[0]),
              QStringLiteral("\"EXTF\";700;21;\"Buchungsstapel\";13;T;;\"RE\";\"\";\"\";12345;678;"
                             "20260101;4;20260101;20261231;\"FIBU-BW.1200\";\"\";1;0;0;\"EUR\";;"
                             "\"\";;;\"\";;;\"\";\"\""));
    const QStringList headings = lines[1].split(u';');
    EXPECT_EQ(headings.size(), 125);
    EXPECT_EQ(headings.mid(0, 14),
              (QStringList{QStringLiteral("Umsatz (ohne Soll/Haben-Kz)"),
                           QStringLiteral("Soll/Haben-Kennzeichen"), QStringLiteral("WKZ Umsatz"),
                           QStringLiteral("Kurs"), QStringLiteral("Basis-Umsatz"),
                           QStringLiteral("WKZ Basis-Umsatz"), QStringLiteral("Konto"),
                           QStringLiteral("Gegenkonto (ohne BU-Schlüssel)"),
                           QStringLiteral("BU-Schlüssel"), QStringLiteral("Belegdatum"),
                           QStringLiteral("Belegfeld 1"), QStringLiteral("Belegfeld 2"),
                           QStringLiteral("Skonto"), QStringLiteral("Buchungstext")}));
    EXPECT_EQ(headings.value(36), QStringLiteral("KOST1 - Kostenstelle"));
    EXPECT_EQ(headings.value(113), QStringLiteral("Festschreibung"));
    EXPECT_EQ(headings.value(124), QStringLiteral("Abw. Skontokonto"));
    // A credit booking, then one with correction key 40 in front of its contra account.
    EXPECT_EQ(lines[2], record(QStringLiteral("1450,00;\"H\";\"EUR\";;;;1200;4210;;0201;\"UE1\";;;"
                                              "\"Miete\""),
                               125));
    EXPECT_EQ(lines[3], record(QStringLiteral("89,90;\"H\";\"EUR\";;;;1200;4930;\"40\";1501;"
                                              "\"UE0\";;;\"Storno\""),
                               125));
}

TEST_F(DemoExports, CashFileKeepsTheEuroSignAndRefusedRecordsStandOnlyInTheProtocol) {
    const QStringList lines =
        datevLines(*machine_, QStringLiteral("EXTF_Buchungsstapel_FIBU-BW.Kasse"));
    ASSERT_EQ(lines.size(), 3) << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines[2], record(QStringLiteral("12,50;\"H\";\"EUR\";;;;1000;4650;;1001;\"KB1\";;;"
                                              "\"Bewirtung 12 €\""),
                               125));
    const QDir output(machine_->path(QStringLiteral("Datev/Ausgabe")));
    const QString file =
        output.entryList({QStringLiteral("EXTF_Buchungsstapel_FIBU-BW.Kasse_*")}).value(0);
    EXPECT_TRUE(machine_->readFile(QStringLiteral("Datev/Ausgabe/") + file).contains("12 \x80"));

    const QStringList protocol = cashProtocol_.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_TRUE(protocol.contains(
        QStringLiteral("Zeile 2, Feld „Buchungstext“, Wert „%1“: länger als 60 Zeichen")
            .arg(kLongText)))
        << cashProtocol_.toStdString();
    EXPECT_TRUE(
        protocol.contains(QStringLiteral("Zeile 3, Feld „Gegenkonto (ohne BU-Schlüssel)“, Wert "
                                         "„46X0“: Konto nicht nur aus Ziffern")));
    EXPECT_TRUE(protocol.contains(QStringLiteral(
        "Zeile 4, Feld „Belegdatum“, Wert „20.11.2025“: außerhalb des Zeitraums 01.01.2026 bis "
        "31.12.2026")));
    EXPECT_EQ(protocol.value(1), QStringLiteral("Datensaetze gelesen=4"));
    EXPECT_EQ(protocol.last(), QStringLiteral("Sätze gelesen: 4, geschrieben: 1, abgewiesen: 3"));
}

TEST_F(DemoExports, MasterDataAndAccountLabelFilesCarryTheirFieldsInPlace) {
    const QStringList partners =
        datevLines(*machine_, QStringLiteral("EXTF_Debitoren-Kreditoren_OPOS-ST-OBE"));
    ASSERT_EQ(partners.size(), 3) << partners.join(u'\n').toStdString();
    EXPECT_EQ(withoutTime(partners[0]),
              QStringLiteral("\"EXTF\";700;16;\"Debitoren/Kreditoren\";5;T;;\"RE\";\"\";\"\";12345;"
                             "678;20260101;4;;;\"\";\"\";;;;\"\";;\"\";;;\"\";;;\"\";\"\""));
    EXPECT_EQ(partners[1].count(u';'), 253);
    EXPECT_TRUE(partners[1].startsWith(
        QStringLiteral("Konto;Name (Adressatentyp Unternehmen);Unternehmensgegenstand;")));
    EXPECT_EQ(partners[2],
              record(QStringLiteral("10001;\"Müller & Söhne GmbH\";;;;;2;;;;;;;;\"STR\";"
                                    "\"Kölner Straße 12\";;\"58507\";\"Lüdenscheid\";;;"
                                    "\"Herr Jürgen Müller\";;;;;;;\"02351 12345\""),
                     254));

    const QStringList labels =
        datevLines(*machine_, QStringLiteral("EXTF_Kontenbeschriftungen_FIBU-ST-OBE"));
    ASSERT_EQ(labels.size(), 3) << labels.join(u'\n').toStdString();
    EXPECT_TRUE(withoutTime(labels[0]).startsWith(
        QStringLiteral("\"EXTF\";700;20;\"Kontenbeschriftungen\";3;T;")));
    EXPECT_EQ(labels[1],
              QStringLiteral("Konto;Kontenbeschriftung;Sprach-ID;Kontenbeschriftung lang"));
    EXPECT_EQ(labels[2], QStringLiteral("4210;\"Miete Werkstatt\";\"de-DE\";"));
}

TEST(DatevRecords, AmountsMarksDiscountsQuotesAndFieldCountsFollowTheFormat) {
    RunSettings settings;
    settings.adviser = QStringLiteral("1001");
    settings.client = QStringLiteral("1");
    settings.periodFrom = QDate(2026, 1, 1);
    settings.periodTo = QDate(2026, 12, 31);
    const QByteArray input =
        "-1234;70001;S;ER1;;03.02.2026;1210;;;250;Zahlung \"Holz\";;EUR;\r\n"
        "500;8400;S;AR1;;20.01.2026;10001;WERKST;;0;Rechnung;;EUR;\r\n"
        "500;8400;S;AR1;;20.01.2026;10001;;;Text;mit;Semikolon;;EUR;\r\n";
    const Conversion result =
        convertRecords(*categoryOf(QStringLiteral("FBOP-BW-OBE")), input, settings);
    ASSERT_EQ(result.lines.size(), 2);
    // A negative amount turns debit into credit; the discount keeps its place, 0 stays empty.
    EXPECT_EQ(result.lines[0], record(QStringLiteral("12,34;\"H\";\"EUR\";;;;1210;70001;;0302;"
                                                     "\"ER1\";;2,50;\"Zahlung \"\"Holz\"\"\""),
                                      125));
    EXPECT_EQ(result.lines[1].section(u';', 0, 37),
              QStringLiteral("5,00;\"S\";\"EUR\";;;;10001;8400;;2001;\"AR1\";;;\"Rechnung\"") +
                  QString(23, u';') + QStringLiteral("\"WERKST\";"));
    // A semicolon inside the text moves the fields: that record is refused.
    EXPECT_EQ(result.read, 3);
    EXPECT_EQ(result.refused, 1);
    EXPECT_EQ(result.problems.value(0).line, 3);
    EXPECT_EQ(result.problems.value(0).reason, QStringLiteral("Feldanzahl passt nicht"));
    EXPECT_TRUE(result.unreadable.isEmpty());
}

TEST(DatevFileName, ASecondFileOfTheSameSecondGetsItsOwnNameAndTheFirstStays) {
    const QTemporaryDir dir;
    const QDateTime at(QDate(2026, 3, 1), QTime(10, 15, 0));
    const QString first = writeNewDatevFile(dir.path(), QStringLiteral("Buchungsstapel"),
                                            QStringLiteral("FIBU-BW.1200"), at, "eins");
    const QString second = writeNewDatevFile(dir.path(), QStringLiteral("Buchungsstapel"),
                                             QStringLiteral("FIBU-BW.1200"), at, "zwei");
    EXPECT_EQ(QFileInfo(first).fileName(),
              QStringLiteral("EXTF_Buchungsstapel_FIBU-BW.1200_20260301-101500.csv"));
    EXPECT_EQ(QFileInfo(second).fileName(),
              QStringLiteral("EXTF_Buchungsstapel_FIBU-BW.1200_20260301-101500_2.csv"));
    QFile in(first);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), QByteArray("eins"));
}
