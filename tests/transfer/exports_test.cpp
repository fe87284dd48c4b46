#include "common/failure.h"
#include "support/demo_machine.h"
#include "transfer/CommandRun.h"
#include "transfer/CreateQuery.h"
#include "transfer/RunDamo.h"
#include "transfer/commands.h"
#include "ui/recording_message_sink.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <sys/resource.h>

#include <gtest/gtest.h>

using namespace pendra;
using namespace pendra::transfer;
using pendra::test::DemoMachine;
using pendra::test::ScopedEnv;

namespace {

const QString kIniMissing =
    QStringLiteral("Path und Name der Applikation in der {windir}\\Pendra.ini nicht gefunden");
const QString kNothing = QStringLiteral("Keine Buchungsdaten vorhanden;Ausspielung ist beendet!");

// A small year: two bank accounts, one booking in each category, a correction from last year
// and a cancelled invoice.
void addSmallYear(const DemoMachine& machine) {
    machine.exec(QStringLiteral(R"(
        insert into Wirtschaftsjahr values (1, 2026, 26, '0101', '3112');
        insert into Bankkonto (Nr, Bezeichnung, Konto, IBAN) values (1, 'Sparkasse', '1200', 'DE01'), (2, 'Volksbank', '1210', 'DE02');
        insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Bankkonto, Buchungstext, KorrKz, Bu_kz, Bu_kz_kr, storno) values
          ('Ueberw', 1450, 'H', '4210', 'UE1', '2026-01-02', '1200', '1200', 'Miete', 0, NULL, NULL, NULL),
          ('Kreditor_bank', 99.5, 'S', '70001', 'ER1', '2026-02-03', '1210', NULL, 'Zahlung', 0, NULL, NULL, NULL),
          ('Zahlungen', 238, 'S', '10001', 'AR1', '2026-02-04', '1200', '1200', 'Eingang Müller', 0, NULL, NULL, NULL),
          ('Gutschriften_bank', 20, 'H', '10002', 'GU1', '2026-03-05', '1210', '1210', 'Erstattung', 0, NULL, NULL, NULL),
          ('Ueberw', 89.9, 'H', '4930', 'UE0', '2025-11-20', '1210', '1210', 'Storno', 40, 'B', NULL, NULL),
          ('kasse', 12.5, 'H', '4650', 'KB1', '2026-01-10', '1000', NULL, 'Bewirtung', 0, NULL, NULL, NULL),
          ('Kreditor', 99.5, 'H', '3400', 'ER1', '2026-02-01', '70001', NULL, 'Holz', 0, NULL, NULL, NULL),
          ('Rechnungen', 238, 'S', '8400', 'AR1', '2026-01-20', '10001', NULL, 'Küche', 0, NULL, NULL, 'Nein'),
          ('Rechnungen', 500, 'S', '8400', 'AR2', '2026-01-21', '10002', NULL, 'storniert', 0, NULL, NULL, 'Ja'),
          ('Gutschriften', 20, 'H', '8400', 'GU1', '2026-03-01', '10002', NULL, 'Nachlass', 0, NULL, NULL, NULL);
    )"));
}

bool waitForFile(const QString& path) {
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(path) && timer.elapsed() < 10000) {
        QThread::msleep(20);
    }
    return QFile::exists(path);
}

struct Recorded {
    ui::RecordingMessageSink messages;
    CommandRun command{messages};
};

}  // namespace

