#include "transfer/DBConnect.h"
#include "common/failure.h"
#include "support/demo_machine.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pendra;
using namespace pendra::transfer;
using pendra::test::DemoMachine;

namespace {

const QString kMasterFilter = QStringLiteral(" where BuKz = 0 or AendKen = 2");
const QString kLabelFilter = QStringLiteral(" where BuKz = 0 or KorrKz > 0");

QString failureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Failure& failure) {
        return failure.message();
    }
    return {};
}

}  // namespace

TEST(MarkBooked, MasterDataClearsTheChangeMarkFirstSoOnlyNewRowsGetBuKz9) {
    const DemoMachine machine;
    machine.exec(QStringLiteral(
        "insert into Partner (Konto, Art, Name, BuKz, AendKen) values"
        " ('10001', 'D', 'Neu', 0, 2), ('10002', 'D', 'Geändert', 9, 2),"
        " ('10003', 'D', 'Unberührt', 9, 0), ('10004', 'D', 'Nie übertragen', 0, 0)"));
    DBConnect::MarkBooked(QStringLiteral("OPOS-ST-KNE"), kMasterFilter);
    EXPECT_EQ(
        machine.rows(QStringLiteral("select Konto, BuKz, AendKen from Partner order by Konto")),
        (QStringList{QStringLiteral("10001|9|0"), QStringLiteral("10002|9|0"),
                     QStringLiteral("10003|9|0"), QStringLiteral("10004|9|0")}));
}

TEST(MarkBooked, CreditorInvoicesSetTheirOwnMarkAndClearTheCorrection) {
    const DemoMachine machine;
    machine.exec(QStringLiteral(
        "insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Datum, Konto, KorrKz, Bu_kz) values"
        " ('Kreditor', 10, 'H', '3400', '2026-01-05', '70001', 0, NULL),"
        " ('Kreditor', 20, 'H', '3400', '2025-12-05', '70001', 40, 'B'),"
        " ('Kreditor', 30, 'H', '3400', '2026-02-05', '70001', 0, NULL),"
        " ('kasse', 40, 'H', '4930', '2026-01-05', '1000', 40, NULL)"));
    DBConnect::MarkBooked(
        QStringLiteral("Datev_Kreditor"),
        QStringLiteral(" where KorrKz > 0 or (Ausdr6 = 26 and Ausdr5=2026 and Ausdr3 = 126)"));
    EXPECT_EQ(machine.rows(
                  QStringLiteral("select Wert, Bu_kz, Bu_kz_kr, KorrKz from Buchung order by Id")),
              (QStringList{QStringLiteral("10|NULL|B|0"), QStringLiteral("20|B|B|0"),
                           QStringLiteral("30|NULL|NULL|0"), QStringLiteral("40|NULL|NULL|40")}));
}

TEST(MarkBooked, OtherBookingViewsSetBuKzAndAFilterWithoutLeadingBlankWorks) {
    const DemoMachine machine;
    machine.exec(
        QStringLiteral("insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Datum, Konto, "
                       "Bankkonto, KorrKz) values"
                       " ('Ueberw', 10, 'H', '4210', '2026-01-05', '1200', '1200', 0),"
                       " ('Ueberw', 20, 'H', '4210', '2026-01-05', '1210', '1210', 0),"
                       " ('Ueberw', 30, 'H', '4210', '2025-06-05', '1210', '1210', 40)"));
    DBConnect::MarkBooked(
        QStringLiteral("Datev_Ueberw"),
        QStringLiteral("where KorrKz > 0 or (Ausdr3 = 0126 and Ausdr5= 2026  and Ausdr8 ='1200')"));
    EXPECT_EQ(machine.rows(QStringLiteral("select Wert, Bu_kz, KorrKz from Buchung order by Id")),
              (QStringList{QStringLiteral("10|B|0"), QStringLiteral("20|NULL|0"),
                           QStringLiteral("30|B|0")}));

    // A name in other letter case is no creditor view: it gets the Bu_kz statement, which this
    // view has no column for, so it fails before the creditor's own mark or correction change.
    machine.exec(QStringLiteral(
        "insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Datum, Konto, KorrKz) values"
        " ('Kreditor', 50, 'H', '3400', '2026-01-07', '70001', 40)"));
    EXPECT_THROW(
        DBConnect::MarkBooked(QStringLiteral("datev_kreditor"), QStringLiteral(" where 1 = 1")),
        Failure);
    EXPECT_EQ(machine.rows(QStringLiteral(
                  "select Bu_kz, Bu_kz_kr, KorrKz from Buchung where Kategorie = 'Kreditor'")),
              QStringList{QStringLiteral("NULL|NULL|40")});
}

TEST(MarkBooked, AccountLabelsKeepTheirCorrectionKey) {
    const DemoMachine machine;
    machine.exec(QStringLiteral(
        "insert into Kontenbeschriftung (Konto, Art, Beschriftung, BuKz, KorrKz) values"
        " ('1200', 'S', 'Bank', '0', 0), ('4530', 'S', 'Kfz', '9', 1), ('8400', 'S', 'Erlöse', "
        "'9', 0),"
        " ('70001', 'K', 'Holz', '0', 0)"));
    DBConnect::MarkBooked(QStringLiteral("FIBU-ST-KNE"), kLabelFilter);
    EXPECT_EQ(machine.rows(QStringLiteral(
                  "select Konto, BuKz, KorrKz from Kontenbeschriftung order by Konto")),
              (QStringList{QStringLiteral("1200|9|0"), QStringLiteral("4530|9|1"),
                           QStringLiteral("70001|0|0"), QStringLiteral("8400|9|0")}));
    EXPECT_EQ(machine.rows(QStringLiteral("select count(*) from [FIBU-ST-KNE]") + kLabelFilter),
              QStringList{QStringLiteral("1")});
}

