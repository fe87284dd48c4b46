#pragma once

#include <QByteArray>

namespace pendra::test {

// SQL that fills an empty demo database with a business year 2026: bank accounts (at most
// ten) with their IBAN, `bankBookings` bank movements of four kinds spread over accounts and
// months, `otherBookings` of the other categories, a correction waiting here and there. Every
// booking has a voucher of its own ("BB" or "RE" and its number), so its line can be found.
QByteArray yearData(int bankBookings, int otherBookings = 8000, int bankAccounts = 5);

}  // namespace pendra::test