TEST(BookingsCommand, ExportsMarksAndHandsEveryFileToDatevInOrder) {
    const DemoMachine machine;
    addSmallYear(machine);
    Recorded run;
    bookingsCommand(run.command);

    EXPECT_FALSE(run.command.stopped());
    EXPECT_EQ(
        run.messages.texts(),
        (QStringList{
            QStringLiteral("Es wurden 3 Bankbewegungen des Bankkontos 1200 ausgespielt und in der "
                           "Datenbank als gebucht gekennzeichnet"),
            QStringLiteral("Es wurden 2 Bankbewegungen des Bankkontos 1210 ausgespielt und in der "
                           "Datenbank als gebucht gekennzeichnet"),
            QStringLiteral("Es wurden 1 Kassenbelege ausgespielt und in der Datenbank als gebucht "
                           "gekennzeichnet"),
            QStringLiteral("Es wurden 1 Kreditoren-Rechnungen ausgespielt und in der Datenbank als "
                           "gebucht gekennzeichnet"),
            QStringLiteral("Es wurden 1 Rechnungen ausgespielt und in der Datenbank als gebucht "
                           "gekennzeichnet"),
            QStringLiteral("Es wurden 1 Gutschriften ausgespielt und in der Datenbank als gebucht "
                           "gekennzeichnet"),
            QStringLiteral("Es wurden insgesamt 9 Buchungssätze ausgespielt und in der Datenbank "
                           "als gebucht gekennzeichnet; Ausspielung ist beendet!")}));
    EXPECT_EQ(run.messages.messages().back().caption, QStringLiteral("Pendra"));
    EXPECT_EQ(run.messages.messages().back().icon, ui::Icon::Warning);

    // The correction of last year goes into the first file whose view holds it, whatever its
    // account; its key stands in front of the contra account.
    EXPECT_EQ(machine.readFile(QStringLiteral("tmp/FIBU-BW.1200.txt")),
              QByteArray("145000;4210;H;UE1;;02.01.2026;1200;;;Miete;;EUR;\r\n"
                         "8990;40004930;H;UE0;;20.11.2025;1210;;;Storno;;EUR;\r\n"
                         "23800;10001;S;AR1;;04.02.2026;1200;;;Eingang M\xFCller;;EUR;\r\n"));
    EXPECT_EQ(machine.readFile(QStringLiteral("tmp/FIBU-BW.1210.txt")),
              QByteArray("9950;70001;S;ER1;;03.02.2026;1210;;;Zahlung;;EUR;\r\n"
                         "2000;10002;H;GU1;;05.03.2026;1210;;;Erstattung;;EUR;\r\n"));
    EXPECT_EQ(machine.readFile(QStringLiteral("tmp/FIBU-BW.Erloese.txt")),
              QByteArray("23800;8400;S;AR1;;20.01.2026;10001;;;K\xFC"
                         "che;;EUR;\r\n"));

    // Every row of the period is marked: the marking filter of the invoices has no
    // cancellation test, so the cancelled invoice, never written, is marked as well.
    EXPECT_EQ(machine.rows(QStringLiteral("select Beleg1 from Buchung where coalesce(Bu_kz, '') <> "
                                          "'B' and coalesce(Bu_kz_kr, '') <> 'B'")),
              QStringList{});
    EXPECT_EQ(machine.rows(QStringLiteral("select count(*) from Buchung where KorrKz <> 0")),
              QStringList{QStringLiteral("0")});
    EXPECT_EQ(
        machine.rows(QStringLiteral("select Bu_kz from Buchung where Kategorie = 'Kreditor'")),
        QStringList{QStringLiteral("NULL")});

    // DATEV got the period and each file, the converter saw the last run's settings.
    const QByteArray damo = machine.readFile(QStringLiteral("Datev/Damo32.ini"));
    EXPECT_TRUE(
        damo.contains("Datum-von=01012026\r\nDatum-bis=31122026\r\nWirtschaftsjahr=2026\r\n"));
    const QByteArray protocol = machine.readFile(QStringLiteral("Datev/damo.prt"));
    EXPECT_TRUE(protocol.contains("Datensaetze gelesen=1\r\n")) << protocol.toStdString();
    EXPECT_TRUE(protocol.contains("Eingabedatei=" +
                                  machine.path(QStringLiteral("tmp/FIBU-BW.Gut")).toUtf8()));
    ASSERT_TRUE(waitForFile(machine.path(QStringLiteral("Datev/put_self32.log"))));

    // At once again: nothing left, every file rewritten empty.
    Recorded again;
    bookingsCommand(again.command);
    EXPECT_EQ(again.messages.texts(), QStringList{kNothing});
    EXPECT_FALSE(again.command.stopped());
    for (const char* file :
         {"tmp/FIBU-BW.1200.txt", "tmp/FIBU-BW.1210.txt", "tmp/FIBU-BW.Kasse.txt",
          "tmp/FIBU-BW.Waren.txt", "tmp/FIBU-BW.Erloese.txt", "tmp/FIBU-BW.Gut.txt"}) {
        EXPECT_EQ(machine.readFile(QString::fromLatin1(file)), QByteArray()) << file;
    }
}

