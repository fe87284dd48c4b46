#include "tools/damo32/booking_record.h"

#include "tools/damo32/datev_columns.h"

#include <QRegularExpression>

#include <optional>

namespace pendra::tools::damo {

namespace {

// DATEV-Format field numbers of a booking.
enum BookingField {
    kAmount = 1,
    kDebitCredit = 2,
    kCurrency = 3,
    kRate = 4,
    kAccount = 7,
    kContraAccount = 8,
    kKey = 9,
    kVoucherDate = 10,
    kVoucher1 = 11,
    kVoucher2 = 12,
    kDiscount = 13,
    kText = 14,
    kCostCentre1 = 37,
    kCostCentre2 = 38,
};

// The booking line's values as the transfer program writes them: amount, contra account (with
// a correction key in front), debit/credit, vouchers 1 and 2, date, account, cost centres 1
// and 2, discount, text, rate, currency. An empty discount or text leaves no field at all.
struct InterfaceBooking {
    QString amount, contra, debitCredit, voucher1, voucher2, date, account, cost1, cost2;
    QString discount, text, rate, currency;
};

const QString kFieldCount = QStringLiteral("Feldanzahl passt nicht");

bool isWholeNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^-?\\d+$"));
    return number.match(text).hasMatch();
}

// The currency column always ends with the separator, so the line's last piece is empty. 13
// values when all are there; with 12 the discount or the text is missing, with 11 both.
std::optional<InterfaceBooking> splitBooking(const QString& line) {
    QStringList v = line.split(u';');
    if (v.size() < 12 || v.size() > 14 || !v.last().isEmpty()) {
        return std::nullopt;
    }
    v.removeLast();
    if (v.size() == 12) {
        v.insert(isWholeNumber(v[9]) ? 10 : 9, QString());
    } else if (v.size() == 11) {
        v.insert(9, QString());
        v.insert(9, QString());
    }
    return InterfaceBooking{v[0], v[1], v[2], v[3],  v[4],  v[5], v[6],
                            v[7], v[8], v[9], v[10], v[11], v[12]};
}

// Hundredths back to the format's decimal comma: 145000 -> 1450,00.
QString decimalComma(qint64 hundredths) {
    return QStringLiteral("%1,%2")
        .arg(hundredths / 100)
        .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

// The amount is always positive; a negative one turns debit into credit and back.
void setAmount(RecordCheck& record, const InterfaceBooking& booking) {
    bool isNumber = false;
    const qint64 hundredths = booking.amount.toLongLong(&isNumber);
    const bool debit = booking.debitCredit == u'S';
    if (!isNumber || qAbs(hundredths) >= 1000000000000) {
        record.refuse(kAmount, booking.amount,
                      QStringLiteral("kein Betrag mit höchstens 10 Stellen"));
    } else if (!debit && booking.debitCredit != u'H') {
        record.refuse(kDebitCredit, booking.debitCredit, QStringLiteral("weder S noch H"));
    } else {
        record.setNumber(kAmount, decimalComma(qAbs(hundredths)));
        record.setText(kDebitCredit,
                       (debit == (hundredths >= 0)) ? QStringLiteral("S") : QStringLiteral("H"), 1);
    }
}

// The correction key stands in front of the contra account widened to six digits (or to the
// length of personal accounts when that is longer).
void setContraAccount(RecordCheck& record, const QString& contra, int accountLength) {
    const int personal = accountLength + 1;
    const qsizetype width = qMax(6, personal);
    if (contra.size() <= width) {
        record.setAccount(kContraAccount, contra, personal);
        return;
    }
    const QString key = contra.left(contra.size() - width);
    QString account = contra.right(width);
    while (account.size() > 1 && account.startsWith(u'0')) {
        account.remove(0, 1);
    }
    static const QRegularExpression keyDigits(QStringLiteral("^\\d{1,4}$"));
    if (!keyDigits.match(key).hasMatch()) {
        record.refuse(kKey, key, QStringLiteral("kein BU-Schlüssel aus 1 bis 4 Ziffern"));
    }
    record.setText(kKey, key, 4);
    record.setAccount(kContraAccount, account, personal);
}

void setVoucherDate(RecordCheck& record, const QString& text, const RunSettings& settings) {
    const QDate date = QDate::fromString(text.left(10), QStringLiteral("dd.MM.yyyy"));
    if (!date.isValid()) {
        record.refuse(kVoucherDate, text, QStringLiteral("kein Datum"));
    } else if (date < settings.periodFrom || date > settings.periodTo) {
        record.refuse(kVoucherDate, text,
                      QStringLiteral("außerhalb des Zeitraums %1 bis %2")
                          .arg(settings.periodFrom.toString(u"dd.MM.yyyy"),
                               settings.periodTo.toString(u"dd.MM.yyyy")));
    } else {
        record.setNumber(kVoucherDate, date.toString(u"ddMM"));
    }
}

void setDiscount(RecordCheck& record, const QString& text) {
    bool isNumber = false;
    const qint64 hundredths = text.toLongLong(&isNumber);
    if (text.isEmpty() || (isNumber && hundredths == 0)) {
        return;  // DATEV takes no discount of 0
    }
    if (!isNumber || hundredths < 0 || hundredths >= 10000000000) {
        record.refuse(kDiscount, text, QStringLiteral("kein Skonto mit höchstens 8 Stellen"));
        return;
    }
    record.setNumber(kDiscount, decimalComma(hundredths));
}

void setPattern(RecordCheck& record, int position, const QString& value, const QString& pattern,
                const QString& reason) {
    if (value.isEmpty()) {
        return;
    }
    if (!QRegularExpression(pattern).match(value).hasMatch()) {
        record.refuse(position, value, reason);
    } else if (position == kCurrency) {
        record.setText(position, value, 3);
    } else {
        record.setNumber(position, value);
    }
}

void setBooking(RecordCheck& record, const InterfaceBooking& b, const RunSettings& settings) {
    setAmount(record, b);
    setPattern(record, kCurrency, b.currency, QStringLiteral("^[A-Z]{3}$"),
               QStringLiteral("kein ISO-Währungskennzeichen"));
    setPattern(record, kRate, b.rate, QStringLiteral("^[1-9]\\d{0,3},\\d{2,6}$"),
               QStringLiteral("kein Kurs wie 1234,123456"));
    record.setAccount(kAccount, b.account, settings.accountLength + 1);
    setContraAccount(record, b.contra, settings.accountLength);
    setVoucherDate(record, b.date, settings);
    record.setText(kVoucher1, b.voucher1, 36);
    record.setText(kVoucher2, b.voucher2, 12);
    setDiscount(record, b.discount);
    record.setText(kText, b.text, 60);
    record.setText(kCostCentre1, b.cost1, 36);
    record.setText(kCostCentre2, b.cost2, 36);
}

}  // namespace

RecordCheck bookingRecord(const QString& line, int lineNumber, const RunSettings& settings) {
    RecordCheck record(lineNumber, bookingColumns());
    const QStringList values = line.split(u';');
    if (values.size() < 4 || !isWholeNumber(values[0])) {
        record.setUnreadable();  // no booking line at all
        return record;
    }
    const std::optional<InterfaceBooking> booking = splitBooking(line);
    if (!booking) {
        record.refuse(QStringLiteral("Satz"), line, kFieldCount);
    } else {
        setBooking(record, *booking, settings);
    }
    return record;
}

}  // namespace pendra::tools::damo