TEST(CollectValues, JoinsNonEmptyValuesAndCountsEveryRow) {
    const DemoMachine machine;
    QString result = QStringLiteral("alt");
    EXPECT_EQ(DBConnect::CollectValues(QStringLiteral("Ausspielzeitraum"), 5, QString(),
                                       QStringLiteral(";"), result),
              0);
    EXPECT_EQ(result, QString());

    machine.exec(
        QStringLiteral("insert into Wirtschaftsjahr values (1, 2026, 26, '0101', '3112')"));
    EXPECT_EQ(DBConnect::CollectValues(QStringLiteral("Ausspielzeitraum"), 5, QString(),
                                       QStringLiteral(";"), result),
              1);
    EXPECT_EQ(result, QStringLiteral("1;2026;26;0101;3112;"));

    machine.exec(QStringLiteral(
        "create table L (a text, b text, c text); insert into L values ('2000', NULL, ' '),"
        " ('', ' ', NULL), (NULL, '0101', 'Bank €');"
        "create view Leer as select a, b, c from L"));
    EXPECT_EQ(
        DBConnect::CollectValues(QStringLiteral("Leer"), 3, QString(), QStringLiteral(";"), result),
        3);
    EXPECT_EQ(result, QStringLiteral("2000;0101;Bank €;"));
}

TEST(LookupValue, TakesTheFirstRowInWhichTheColumnIsNotEmpty) {
    const DemoMachine machine;
    machine.exec(QStringLiteral(
        "create table U (Nr integer, BuchMin text, BuchMax integer); insert into U values"
        " (1, NULL, NULL), (2, '', 1226), (3, '103', 1203);"
        "create view Offen as select Nr, BuchMin, BuchMax from U order by Nr"));
    QString result = QStringLiteral("alt");
    DBConnect::LookupValue(QStringLiteral("Offen"), 3, QString(), QStringLiteral("BuchMin"),
                           result);
    EXPECT_EQ(result, QStringLiteral("103"));
    DBConnect::LookupValue(QStringLiteral("Offen"), 3, QString(), QStringLiteral("BuchMax"),
                           result);
    EXPECT_EQ(result, QStringLiteral("1226"));
    DBConnect::LookupValue(QStringLiteral("Offen"), 3, QString(), QStringLiteral("buchmax"),
                           result);
    EXPECT_EQ(result, QString());
    DBConnect::LookupValue(QStringLiteral("Offen"), 2, QString(), QStringLiteral("BuchMax"),
                           result);
    EXPECT_EQ(result, QString());
}

TEST(LookupValue, UpdateDbOfTheDemoGivesTheFirstAndLastPendingPeriod) {
    const DemoMachine machine(DemoMachine::Data::Demo);
    QString first;
    QString last;
    DBConnect::LookupValue(QStringLiteral("Update_DB"), 5, QString(), QStringLiteral("BuchMin"),
                           first);
    DBConnect::LookupValue(QStringLiteral("Update_DB"), 5, QString(), QStringLiteral("BuchMax"),
                           last);
    EXPECT_EQ(first, QStringLiteral("126"));
    EXPECT_EQ(last, QStringLiteral("1226"));
}

TEST(DBConnect, AMissingDataSourceOrDatabaseFileIsAFailureNotACrash) {
    const DemoMachine machine;
    machine.writeFile(QStringLiteral("odbc/odbc.ini"), "");
    QString result;
    QString message = failureOf([&] {
        DBConnect::CollectValues(QStringLiteral("Ausspielzeitraum"), 5, QString(),
                                 QStringLiteral(";"), result);
    });
    EXPECT_TRUE(message.contains(QStringLiteral("DSN=Pendra_db"))) << message.toStdString();

    machine.writeFile(QStringLiteral("odbc/odbc.ini"),
                      "[Pendra_db]\nDriver=SQLite3\nDatabase=" +
                          QFile::encodeName(machine.path(QStringLiteral("fehlt.sqlite"))) +
                          "\nNoCreat=1\n");
    message = failureOf([] { DBConnect::MarkBooked(QStringLiteral("Datev_kasse"), QString()); });
    EXPECT_FALSE(message.isEmpty());
    EXPECT_FALSE(QFile::exists(machine.path(QStringLiteral("fehlt.sqlite"))));
}

TEST(DBConnect, ALockedDatabaseFailsSoonWithAClearMessage) {
    const DemoMachine machine;
    QByteArray ini = machine.readFile(QStringLiteral("odbc/odbc.ini"));
    ini.replace("Timeout=5000", "Timeout=200");
    machine.writeFile(QStringLiteral("odbc/odbc.ini"), ini);
    machine.exec(QStringLiteral(
        "begin immediate; insert into Wirtschaftsjahr values (1, 2026, 26, '0101', '3112')"));
    const QString message = failureOf([] {
        DBConnect::MarkBooked(QStringLiteral("Datev_kasse"), QStringLiteral(" where KorrKz > 0"));
    });
    machine.exec(QStringLiteral("rollback"));
    EXPECT_TRUE(message.contains(QStringLiteral("gesperrt"))) << message.toStdString();
}