TEST(BookingsCommand, ReplacedCharactersAreToldOncePerFileWithTheirTotal) {
    const DemoMachine machine;
    machine.exec(QStringLiteral(R"(
        insert into Wirtschaftsjahr values (1, 2026, 26, '0101', '3112');
        insert into Bankkonto (Nr, Bezeichnung, Konto, IBAN) values (1, 'Sparkasse', '1200', 'DE01');
        insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Bankkonto, Buchungstext, KorrKz) values
          ('Ueberw', 10, 'H', '4210', 'UE1', '2026-01-02', '1200', '1200', 'Miete ★', 0),
          ('Zahlungen', 20, 'S', '10001', 'AR1', '2026-02-04', '1200', '1200', 'Eingang ★★', 0);
    )"));
    Recorded run;
    bookingsCommand(run.command);
    const QStringList texts = run.messages.texts();
    EXPECT_EQ(texts.filter(QStringLiteral("ersetzt")),
              QStringList{QStringLiteral("In der Datei „%1“ wurden 3 Zeichen, die der "
                                         "DATEV-Zeichensatz (Windows-1252) nicht kennt, durch "
                                         "„?“ ersetzt.")
                              .arg(machine.path(QStringLiteral("tmp/FIBU-BW.1200.txt")))});
    EXPECT_TRUE(texts.value(1).startsWith(QStringLiteral("Es wurden 2 Bankbewegungen")));
}

TEST(BookingsCommand, AnEmptyBankColumnShiftsTheAccountsAndNothingUnwrittenIsMarked) {
    const DemoMachine machine;
    addSmallYear(machine);
    // Without its IBAN the first account's record is one value short: the second account's
    // place is taken by the IBAN behind it.
    machine.exec(QStringLiteral("update Bankkonto set IBAN = NULL where Konto = '1200'"));
    Recorded run;
    bookingsCommand(run.command);
    EXPECT_TRUE(QFile::exists(machine.path(QStringLiteral("tmp/FIBU-BW.1200.txt"))));
    EXPECT_TRUE(QFile::exists(machine.path(QStringLiteral("tmp/FIBU-BW.DE02.txt"))));
    EXPECT_FALSE(QFile::exists(machine.path(QStringLiteral("tmp/FIBU-BW.1210.txt"))));
    EXPECT_EQ(machine.rows(QStringLiteral("select Beleg1 from Buchung where Bankkonto = '1210' "
                                          "and Kategorie <> 'Ueberw' and Bu_kz is null")),
              QStringList{QStringLiteral("GU1")});
}

TEST(BookingsCommand, AOneCharacterShortYearAndAPeriodAcrossTheTurnOfTheYear) {
    const DemoMachine machine;
    machine.exec(QStringLiteral(R"(
        insert into Wirtschaftsjahr values (1, 2004, 4, '0101', '3112');
        insert into Bankkonto (Nr, Bezeichnung, Konto, IBAN) values (1, 'Sparkasse', '1200', 'DE01');
        insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Bankkonto, Buchungstext, KorrKz) values
          ('Ueberw', 10, 'H', '4210', 'UE1', '2004-11-02', '1200', '1200', 'Miete', 0),
          ('kasse', 5, 'H', '4650', 'KB1', '2004-11-03', '1000', NULL, 'Porto', 0);
    )"));
    Recorded run;
    bookingsCommand(run.command);
    EXPECT_EQ(machine.readFile(QStringLiteral("tmp/FIBU-BW.1200.txt")),
              QByteArray("1000;4210;H;UE1;;02.11.2004;1200;;;Miete;;EUR;\r\n"));

    // November to February: no month for the bank categories, the others all the same.
    machine.exec(QStringLiteral(
        "update Buchung set Bu_kz = NULL; drop view Update_DB;"
        "create view Update_DB as select 1 as Nr, '1104' as BuchMin, '205' as BuchMax,"
        " 0 as Offen, 2004 as Jahr"));
    Recorded across;
    bookingsCommand(across.command);
    EXPECT_EQ(machine.readFile(QStringLiteral("tmp/FIBU-BW.1200.txt")), QByteArray());
    EXPECT_EQ(machine.rows(QStringLiteral("select Beleg1 from Buchung where Bu_kz = 'B'")),
              QStringList{QStringLiteral("KB1")});
}

