#include "common/failure.h"
#include "support/demo_machine.h"
#include "transfer/DBConnect.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pendra;
using namespace pendra::transfer;
using DBConnect::Mode;
using pendra::test::DemoMachine;

namespace {

const QString kSemicolon = QStringLiteral(";");

// A booking of the cash book with the optional fields as the test gives them.
void addCashBooking(const DemoMachine& machine, const QString& values) {
    machine.exec(QStringLiteral(
                     "insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Beleg2, Datum, "
                     "Konto, Kost1, Kost2, Skbetr, Buchungstext, Kurs, KorrKz) values ('kasse', ") +
                 values + QStringLiteral(")"));
}

QByteArray exportCash(const DemoMachine& machine, int* records = nullptr,
                      const QString& filter = QString()) {
    const auto result = DBConnect::ExportRecords(
        QStringLiteral("Datev_kasse"), machine.path(QStringLiteral("tmp/FIBU-BW.Kasse.txt")), 14,
        filter, kSemicolon, Mode::NewFile);
    if (records != nullptr) {
        *records = result.records;
    }
    return machine.readFile(QStringLiteral("tmp/FIBU-BW.Kasse.txt"));
}

}  // namespace

TEST(ExportRecords, BookingLinesAreExactWindows1252LinesWithTheColumnRules) {
    const DemoMachine machine;
    addCashBooking(machine,
                   QStringLiteral("1234.5, 'H', '4650', 'KB0001', NULL, '2026-03-05', '1000', "
                                  "NULL, NULL, 0.125, 'Bewirtung Müller & Söhne', NULL, 0"));
    addCashBooking(machine,
                   QStringLiteral("-12.34, 'S', '1200', 'KB0002', 'X', '2026-03-06', '1000', "
                                  "'K1', NULL, NULL, 'Einzahlung €', '1,5', 40"));
    int records = 0;
    const QByteArray file = exportCash(machine, &records);
    EXPECT_EQ(records, 2);
    // The currency column keeps its separator although it is the last one.
    EXPECT_EQ(
        file,
        QByteArray("123450;4650;H;KB0001;;05.03.2026;1000;;;12;Bewirtung M\xFC"
                   "ller & S\xF6hne;;EUR;\r\n"
                   "-1234;40001200;S;KB0002;X;06.03.2026;1000;K1;;Einzahlung \x80;1,5;EUR;\r\n"));
}

TEST(ExportRecords, CorrectionKeyAfterColumnTwoWaitsForTheNextRecordAndDiesWithTheCall) {
    const DemoMachine machine;
    machine.exec(
        QStringLiteral("create table T (Nr integer, a text, b text, c text, Korrkz integer);"
                       "insert into T values (1, 'x', '1200', 'y', 40), (2, 'x', '1200', 'y', 0),"
                       " (3, 'x', '10000', 'y', 41), (4, 'x', NULL, 'y', 1), (5, 'x', ' ', 'y', 7);"
                       "create view Spalten as select a, Nr, b, c, Korrkz from T order by Nr"));
    const QString file = machine.path(QStringLiteral("tmp/t.txt"));
    const auto result = DBConnect::ExportRecords(QStringLiteral("Spalten"), file, 5, QString(),
                                                 kSemicolon, Mode::NewFile);
    EXPECT_EQ(result.records, 5);
    // Row 2 gets row 1's key; row 3's key reaches row 4's empty column 2 only to wait, is
    // cleared by row 4's own Korrkz of 1 before row 5, and row 5's key is dropped at the end.
    EXPECT_EQ(
        machine.readFile(QStringLiteral("tmp/t.txt")),
        QByteArray("x;1;1200;y;\r\nx;2;40001200;y;\r\nx;3;10000;y;\r\nx;4;y;\r\nx;5;;y;\r\n"));

    // Row 5's key dies with the call: in the next call row 2 stands without a key.
    const QString again = machine.path(QStringLiteral("tmp/t2.txt"));
    DBConnect::ExportRecords(QStringLiteral("Spalten"), again, 5, QString(), kSemicolon,
                             Mode::NewFile);
    DBConnect::ExportRecords(QStringLiteral("Spalten"), again, 5, QStringLiteral(" where Nr = 2"),
                             kSemicolon, Mode::Append);
    EXPECT_TRUE(
        machine.readFile(QStringLiteral("tmp/t2.txt")).endsWith("x;5;;y;\r\nx;2;1200;y;\r\n"));
}

TEST(ExportRecords, EmptyValuesVanishAndASingleBlankLeavesAnEmptyFieldEvenAtTheEnd) {
    const DemoMachine machine;
    machine.exec(QStringLiteral(
        "create table T (Nr integer, a text, b text, c text);"
        "insert into T values (1, 'a', '', 'c'), (2, 'a', NULL, NULL), (3, NULL, 'b', ' '),"
        " (4, 'a@b', 'c', 'd');"
        "create view Leer as select Nr, a, b, c from T order by Nr"));
    const QString file = machine.path(QStringLiteral("tmp/leer.txt"));
    DBConnect::ExportRecords(QStringLiteral("Leer"), file, 4, QString(), QStringLiteral("@"),
                             Mode::NewFile);
    EXPECT_EQ(machine.readFile(QStringLiteral("tmp/leer.txt")),
              QByteArray("1@a@c\r\n2@a@\r\n3@b@@\r\n4@a@b@c@d\r\n"));
}

