-- Demo data: business year 2026 of a small joinery, "Tischlerei Weißgerber".

INSERT INTO Wirtschaftsjahr VALUES (1, 2026, 26, '0101', '3112');

INSERT INTO Bankkonto (Nr, Bezeichnung, Konto, IBAN) VALUES
    (1, 'Sparkasse Lüdenscheid', '1200', 'DE12 4585 0005 0000 1234 56'),
    (2, 'Volksbank Märkischer Kreis', '1210', 'DE34 4476 1534 0007 6543 21');

INSERT INTO Partner (Konto, Art, Name, Zusatz, Strasse, PLZ, Ort, Telefon, BuKz, AendKen) VALUES
    ('10001', 'D', 'Müller & Söhne GmbH', 'Herr Jürgen Müller', 'Kölner Straße 12', '58507', 'Lüdenscheid', '02351 12345', 0, 0),
    ('10002', 'D', 'Bäckerei Öztürk', NULL, 'Hauptstraße 3', '58511', 'Lüdenscheid', '02351 98765', 0, 0),
    ('10003', 'D', 'Weiß Elektrotechnik KG', 'Frau Grete Weiß', 'Am Höhenweg 7', '58762', 'Altena', NULL, 0, 0),
    ('10004', 'D', 'Gärtnerei Großmann', NULL, 'Blumenstraße 21', '58840', 'Plettenberg', '02391 4711', 9, 2),
    ('10005', 'D', 'Schäfer Logistik GmbH & Co. KG', NULL, 'Industriestraße 88', '58513', 'Lüdenscheid', '02351 55500', 9, 0),
    ('10006', 'D', 'Jürgens Immobilien', 'Büro Iserlohn', 'Südstraße 1', '58636', 'Iserlohn', NULL, 0, 0),
    ('70001', 'K', 'Holzhandel Köhler GmbH', NULL, 'Sägewerkstraße 5', '57439', 'Attendorn', '02722 3030', 0, 0),
    ('70002', 'K', 'Stadtwerke Lüdenscheid', NULL, 'Lennestraße 2', '58507', 'Lüdenscheid', '02351 1740', 9, 0),
    ('70003', 'K', 'Kfz-Werkstatt Brückner', NULL, 'Werdohler Straße 40', '58511', 'Lüdenscheid', NULL, 0, 0),
    ('70004', 'K', 'Bürobedarf Schröder', 'Filiale Hagen', 'Elberfelder Straße 9', '58095', 'Hagen', '02331 20202', 9, 2),
    ('70005', 'K', 'Beschläge Fußmann OHG', NULL, 'Zum Härtewerk 4', '58791', 'Werdohl', NULL, 0, 0);

INSERT INTO Kontenbeschriftung (Konto, Art, Beschriftung, BuKz, KorrKz) VALUES
    ('1000', 'S', 'Kasse', '9', 0),
    ('1200', 'S', 'Sparkasse Lüdenscheid', '0', 0),
    ('1210', 'S', 'Volksbank Märkischer Kreis', '0', 0),
    ('3400', 'S', 'Wareneingang 19 % Vorsteuer', '9', 0),
    ('4210', 'S', 'Miete Werkstatt', '0', 0),
    ('4530', 'S', 'Laufende Kfz-Betriebskosten', '9', 1),
    ('4930', 'S', 'Bürobedarf', '0', 0),
    ('8400', 'S', 'Erlöse 19 % USt', '9', 0),
    ('10001', 'S', 'Müller & Söhne GmbH', '0', 0),
    ('10002', 'S', 'Bäckerei Öztürk', '0', 0),
    ('10003', 'S', 'Weiß Elektrotechnik KG', '0', 0),
    ('70001', 'K', 'Holzhandel Köhler GmbH', '0', 0),
    ('70002', 'K', 'Stadtwerke Lüdenscheid', '9', 0),
    ('70003', 'K', 'Kfz-Werkstatt Brückner', '0', 0),
    ('70005', 'K', 'Beschläge Fußmann OHG', '0', 0);

-- Sales invoices: eight a month, one of them cancelled in March.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 96)
INSERT INTO Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Kost1, Skbetr,
                     Buchungstext, storno)
SELECT 'Rechnungen', ((i * 7919) % 380000) / 100.0 + 120, 'S', '8400',
       'AR' || printf('%04d', i), printf('2026-%02d-%02d', (i - 1) / 8 + 1, (i * 5) % 28 + 1),
       '1000' || ((i % 3) + 1), CASE WHEN i % 4 = 0 THEN 'WERKST' END, 0,
       'Rechnung ' || CASE i % 3 WHEN 0 THEN 'Einbauküche' WHEN 1 THEN 'Türen und Zargen'
                                 ELSE 'Reparatur Fenster' END,
       CASE WHEN i = 20 THEN 'Ja' ELSE 'Nein' END
FROM n;

-- Credit notes: one a month.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 12)
INSERT INTO Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Buchungstext)
SELECT 'Gutschriften', ((i * 3571) % 40000) / 100.0 + 15, 'H', '8400', 'GU' || printf('%03d', i),
       printf('2026-%02d-%02d', i, (i * 3) % 27 + 1), '1000' || ((i % 3) + 1),
       'Gutschrift Preisnachlass'
FROM n;

-- Purchase invoices: four a month, and their payments from the bank accounts.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 48)
INSERT INTO Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Beleg2, Datum, Konto, Skbetr,
                     Buchungstext)