TEST(BookingsCommand, TheWholeDemoYearGoesOutOnceWithCountsMatchingTheFiles) {
    const DemoMachine machine(DemoMachine::Data::Demo);
    Recorded run;
    bookingsCommand(run.command);
    const QStringList texts = run.messages.texts();
    ASSERT_EQ(texts.size(), 7) << texts.join(QLatin1Char('\n')).toStdString();
    const QStringList files = {QStringLiteral("FIBU-BW.1200"),    QStringLiteral("FIBU-BW.1210"),
                               QStringLiteral("FIBU-BW.Kasse"),   QStringLiteral("FIBU-BW.Waren"),
                               QStringLiteral("FIBU-BW.Erloese"), QStringLiteral("FIBU-BW.Gut")};
    int total = 0;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const int lines = static_cast<int>(
            machine.readFile(QStringLiteral("tmp/") + files[i] + QStringLiteral(".txt"))
                .count('\n'));
        EXPECT_TRUE(texts[i].startsWith(QStringLiteral("Es wurden %1 ").arg(lines)))
            << texts[i].toStdString();
        total += lines;
    }
    EXPECT_EQ(texts.last(),
              QStringLiteral("Es wurden insgesamt %1 Buchungssätze ausgespielt und in der "
                             "Datenbank als gebucht gekennzeichnet; Ausspielung ist beendet!")
                  .arg(total));
    EXPECT_EQ(machine.rows(QStringLiteral("select count(*) from Buchung where KorrKz <> 0 or "
                                          "(coalesce(Bu_kz, '') <> 'B' and coalesce(Bu_kz_kr, '') "
                                          "<> 'B' and coalesce(storno, '') <> 'Ja')")),
              QStringList{QStringLiteral("0")});
    Recorded again;
    bookingsCommand(again.command);
    EXPECT_EQ(again.messages.texts(), QStringList{kNothing});
}

TEST(BookingsCommand, MissingSettingsAreReportedAndNothingIsWritten) {
    const DemoMachine machine;
    addSmallYear(machine);
    const QByteArray ini = machine.readFile(QStringLiteral("system/Windows/Pendra.ini"));
    const QByteArray datev = "datev=" + machine.path(QStringLiteral("Datev")).toUtf8();
    const QByteArray tmp = "tmp=" + machine.path(QStringLiteral("tmp")).toUtf8();
    const QByteArray app = "Pendra=" + machine.path(QStringLiteral("Pendra/")).toUtf8();
    const struct {
        QByteArray removed;
        QStringList messages;
    } cases[] = {
        {tmp,
         {kIniMissing, QStringLiteral("TMP_Path in der {windir}\\Pendra.ini nicht gefunden"),
          QStringLiteral("Bitte eintragen: [tmp_Path] und tmp={Pfad der Temporaerdateien}")}},
        {app,
         {kIniMissing,
          QStringLiteral("Name der Applikation in der {windir}\\Pendra.ini nicht gefunden"),
          QStringLiteral(
              "Bitte eintragen: [Pendra_Path] und Pendra={Pfad und Name der Applikation}")}},
        {datev,
         {kIniMissing, kIniMissing,
          QStringLiteral("Datev_Path in der {windir}\\Pendra.ini nicht gefunden"),
          QStringLiteral("Bitte eintragen: [Datev] und datev={Pfad der Datei Damo.ini}")}},
    };
    for (const auto& c : cases) {
        QByteArray changed = ini;
        changed.replace(c.removed, c.removed.left(c.removed.indexOf('=') + 1));
        machine.writeFile(QStringLiteral("system/Windows/Pendra.ini"), changed);
        Recorded run;
        bookingsCommand(run.command);
        EXPECT_EQ(run.messages.texts(), c.messages);
        EXPECT_TRUE(run.command.stopped());
        EXPECT_FALSE(QFile::exists(machine.path(QStringLiteral("tmp/FIBU-BW.1200.txt"))));
        EXPECT_EQ(machine.rows(QStringLiteral("select count(*) from Buchung where Bu_kz = 'B'")),
                  QStringList{QStringLiteral("1")});
    }
}

TEST(BookingsCommand, ADisketteOutputAsksFirstAndCancelWritesNothing) {
    const DemoMachine machine;
    addSmallYear(machine);
    machine.writeFile(QStringLiteral("Datev/Damo32.ini"),
                      "[Einstellungen]\r\nAusgabepfad=a:\\\r\n");
    Recorded run;
    run.messages.answerNext(ui::Answer::Cancel);
    bookingsCommand(run.command);
    EXPECT_EQ(run.messages.texts(),
              QStringList{QStringLiteral("Bitte legen Sie eine Diskette ins Laufwerk A:, da die "
                                         "Daten auf A: ausgespielt werden")});
    EXPECT_EQ(run.messages.messages().front().buttons, ui::Buttons::OkCancel);
    EXPECT_TRUE(run.command.stopped());
    EXPECT_TRUE(QDir(machine.tmpFolder()).isEmpty());

    Recorded agreed;
    agreed.messages.answerNext(ui::Answer::Ok);
    bookingsCommand(agreed.command);
    EXPECT_EQ(agreed.messages.texts().size(), 8);
    EXPECT_FALSE(agreed.command.stopped());
}