TEST(ExportRecords, NewModeEmptiesTheFileAndAppendModeCreatesItWithTheFirstLine) {
    const DemoMachine machine;
    machine.writeFile(QStringLiteral("tmp/FIBU-BW.Kasse.txt"), "alt\r\n");
    int records = -1;
    EXPECT_EQ(exportCash(machine, &records), QByteArray());
    EXPECT_EQ(records, 0);

    addCashBooking(machine, QStringLiteral("5, 'H', '4930', 'KB1', NULL, '2026-01-02', '1000', "
                                           "NULL, NULL, NULL, 'Porto', NULL, 0"));
    const QString bankFile = machine.path(QStringLiteral("tmp/FIBU-BW.1200.txt"));
    DBConnect::ExportRecords(QStringLiteral("Datev_kasse"), bankFile, 14, QString(), kSemicolon,
                             Mode::Append);
    DBConnect::ExportRecords(QStringLiteral("Datev_kasse"), bankFile, 14,
                             QStringLiteral("where KorrKz > 0"), kSemicolon, Mode::Append);
    DBConnect::ExportRecords(QStringLiteral("Datev_kasse"), bankFile, 14, QString(), kSemicolon,
                             Mode::Append);
    const QByteArray line = "500;4930;H;KB1;;02.01.2026;1000;;;Porto;;EUR;\r\n";
    EXPECT_EQ(machine.readFile(QStringLiteral("tmp/FIBU-BW.1200.txt")), line + line);

    const QString never = machine.path(QStringLiteral("tmp/nie.txt"));
    DBConnect::ExportRecords(QStringLiteral("Datev_kasse"), never, 14,
                             QStringLiteral("where KorrKz > 0"), kSemicolon, Mode::Append);
    EXPECT_FALSE(QFile::exists(never));
}

TEST(ExportRecords, FilterTextIsAppendedWithoutABlankAndMissingCurrencyLeavesTheFieldEmpty) {
    const DemoMachine machine;
    addCashBooking(machine, QStringLiteral("1, 'H', '4930', 'A', NULL, '2026-01-02', '1000', "
                                           "NULL, NULL, NULL, 'eins', NULL, 0"));
    addCashBooking(machine, QStringLiteral("2, 'H', '4930', 'B', NULL, '2026-02-02', '1000', "
                                           "NULL, NULL, NULL, 'zwei', NULL, 0"));
    machine.writeFile(QStringLiteral("system/registry.reg"), "REGEDIT4\r\n");
    int records = 0;
    const QByteArray file = exportCash(machine, &records, QStringLiteral("where Ausdr3 = 0226"));
    EXPECT_EQ(records, 1);
    EXPECT_EQ(file, QByteArray("200;4930;H;B;;02.02.2026;1000;;;zwei;;;\r\n"));
}

TEST(ExportRecords, CharactersOutsideTheCodePageBecomeQuestionMarksAndAreCounted) {
    const DemoMachine machine;
    addCashBooking(machine, QStringLiteral("1, 'H', '4930', 'A', NULL, '2026-01-02', '1000', "
                                           "NULL, NULL, NULL, 'Łódź – Zoë', NULL, 0"));
    const auto result = DBConnect::ExportRecords(QStringLiteral("Datev_kasse"),
                                                 machine.path(QStringLiteral("tmp/k.txt")), 14,
                                                 QString(), kSemicolon, Mode::NewFile);
    EXPECT_EQ(result.replacedCharacters, 2);
    EXPECT_TRUE(machine.readFile(QStringLiteral("tmp/k.txt"))
                    .contains("?\xF3"
                              "d? \x96 Zo\xEB"));
}

TEST(ExportRecords, MoreThan32767RowsAreCountedRight) {
    const DemoMachine machine;
    machine.exec(QStringLiteral(
        "create table Viele (Nr integer, Text text);"
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 40000)"
        " insert into Viele select i, 'Zeile' from n;"
        "create view Viele_Sicht as select Nr, Text from Viele"));
    const auto result = DBConnect::ExportRecords(QStringLiteral("Viele_Sicht"),
                                                 machine.path(QStringLiteral("tmp/viele.txt")), 2,
                                                 QString(), kSemicolon, Mode::NewFile);
    EXPECT_EQ(result.records, 40000);
    EXPECT_EQ(machine.readFile(QStringLiteral("tmp/viele.txt")).count('\n'), 40000);
}

TEST(ExportRecords, FailuresEndTheCallWithTheCauseAndKeepWhatWasWritten) {
    const DemoMachine machine;
    const QString file = machine.path(QStringLiteral("tmp/f.txt"));
    try {
        DBConnect::ExportRecords(QStringLiteral("Gibt_es_nicht"), file, 2, QString(), kSemicolon,
                                 Mode::NewFile);
        FAIL() << "a missing view must fail";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.message().contains(QStringLiteral("Gibt_es_nicht")))
            << failure.message().toStdString();
    }
    EXPECT_TRUE(QFile::exists(file));  // a new file is started before the database is asked

    EXPECT_THROW(DBConnect::ExportRecords(QStringLiteral("AuswahlBankkonten"), file, 4, QString(),
                                          kSemicolon, Mode::NewFile),
                 Failure);

    machine.exec(QStringLiteral(
        "create table B (Nr integer, Wert text); insert into B values (1, '5'), (2, 'viel');"
        "create view Betraege as select Nr, Wert from B order by Nr"));
    EXPECT_THROW(DBConnect::ExportRecords(QStringLiteral("Betraege"), file, 2, QString(),
                                          kSemicolon, Mode::NewFile),
                 Failure);
    EXPECT_EQ(machine.readFile(QStringLiteral("tmp/f.txt")), QByteArray("1;500;\r\n"));

    EXPECT_THROW(DBConnect::ExportRecords(QStringLiteral("Datev_kasse"),
                                          machine.path(QStringLiteral("fehlt/x.txt")), 14,
                                          QString(), kSemicolon, Mode::NewFile),
                 Failure);
}
