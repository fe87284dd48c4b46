#include "tools/damo32/datev_columns.h"

namespace pendra::tools::damo {

using namespace Qt::StringLiterals;

namespace {

// Pairs of numbered fields such as "Beleginfo - Art 1", "Beleginfo - Inhalt 1", ...
QStringList numberedPairs(const QString& first, const QString& second, int count) {
    QStringList names;
    for (int i = 1; i <= count; ++i) {
        names << first.arg(i) << second.arg(i);
    }
    return names;
}

QStringList numbered(const QString& name, int from, int to) {
    QStringList names;
    for (int i = from; i <= to; ++i) {
        names << name.arg(i);
    }
    return names;
}

QStringList bankConnections(int from, int to) {
    QStringList names;
    for (int i = from; i <= to; ++i) {
        const QString n = QString::number(i);
        names << u"Bankleitzahl "_s + n << u"Bankbezeichnung "_s + n << u"Bankkonto-Nummer "_s + n
              << u"Länderkennzeichen "_s + n << u"IBAN "_s + n << QStringLiteral("Leerfeld")
              << u"SWIFT-Code "_s + n << u"Abw. Kontoinhaber "_s + n
              << u"Kennz. Haupt-Bankverb. "_s + n << u"Bankverb. "_s + n + u" gültig von"_s
              << u"Bankverb. "_s + n + u" gültig bis"_s;
    }
    return names;
}

QStringList makeBookingColumns() {
    return QStringList{u"Umsatz (ohne Soll/Haben-Kz)"_s,
                       u"Soll/Haben-Kennzeichen"_s,
                       u"WKZ Umsatz"_s,
                       u"Kurs"_s,
                       u"Basis-Umsatz"_s,
                       u"WKZ Basis-Umsatz"_s,
                       u"Konto"_s,
                       u"Gegenkonto (ohne BU-Schlüssel)"_s,
                       u"BU-Schlüssel"_s,
                       u"Belegdatum"_s,
                       u"Belegfeld 1"_s,
                       u"Belegfeld 2"_s,
                       u"Skonto"_s,
                       u"Buchungstext"_s,
                       u"Postensperre"_s,
                       u"Diverse Adressnummer"_s,
                       u"Geschäftspartnerbank"_s,
                       u"Sachverhalt"_s,
                       u"Zinssperre"_s,
                       u"Beleglink"_s} +
           numberedPairs(QStringLiteral("Beleginfo - Art %1"),
                         QStringLiteral("Beleginfo - Inhalt %1"), 8) +
           QStringList{u"KOST1 - Kostenstelle"_s,
                       u"KOST2 - Kostenstelle"_s,
                       u"Kost-Menge"_s,
                       u"EU-Land u. UStID (Bestimmung)"_s,
                       u"EU-Steuersatz (Bestimmung)"_s,
                       u"Abw. Versteuerungsart"_s,
                       u"Sachverhalt L+L"_s,
                       u"Funktionsergänzung L+L"_s,
                       u"BU 49 Hauptfunktionstyp"_s,
                       u"BU 49 Hauptfunktionsnummer"_s,
                       u"BU 49 Funktionsergänzung"_s} +
           numberedPairs(QStringLiteral("Zusatzinformation - Art %1"),
                         QStringLiteral("Zusatzinformation- Inhalt %1"), 20) +
           QStringList{u"Stück"_s,
                       u"Gewicht"_s,
                       u"Zahlweise"_s,
                       u"Forderungsart"_s,
                       u"Veranlagungsjahr"_s,
                       u"Zugeordnete Fälligkeit"_s,
                       u"Skontotyp"_s,
                       u"Auftragsnummer"_s,
                       u"Buchungstyp"_s,
                       u"USt-Schlüssel (Anzahlungen)"_s,
                       u"EU-Land (Anzahlungen)"_s,
                       u"Sachverhalt L+L (Anzahlungen)"_s,
                       u"EU-Steuersatz (Anzahlungen)"_s,
                       u"Erlöskonto (Anzahlungen)"_s,
                       u"Herkunft-Kz"_s,
                       u"Buchungs GUID"_s,
                       u"KOST-Datum"_s,
                       u"SEPA-Mandatsreferenz"_s,
                       u"Skontosperre"_s,
                       u"Gesellschaftername"_s,
                       u"Beteiligtennummer"_s,
                       u"Identifikationsnummer"_s,
                       u"Zeichnernummer"_s,
                       u"Postensperre bis"_s,
                       u"Bezeichnung SoBil-Sachverhalt"_s,
                       u"Kennzeichen SoBil-Buchung"_s,
                       u"Festschreibung"_s,
                       u"Leistungsdatum"_s,
                       u"Datum Zuord. Steuerperiode"_s,
                       u"Fälligkeit"_s,
                       u"Generalumkehr (GU)"_s,
                       u"Steuersatz"_s,
                       u"Land"_s,
                       u"Abrechnungsreferenz"_s,
                       u"BVV-Position"_s,
                       u"EU-Land u. UStID (Ursprung)"_s,
                       u"EU-Steuersatz (Ursprung)"_s,
                       u"Abw. Skontokonto"_s};
}

QStringList partnerAddressColumns() {
    return {u"Konto"_s,
            u"Name (Adressatentyp Unternehmen)"_s,
            u"Unternehmensgegenstand"_s,
            u"Name (Adressatentyp natürl. Person)"_s,
            u"Vorname (Adressatentyp natürl. Person)"_s,
            u"Name (Adressatentyp keine Angabe)"_s,
            u"Adressatentyp"_s,
            u"Kurzbezeichnung"_s,
            u"EU-Land"_s,
            u"EU-USt-IdNr."_s,
            u"Anrede"_s,
            u"Titel/Akad. Grad"_s,
            u"Adelstitel"_s,
            u"Namensvorsatz"_s,
            u"Adressart"_s,
            u"Straße"_s,
            u"Postfach"_s,
            u"Postleitzahl"_s,
            u"Ort"_s,
            u"Land"_s,
            u"Versandzusatz"_s,
            u"Adresszusatz"_s,
            u"Abweichende Anrede"_s,
            u"Abw. Zustellbezeichnung 1"_s,
            u"Abw. Zustellbezeichnung 2"_s,
            u"Kennz. Korrespondenzadresse"_s,
            u"Adresse gültig von"_s,
            u"Adresse gültig bis"_s,
            u"Telefon"_s,
            u"Bemerkung (Telefon)"_s,
            u"Telefon Geschäftsleitung"_s,
            u"Bemerkung (Telefon GL)"_s,
            u"E-Mail"_s,
            u"Bemerkung (E-Mail)"_s,
            u"Internet"_s,
            u"Bemerkung (Internet)"_s,
            u"Fax"_s,
            u"Bemerkung (Fax)"_s,
            u"Sonstige"_s,
            u"Bemerkung (Sonstige)"_s};
}

QStringList partnerTermsColumns() {
    return {u"Leerfeld"_s,
            u"Briefanrede"_s,
            u"Grußformel"_s,
            u"Kundennummer"_s,
            u"Steuernummer"_s,
            u"Sprache"_s,
            u"Ansprechpartner"_s,
            u"Vertreter"_s,
            u"Sachbearbeiter"_s,
            u"Diverse-Konto"_s,
            u"Ausgabeziel"_s,
            u"Währungssteuerung"_s,
            u"Kreditlimit (Debitor)"_s,
            u"Zahlungsbedingung"_s,
            u"Fälligkeit in Tagen (Debitor)"_s,
            u"Skonto in Prozent (Debitor)"_s,
            u"Kreditoren-Ziel 1 (Tage)"_s,
            u"Kreditoren-Skonto 1 (%)"_s,
            u"Kreditoren-Ziel 2 (Tage)"_s,
            u"Kreditoren-Skonto 2 (%)"_s,
            u"Kreditoren-Ziel 3 Brutto (Tage)"_s,
            u"Kreditoren-Ziel 4 (Tage)"_s,
            u"Kreditoren-Skonto 4 (%)"_s,
            u"Kreditoren-Ziel 5 (Tage)"_s,
            u"Kreditoren-Skonto 5 (%)"_s,
            u"Mahnung"_s,
            u"Kontoauszug"_s,
            u"Mahntext 1"_s,
            u"Mahntext 2"_s,
            u"Mahntext 3"_s,
            u"Kontoauszugstext"_s,
            u"Mahnlimit Betrag"_s,
            u"Mahnlimit %"_s,
            u"Zinsberechnung"_s,
            u"Mahnzinssatz 1"_s,
            u"Mahnzinssatz 2"_s,
            u"Mahnzinssatz 3"_s,
            u"Lastschrift"_s,
            u"Verfahren"_s,
            u"Mandantenbank"_s,
            u"Zahlungsträger"_s};
}

QStringList partnerInvoiceAddressColumns() {
    return {u"Abweichende Anrede (Rechnungsadresse)"_s,
            u"Adressart (Rechnungsadresse)"_s,
            u"Straße (Rechnungsadresse)"_s,
            u"Postfach (Rechnungsadresse)"_s,
            u"Postleitzahl (Rechnungsadresse)"_s,
            u"Ort (Rechnungsadresse)"_s,
            u"Land (Rechnungsadresse)"_s,
            u"Versandzusatz (Rechnungsadresse)"_s,
            u"Adresszusatz (Rechnungsadresse)"_s,
            u"Abw. Zustellbezeichnung 1 (Rechnungsadresse)"_s,
            u"Abw. Zustellbezeichnung 2 (Rechnungsadresse)"_s,
            u"Adresse Gültig von (Rechnungsadresse)"_s,
            u"Adresse Gültig bis (Rechnungsadresse)"_s};
}

QStringList partnerReminderColumns() {
    return {u"Verknüpftes OPOS-Konto"_s,
            u"Mahnsperre bis"_s,
            u"Lastschriftsperre bis"_s,
            u"Zahlungssperre bis"_s,
            u"Gebührenberechnung"_s,
            u"Mahngebühr 1"_s,
            u"Mahngebühr 2"_s,
            u"Mahngebühr 3"_s,
            u"Pauschalberechnung"_s,
            u"Verzugspauschale 1"_s,
            u"Verzugspauschale 2"_s,
            u"Verzugspauschale 3"_s,
            u"Alternativer Suchname"_s,
            u"Status"_s,
            u"Anschrift manuell geändert (Korrespondenzadresse)"_s,
            u"Anschrift individuell (Korrespondenzadresse)"_s,
            u"Anschrift manuell geändert (Rechnungsadresse)"_s,
            u"Anschrift individuell (Rechnungsadresse)"_s,
            u"Fristberechnung bei Debitor"_s,
            u"Mahnfrist 1"_s,
            u"Mahnfrist 2"_s,
            u"Mahnfrist 3"_s,
            u"Letzte Frist"_s};
}

QStringList makePartnerColumns() {
    return partnerAddressColumns() + bankConnections(1, 5) + partnerTermsColumns() +
           numbered(QStringLiteral("Indiv. Feld %1"), 1, 15) + partnerInvoiceAddressColumns() +
           bankConnections(6, 10) + QStringList{u"Nummer Fremdsystem"_s, u"Insolvent"_s} +
           numbered(QStringLiteral("SEPA-Mandatsreferenz %1"), 1, 10) + partnerReminderColumns();
}

}  // namespace

const QStringList& bookingColumns() {
    static const QStringList columns = makeBookingColumns();
    return columns;
}

const QStringList& partnerColumns() {
    static const QStringList columns = makePartnerColumns();
    return columns;
}

const QStringList& accountLabelColumns() {
    static const QStringList columns{u"Konto"_s, u"Kontenbeschriftung"_s, u"Sprach-ID"_s,
                                     u"Kontenbeschriftung lang"_s};
    return columns;
}

}  // namespace pendra::tools::damo