TEST(BookingsCommand, DatabaseValuesThatWouldBreakQueriesOrFileNamesStopTheRun) {
    const DemoMachine machine;
    Recorded empty;
    bookingsCommand(empty.command);
    EXPECT_TRUE(empty.command.stopped());
    EXPECT_TRUE(empty.messages.texts().value(0).contains(QStringLiteral("Ausspielzeitraum")));

    addSmallYear(machine);
    machine.exec(QStringLiteral("update Wirtschaftsjahr set Jahr = '2026 or 1=1'"));
    Recorded injected;
    bookingsCommand(injected.command);
    EXPECT_TRUE(injected.command.stopped());
    EXPECT_TRUE(injected.messages.texts().value(0).contains(QStringLiteral("2026 or 1=1")));
    EXPECT_FALSE(machine.readFile(QStringLiteral("Datev/Damo32.ini")).contains("Wirtschaftsjahr"));

    machine.exec(
        QStringLiteral("update Wirtschaftsjahr set Jahr = 2026;"
                       "insert into Bankkonto (Nr, Bezeichnung, Konto, IBAN) values (3, 'Böse', "
                       "'../../x', 'DE03')"));
    Recorded escaping;
    bookingsCommand(escaping.command);
    EXPECT_TRUE(escaping.command.stopped());
    EXPECT_TRUE(escaping.messages.texts().value(0).contains(QStringLiteral("../../x")));
    EXPECT_TRUE(QDir(machine.tmpFolder()).isEmpty());

    machine.exec(QStringLiteral(
        "update Bankkonto set Konto = '12''00' where Nr = 3;"
        "insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Datum, Konto, Bankkonto) "
        "values ('Ueberw', 1, 'H', '4930', '2026-01-09', '12''00', '12''00')"));
    Recorded quoted;
    bookingsCommand(quoted.command);
    EXPECT_FALSE(quoted.command.stopped());
    EXPECT_TRUE(quoted.messages.texts().contains(
        QStringLiteral("Es wurden 1 Bankbewegungen des Bankkontos 12'00 ausgespielt und in der "
                       "Datenbank als gebucht gekennzeichnet")));
}

TEST(MasterDataCommand, ExportsNewAndChangedPartnersOnceAndStartsDatev) {
    const DemoMachine machine;
    machine.exec(QStringLiteral(
        "insert into Partner (Konto, Art, Name, Zusatz, Strasse, PLZ, Ort, Telefon, BuKz, AendKen) "
        "values"
        " ('10001', 'D', 'Müller & Söhne', NULL, 'Kölner Str. 1', '58507', 'Lüdenscheid', NULL, 0, "
        "0),"
        " ('10002', 'D', 'info@baeckerei', NULL, 'Hauptstr. 3', '58511', 'Lüdenscheid', '0231', 9, "
        "2),"
        " ('10003', 'D', 'Alt', NULL, 'Weg 1', '58511', 'Altena', NULL, 9, 0),"
        " ('70001', 'K', 'Holz Köhler', 'Büro', 'Sägeweg 5', '57439', 'Attendorn', NULL, 0, 0)"));
    Recorded run;
    masterDataCommand(run.command);
    EXPECT_EQ(run.messages.texts(),
              QStringList{QStringLiteral(
                  "Es wurden 3 Stammdaten ausgespielt und als gebucht gekennzeichnet")});
    EXPECT_EQ(machine.readFile(QStringLiteral("tmp/OPOS-ST-OBE.txt")),
              QByteArray("10001@M\xFCller & S\xF6hne@@K\xF6lner Str. 1@58507@L\xFC"
                         "denscheid@D@@\r\n"
                         "10002@info@baeckerei@@Hauptstr. 3@58511@L\xFC"
                         "denscheid@D@0231\r\n"
                         "70001@Holz K\xF6hler@B\xFCro@S\xE4geweg 5@57439@Attendorn@K@@\r\n"));
    const QByteArray protocol = machine.readFile(QStringLiteral("Datev/damo.prt"));
    EXPECT_TRUE(protocol.contains("Formatname=OPOS-ST-OBE\r\n"));
    EXPECT_TRUE(protocol.contains("Datensaetze gelesen=3\r\n"));

    Recorded again;
    masterDataCommand(again.command);
    EXPECT_EQ(again.messages.texts(),
              QStringList{QStringLiteral("Keine neuen Stammdaten vorhanden;")});
    EXPECT_EQ(machine.readFile(QStringLiteral("tmp/OPOS-ST-OBE.txt")), QByteArray());
}

