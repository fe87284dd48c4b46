#include "tools/damo32/master_data_records.h"

#include "tools/damo32/datev_columns.h"

namespace pendra::tools::damo {

namespace {

// DATEV-Format field numbers of a business partner.
enum PartnerField {
    kPartnerAccount = 1,
    kCompanyName = 2,
    kAddresseeType = 7,
    kAddressKind = 15,
    kStreet = 16,
    kPostcode = 18,
    kTown = 19,
    kAddressSupplement = 22,
    kTelephone = 29,
};

// The master data line, "@" behind every value but a telephone: account, name, supplement,
// street, postcode, town, kind (D or K), telephone.
constexpr qsizetype kPartnerValues = 8;
const QString kFieldCount = QStringLiteral("Feldanzahl passt nicht");

void setPartner(RecordCheck& record, const QStringList& v, const RunSettings& settings) {
    record.setAccount(kPartnerAccount, v[0], settings.accountLength + 1);
    record.setText(kCompanyName, v[1], 50);
    record.setNumber(kAddresseeType, QStringLiteral("2"));  // a business
    record.setText(kAddressSupplement, v[2], 36);
    if (!v[3].isEmpty()) {
        record.setText(kAddressKind, QStringLiteral("STR"), 3);  // a street address
    }
    record.setText(kStreet, v[3], 36);
    record.setText(kPostcode, v[4], 10);
    record.setText(kTown, v[5], 30);
    if (v[6] != u'D' && v[6] != u'K') {
        record.refuse(QStringLiteral("Art"), v[6], QStringLiteral("weder D noch K"));
    }
    record.setText(kTelephone, v[7], 60);
}

}  // namespace

RecordCheck partnerRecord(const QString& line, int lineNumber, const RunSettings& settings) {
    RecordCheck record(lineNumber, partnerColumns());
    QStringList values = line.split(u'@');
    // An empty telephone, the last value, is written as the separator alone.
    if (values.size() == kPartnerValues + 1 && values.last().isEmpty()) {
        values.removeLast();
    }
    if (values.size() < 2) {
        record.setUnreadable();
    } else if (values.size() != kPartnerValues) {
        record.refuse(QStringLiteral("Satz"), line, kFieldCount);
    } else {
        setPartner(record, values, settings);
    }
    return record;
}

RecordCheck accountLabelRecord(const QString& line, int lineNumber, const RunSettings& settings) {
    RecordCheck record(lineNumber, accountLabelColumns());
    const QStringList values = line.split(u';');
    if (values.size() < 2) {
        record.setUnreadable();
        return record;
    }
    if (values.size() != 2) {
        record.refuse(QStringLiteral("Satz"), line, kFieldCount);
        return record;
    }
    record.setAccount(1, values[0], settings.accountLength + 1);
    record.setText(2, values[1], 40);
    record.setText(3, QStringLiteral("de-DE"), 5);
    return record;
}

}  // namespace pendra::tools::damo
