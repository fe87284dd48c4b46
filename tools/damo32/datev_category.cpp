#include "tools/damo32/datev_category.h"

#include "tools/damo32/booking_record.h"
#include "tools/damo32/datev_columns.h"
#include "tools/damo32/master_data_records.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace pendra::tools::damo {

namespace {

constexpr int kHeaderVersion = 700;

QString quoted(const QString& text) {
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString dateField(const QDate& date) {
    return date.toString(u"yyyyMMdd");
}

// Batch name: the interface file's name, which tells bank account or category.
QString batchName(const RunSettings& settings) {
    return QFileInfo(settings.input).fileName().left(30);
}

// Fields 15 to 22: period, batch name, dictation code, booking type, accounting purpose,
// "festgeschrieben" and currency; master data leave them empty.
QStringList batchFields(const Category& category, const RunSettings& settings) {
    const QString none;
    if (!category.transactions) {
        return {none, none, quoted(none), quoted(none), none, none, none, quoted(none)};
    }
    // Not "festgeschrieben": the adviser checks the batch first.
    return {dateField(settings.periodFrom),
            dateField(settings.periodTo),
            quoted(batchName(settings)),
            quoted(none),
            QStringLiteral("1"),
            QStringLiteral("0"),
            QStringLiteral("0"),
            quoted(QStringLiteral("EUR"))};
}

bool matches(const QString& pattern, const QString& value) {
    return QRegularExpression(pattern).match(value).hasMatch();
}

}  // namespace

const Category* categoryOf(const QString& formatName) {
    static const Category bookings{QStringLiteral("Buchungsstapel"),
                                   QStringLiteral("Buchungsstapel"),
                                   21,
                                   13,
                                   true,
                                   bookingColumns(),
                                   bookingRecord};
    static const Category partners{QStringLiteral("Debitoren/Kreditoren"),
                                   QStringLiteral("Debitoren-Kreditoren"),
                                   16,
                                   5,
                                   false,
                                   partnerColumns(),
                                   partnerRecord};
    static const Category labels{QStringLiteral("Kontenbeschriftungen"),
                                 QStringLiteral("Kontenbeschriftungen"),
                                 20,
                                 3,
                                 false,
                                 accountLabelColumns(),
                                 accountLabelRecord};
    if (formatName == QLatin1String("FBOP-BW-OBE")) {
        return &bookings;
    }
    if (formatName == QLatin1String("OPOS-ST-OBE")) {
        return &partners;
    }
    if (formatName == QLatin1String("FIBU-ST-OBE")) {
        return &labels;
    }
    return nullptr;
}

QString headerLine(const Category& category, const RunSettings& settings,
                   const QDateTime& createdAt) {
    const QString none;
    const QStringList head{quoted(QStringLiteral("EXTF")),
                           QString::number(kHeaderVersion),
                           QString::number(category.dataCategory),
                           quoted(category.datevName),
                           QString::number(category.formatVersion),
                           createdAt.toString(u"yyyyMMddHHmmsszzz"),
                           none,
                           quoted(QStringLiteral("RE")),
                           quoted(none),
                           quoted(none),
                           settings.adviser,
                           settings.client,
                           dateField(businessYearStart(settings, createdAt.date().year())),
                           QString::number(settings.accountLength)};
    const QStringList tail{none, quoted(none), none,         none,        quoted(none),
                           none, none,         quoted(none), quoted(none)};
    return (head + batchFields(category, settings) + tail).join(u';');
}

QList<Problem> headerProblems(const Category& category, const RunSettings& settings) {
    QList<Problem> problems;
    if (!matches(QStringLiteral("^\\d{4,7}$"), settings.adviser) ||
        settings.adviser.toInt() < 1001) {
        problems.append({0, QStringLiteral("Berater"), settings.adviser,
                         QStringLiteral("keine Beraternummer von 1001 bis 9999999")});
    }
    if (!matches(QStringLiteral("^\\d{1,5}$"), settings.client) || settings.client.toInt() < 1) {
        problems.append({0, QStringLiteral("Mandant"), settings.client,
                         QStringLiteral("keine Mandantennummer von 1 bis 99999")});
    }
    if (settings.accountLength < 4 || settings.accountLength > 8) {
        problems.append({0, QStringLiteral("Sachkontenlaenge"),
                         QString::number(settings.accountLength),
                         QStringLiteral("nicht von 4 bis 8")});
    }
    if (category.transactions && (!settings.periodFrom.isValid() || !settings.periodTo.isValid() ||
                                  settings.periodFrom > settings.periodTo)) {
        problems.append({0, QStringLiteral("Datum-von/Datum-bis"), QString(),
                         QStringLiteral("kein gültiger Zeitraum")});
    }
    return problems;
}

}  // namespace pendra::tools::damo