TEST(MasterDataCommand, MissingTemporaryFolderIsReportedInOneMessage) {
    const DemoMachine machine;
    QByteArray ini = machine.readFile(QStringLiteral("system/Windows/Pendra.ini"));
    ini.replace("tmp=" + machine.tmpFolder().toUtf8(), "tmp=");
    machine.writeFile(QStringLiteral("system/Windows/Pendra.ini"), ini);
    Recorded run;
    masterDataCommand(run.command);
    EXPECT_EQ(
        run.messages.texts(),
        (QStringList{
            kIniMissing,
            QStringLiteral(
                "TMP_Path in der Datei {windir}\\Pendra.ini nicht gefunden. Bitte eintragen")}));
    EXPECT_TRUE(run.command.stopped());
}

TEST(AccountLabelsCommand, BothViewsGoIntoOneFileAndCorrectionsComeBack) {
    const DemoMachine machine;
    machine.exec(QStringLiteral(
        "insert into Kontenbeschriftung (Konto, Art, Beschriftung, BuKz, KorrKz) values"
        " ('1200', 'S', 'Sparkasse', '0', 0), ('4530', 'S', 'Kfz-Kosten', '9', 1),"
        " ('8400', 'S', 'Erlöse', '9', 0), ('70001', 'K', 'Holz Köhler', '0', 0)"));
    Recorded run;
    accountLabelsCommand(run.command);
    EXPECT_EQ(run.messages.texts(),
              QStringList{QStringLiteral("Es wurden 3 Kontenbeschriftungen ausgespielt")});
    EXPECT_EQ(machine.readFile(QStringLiteral("tmp/FIBU-ST-OBE.txt")),
              QByteArray("1200;Sparkasse\r\n4530;Kfz-Kosten\r\n70001;Holz K\xF6hler\r\n"));

    // The correction key stays, so the label goes out at every run.
    Recorded again;
    accountLabelsCommand(again.command);
    EXPECT_EQ(again.messages.texts(),
              QStringList{QStringLiteral("Es wurden 1 Kontenbeschriftungen ausgespielt")});

    machine.exec(QStringLiteral("update Kontenbeschriftung set KorrKz = 0"));
    Recorded none;
    accountLabelsCommand(none.command);
    EXPECT_EQ(none.messages.texts(),
              QStringList{QStringLiteral("Keine neunen Kontenbeschriftungen vorhanden;")});
    EXPECT_EQ(machine.readFile(QStringLiteral("tmp/FIBU-ST-OBE.txt")), QByteArray());

    // A label the interface file cannot hold whole is named before the count.
    machine.exec(
        QStringLiteral("insert into Kontenbeschriftung values ('4600', 'S', 'Werbung ★', '0', 0)"));
    Recorded replaced;
    accountLabelsCommand(replaced.command);
    EXPECT_EQ(
        replaced.messages.texts(),
        (QStringList{QStringLiteral("In der Datei „%1“ wurden 1 Zeichen, die der DATEV-Zeichensatz "
                                    "(Windows-1252) nicht kennt, durch „?“ ersetzt.")
                         .arg(machine.path(QStringLiteral("tmp/FIBU-ST-OBE.txt"))),
                     QStringLiteral("Es wurden 1 Kontenbeschriftungen ausgespielt")}));
    EXPECT_EQ(machine.readFile(QStringLiteral("tmp/FIBU-ST-OBE.txt")),
              QByteArray("4600;Werbung ?\r\n"));
}