SELECT 'Kreditor', ((i * 6007) % 250000) / 100.0 + 40, 'H', '3400', 'ER' || printf('%04d', i),
       CASE WHEN i % 5 = 0 THEN 'LS' || i END,
       printf('2026-%02d-%02d', (i - 1) / 4 + 1, (i * 7) % 28 + 1), '7000' || ((i % 5) + 1), 0,
       CASE i % 5 WHEN 0 THEN 'Holz Eiche/Buche' WHEN 1 THEN 'Strom und Wasser'
                  WHEN 2 THEN 'Inspektion Transporter' WHEN 3 THEN 'Büromaterial'
                  ELSE 'Beschläge Edelstahl' END
FROM n;

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 48)
INSERT INTO Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Skbetr,
                     Buchungstext)
SELECT 'Kreditor_bank', ((i * 6007) % 250000) / 100.0 + 40, 'S', '7000' || ((i % 5) + 1),
       'ER' || printf('%04d', i), printf('2026-%02d-%02d', (i - 1) / 4 + 1, (i * 7) % 28 + 1),
       CASE WHEN i % 3 = 0 THEN '1210' ELSE '1200' END,
       round((((i * 6007) % 250000) / 100.0 + 40) * 0.02, 2), 'Zahlung ER' || printf('%04d', i)
FROM n;

-- Customer payments: eight a month into either bank account.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 96)
INSERT INTO Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Bankkonto,
                     Buchungstext)
SELECT 'Zahlungen', ((i * 7919) % 380000) / 100.0 + 120, 'S', '1000' || ((i % 3) + 1),
       'AR' || printf('%04d', i), printf('2026-%02d-%02d', (i - 1) / 8 + 1, (i * 5) % 28 + 1),
       CASE WHEN i % 2 = 0 THEN '1210' ELSE '1200' END,
       CASE WHEN i % 2 = 0 THEN '1210' ELSE '1200' END, 'Zahlungseingang AR' || printf('%04d', i)
FROM n;

-- Transfers and standing orders: rent, fuel, cash withdrawals; five a month.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60)
INSERT INTO Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Bankkonto,
                     Buchungstext)
SELECT 'Ueberw', CASE i % 5 WHEN 0 THEN 1450 WHEN 1 THEN 500 ELSE ((i * 401) % 30000) / 100.0 + 20 END,
       'H', CASE i % 5 WHEN 0 THEN '4210' WHEN 1 THEN '1000' WHEN 2 THEN '4530' ELSE '4930' END,
       'UE' || printf('%04d', i), printf('2026-%02d-%02d', (i - 1) / 5 + 1, (i * 3) % 28 + 1),
       CASE WHEN i % 4 = 0 THEN '1210' ELSE '1200' END, CASE WHEN i % 4 = 0 THEN '1210' ELSE '1200' END,
       CASE i % 5 WHEN 0 THEN 'Miete Werkstatt' WHEN 1 THEN 'Bargeldabhebung'
                  WHEN 2 THEN 'Tankstelle Diesel' ELSE 'Bürobedarf Lastschrift' END
FROM n;

-- Credit notes refunded over the bank: one every second month.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 6)
INSERT INTO Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Bankkonto,
                     Buchungstext)
SELECT 'Gutschriften_bank', ((i * 3571) % 40000) / 100.0 + 15, 'H', '1000' || ((i % 3) + 1),
       'GU' || printf('%03d', i * 2), printf('2026-%02d-%02d', i * 2, (i * 5) % 27 + 1),
       '1200', '1200', 'Erstattung Gutschrift'
FROM n;

-- Cash book: six a month.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 72)
INSERT INTO Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Buchungstext)
SELECT 'kasse', ((i * 1237) % 15000) / 100.0 + 2.5, CASE WHEN i % 6 = 0 THEN 'S' ELSE 'H' END,
       CASE i % 6 WHEN 0 THEN '1200' WHEN 1 THEN '4930' WHEN 2 THEN '4530' ELSE '4650' END,
       'KB' || printf('%04d', i), printf('2026-%02d-%02d', (i - 1) / 6 + 1, (i * 11) % 28 + 1),
       '1000', CASE i % 6 WHEN 0 THEN 'Einzahlung Bank' WHEN 1 THEN 'Porto und Briefmarken'
                          WHEN 2 THEN 'Parkgebühren' ELSE 'Bewirtung Kunde' END
FROM n;

-- Corrections of bookings transferred last year (correction key 40) ...
INSERT INTO Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Bankkonto,
                     Buchungstext, KorrKz, Bu_kz) VALUES
    ('Ueberw', 89.9, 'H', '4930', 'UE1187', '2025-11-20', '1200', '1200',
     'Storno Fehlbuchung Bürobedarf', 40, 'B'),
    ('kasse', 12.5, 'H', '4650', 'KB1203', '2025-12-03', '1000', NULL, 'Korrektur Bewirtung', 40, 'B');
INSERT INTO Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Buchungstext,
                     KorrKz, Bu_kz_kr) VALUES
    ('Kreditor', 312.4, 'H', '3400', 'ER1190', '2025-12-15', '70001', 'Korrektur Holzlieferung', 40, 'B');

-- ... and the bookings of last year, transferred long ago.
INSERT INTO Buchung (Kategorie, Wert, SH, Gegenkonto, Beleg1, Datum, Konto, Bankkonto,
                     Buchungstext, Bu_kz) VALUES
    ('Ueberw', 1450, 'H', '4210', 'UE1201', '2025-12-01', '1200', '1200', 'Miete Werkstatt', 'B'),
    ('Zahlungen', 2380, 'S', '10001', 'AR1195', '2025-12-18', '1200', '1200', 'Zahlungseingang', 'B');
