#include "support/year_data.h"

namespace pendra::test {

QByteArray yearData(int bankBookings, int otherBookings, int bankAccounts) {
    const QByteArray accounts = QByteArray::number(bankAccounts);
    return "insert into Wirtschaftsjahr values (1, 2026, 26, '0101', '3112');"
           // Every account with its IBAN: an empty column would shift the account list.
           "with recursive n(i) as (select 1 union all select i + 1 from n where i < " +
           accounts +
           ") insert into Bankkonto (Nr, Bezeichnung, Konto, IBAN) select i, 'Bank ' || i, "
           "  '12' || (i - 1) || '0', 'DE0' || i from n;"
           "with recursive n(i) as (select 1 union all select i + 1 from n where i < " +
           QByteArray::number(bankBookings) +
           ")"
           " insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto,"
           "   Bankkonto, Skbetr, Buchungstext, KorrKz)"
           " select case i % 4 when 0 then 'Ueberw' when 1 then 'Kreditor_bank'"
           "   when 2 then 'Zahlungen' else 'Gutschriften_bank' end,"
           "   (i * 7919 % 380000) / 100.0 + 1, case i % 2 when 0 then 'S' else 'H' end,"
           "   '4930', 'BB' || i, printf('2026-%02d-%02d', i / 7 % 12 + 1, i % 28 + 1),"
           "   '12' || (i % " +
           accounts + ") || '0', '12' || (i % " + accounts +
           ") || '0', 0,"
           "   'Bankbewegung für Bürobedarf ' || i, case when i % 5000 = 0 then 40 else 0 end"
           " from n;"
           "with recursive n(i) as (select 1 union all select i + 1 from n where i < " +
           QByteArray::number(otherBookings) +
           ")"
           " insert into Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto,"
           "   Skbetr, Buchungstext, storno)"
           " select case i % 4 when 0 then 'kasse' when 1 then 'Kreditor'"
           "   when 2 then 'Rechnungen' else 'Gutschriften' end,"
           "   (i * 6007 % 250000) / 100.0 + 1, 'S', '8400', 'RE' || i,"
           "   printf('2026-%02d-%02d', i % 12 + 1, i % 28 + 1), '1000' || (i % 3), 0,"
           "   'Rechnung Einbauküche ' || i, case when i % 100 = 2 then 'Ja' else 'Nein' end"
           " from n;";
}

}  // namespace pendra::test