TEST(DatevHandOver, EachCommandHandsItsFilesWithFolderTypeWordAndFormatName) {
    const DemoMachine machine;
    addSmallYear(machine);
    machine.exec(QStringLiteral(
        "insert into Partner (Konto, Art, Name, Zusatz, Strasse, PLZ, Ort, Telefon, BuKz, AendKen) "
        "values ('10001', 'D', 'Müller', NULL, 'Weg 1', '58507', 'Lüdenscheid', NULL, 0, 0);"
        "insert into Kontenbeschriftung (Konto, Art, Beschriftung, BuKz, KorrKz) values"
        " ('70001', 'K', 'Holz Köhler', '0', 0)"));
    for (const auto& command : {bookingsCommand, masterDataCommand, accountLabelsCommand}) {
        Recorded run;
        command(run.command);
        EXPECT_FALSE(run.command.stopped());
    }
    // The converter names each DATEV-Format file after the category of its format name and
    // after its input file, then the time of the run.
    QStringList converted;
    for (const QString& file :
         QDir(machine.path(QStringLiteral("Datev/Ausgabe"))).entryList(QDir::Files)) {
        converted.append(file.section(u'_', 0, 2));
    }
    converted.sort();
    EXPECT_EQ(converted, (QStringList{QStringLiteral("EXTF_Buchungsstapel_FIBU-BW.1200"),
                                      QStringLiteral("EXTF_Buchungsstapel_FIBU-BW.1210"),
                                      QStringLiteral("EXTF_Buchungsstapel_FIBU-BW.Erloese"),
                                      QStringLiteral("EXTF_Buchungsstapel_FIBU-BW.Gut"),
                                      QStringLiteral("EXTF_Buchungsstapel_FIBU-BW.Kasse"),
                                      QStringLiteral("EXTF_Buchungsstapel_FIBU-BW.Waren"),
                                      QStringLiteral("EXTF_Debitoren-Kreditoren_OPOS-ST-OBE"),
                                      QStringLiteral("EXTF_Kontenbeschriftungen_FIBU-ST-OBE")}));

    // put_self32 runs on its own; each call is one line: folder, file, type word, verdict.
    const QString log = machine.path(QStringLiteral("Datev/put_self32.log"));
    QStringList calls;
    for (int tries = 0; tries < 500 && calls.size() < 8; ++tries) {
        QThread::msleep(20);
        calls = QString::fromUtf8(machine.readFile(QStringLiteral("Datev/put_self32.log")))
                    .split(u'\n', Qt::SkipEmptyParts);
    }
    QStringList seen;
    for (const QString& call : calls) {
        seen.append(call.section(u'\t', 1));
    }
    seen.sort();
    const QString tmp = machine.path(QStringLiteral("tmp"));
    QStringList expected;
    for (const char* file :
         {"FIBU-BW.1200.txt\tFBOP", "FIBU-BW.1210.txt\tFBOP", "FIBU-BW.Erloese.txt\tFBOP",
          "FIBU-BW.Gut.txt\tFBOP", "FIBU-BW.Kasse.txt\tFBOP", "FIBU-BW.Waren.txt\tFBOP",
          "FIBU-ST-OBE.txt\tFBOP", "OPOS-ST-OBE.txt\tOPOS"}) {
        expected.append(tmp + u'\t' + QString::fromLatin1(file) + QStringLiteral("\tOK"));
    }
    EXPECT_EQ(seen, expected) << log.toStdString();
}

TEST(AccountLabelsCommand, LabelsOnlyOfCreditorsGoOutAndAreMarked) {
    const DemoMachine machine;
    machine.exec(QStringLiteral(
        "insert into Kontenbeschriftung (Konto, Art, Beschriftung, BuKz, KorrKz) values"
        " ('70001', 'K', 'Holz Köhler', '0', 0)"));
    Recorded run;
    accountLabelsCommand(run.command);
    EXPECT_EQ(run.messages.texts(),
              QStringList{QStringLiteral("Es wurden 1 Kontenbeschriftungen ausgespielt")});
    EXPECT_EQ(machine.readFile(QStringLiteral("tmp/FIBU-ST-OBE.txt")),
              QByteArray("70001;Holz K\xF6hler\r\n"));
    EXPECT_EQ(machine.rows(QStringLiteral("select BuKz from Kontenbeschriftung")),
              QStringList{QStringLiteral("9")});
}

TEST(RunDamo, TheConverterGetsItsFiveKeysInOrderAndItsProtocolShowsThatRun) {
    const DemoMachine machine;
    machine.exec(QStringLiteral("select 1"));
    QFile::remove(machine.path(QStringLiteral("Datev/Damo32.ini")));
    machine.writeFile(QStringLiteral("tmp/FIBU-ST-OBE.txt"), "1200;Bank\r\nkaputt\r\n");
    Recorded run;
    RunDamo::RunConverter(run.command, machine.path(QStringLiteral("tmp/FIBU-ST-OBE")),
                          QStringLiteral("FIBU-ST-OBE"));
    ASSERT_FALSE(run.command.stopped());
    const QString datev = machine.path(QStringLiteral("Datev"));
    // A missing file is created under the name the program writes.
    EXPECT_EQ(machine.readFile(QStringLiteral("Datev/damo32.ini")),
              ("[Einstellungen]\r\nProtokolldatei=" + datev +
               "/damo.prt\r\nEingabeformat=" + datev + "/input32.ini\r\nAusgabeformat=" + datev +
               "/output32.ini\r\nEingabedatei=" + machine.path(QStringLiteral("tmp/FIBU-ST-OBE")) +
               "\r\nFormatname=FIBU-ST-OBE\r\n")
                  .toUtf8());
    const QByteArray protocol = machine.readFile(QStringLiteral("Datev/damo.prt"));
    EXPECT_TRUE(protocol.contains("Datensaetze gelesen=1\r\n"));
    EXPECT_TRUE(protocol.contains("Zeile 2 nicht lesbar: kaputt\r\n"));
    EXPECT_TRUE(run.messages.texts().isEmpty());
}

TEST(RunDamo, WaitsForASlowConverterWithoutBusyingTheProcessor) {
    const DemoMachine machine;
    machine.writeFile(QStringLiteral("tmp/OPOS-ST-OBE.txt"), "1@a\r\n");
    const ScopedEnv slow("PENDRA_DAMO_DELAY_MS", QStringLiteral("1500"));
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    Recorded run;
    RunDamo::RunConverter(run.command, machine.path(QStringLiteral("tmp/OPOS-ST-OBE")),
                          QStringLiteral("OPOS-ST-OBE"));
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    // The protocol is the converter's last act: it is there, so the call waited for the end.
    EXPECT_TRUE(QFile::exists(machine.path(QStringLiteral("Datev/damo.prt"))));
    const auto micros = [](const timeval& t) { return t.tv_sec * 1000000L + t.tv_usec; };
    const long cpu = micros(after.ru_utime) - micros(before.ru_utime) + micros(after.ru_stime) -
                     micros(before.ru_stime);
    EXPECT_LT(cpu, 500000L) << "processor time while waiting 1.5 s: " << cpu << " µs";
}

TEST(RunDamo, MissingDatevFolderOrProgramIsReportedNotIgnored) {
    const DemoMachine machine;
    QByteArray ini = machine.readFile(QStringLiteral("system/Windows/Pendra.ini"));
    machine.writeFile(QStringLiteral("system/Windows/Pendra.ini"), "[tmp_Path]\r\ntmp=/tmp\r\n");
    Recorded putSelf;
    RunDamo::RunPutSelf(putSelf.command, QStringLiteral("x.txt"), QStringLiteral("FBOP"));
    EXPECT_TRUE(putSelf.command.stopped());
    EXPECT_EQ(
        putSelf.messages.texts(),
        (QStringList{
            kIniMissing, QStringLiteral("Datev_Path in der {windir}\\Pendra.ini nicht gefunden"),
            QStringLiteral("Bitte eintragen: [DATEV] und datev={Pfad der Datev-Programme}")}));
    Recorded converter;
    RunDamo::RunConverter(converter.command, QStringLiteral("/tmp/x"),
                          QStringLiteral("FBOP-BW-OBE"));
    EXPECT_TRUE(converter.command.stopped());
    EXPECT_EQ(
        converter.messages.texts(),
        (QStringList{
            kIniMissing, QStringLiteral("Datev_Path in der {windir}\\Pendra.ini nicht gefunden"),
            QStringLiteral("Bitte eintragen:[DATEV] und datev={Pfad der Datev-Programme}")}));

    machine.writeFile(QStringLiteral("system/Windows/Pendra.ini"), ini);
    QFile::remove(machine.path(QStringLiteral("Datev/damo32.exe")));
    Recorded missing;
    EXPECT_THROW(RunDamo::RunConverter(missing.command, QStringLiteral("/tmp/x"),
                                       QStringLiteral("FBOP-BW-OBE")),
                 Failure);
}
