-- Accounting database of the demo machine: the tables of a small accounting application and
-- the views the DATEV transfer reads and marks. The views' INSTEAD OF UPDATE triggers carry
-- the marking statements through to the tables.

PRAGMA journal_mode = WAL;

-- Business year; the transfer reads it through "Ausspielzeitraum".
CREATE TABLE Wirtschaftsjahr (
    Nr       INTEGER PRIMARY KEY,
    Jahr     INTEGER NOT NULL,           -- 2026
    JahrKurz INTEGER NOT NULL,           -- 26
    Beginn   TEXT    NOT NULL,           -- first day as DDMM: 0101
    Ende     TEXT    NOT NULL            -- last day as DDMM: 3112
);

CREATE TABLE Bankkonto (
    Nr          INTEGER PRIMARY KEY,
    Bezeichnung TEXT NOT NULL,
    Konto       TEXT NOT NULL UNIQUE,     -- the finance account, e.g. 1200
    IBAN        TEXT
);

-- Business partners: debtors (Art 'D') and creditors (Art 'K').
CREATE TABLE Partner (
    Konto    TEXT PRIMARY KEY,
    Art      TEXT NOT NULL CHECK (Art IN ('D', 'K')),
    Name     TEXT NOT NULL,
    Zusatz   TEXT,
    Strasse  TEXT,
    PLZ      TEXT,
    Ort      TEXT,
    Telefon  TEXT,
    BuKz     INTEGER NOT NULL DEFAULT 0,  -- 0 never transferred, 9 transferred
    AendKen  INTEGER NOT NULL DEFAULT 0   -- 2 changed since the last transfer
);

-- Labels of finance accounts and debtors (Art 'S') and of creditors (Art 'K').
CREATE TABLE Kontenbeschriftung (
    Konto        TEXT PRIMARY KEY,
    Art          TEXT NOT NULL CHECK (Art IN ('S', 'K')),
    Beschriftung TEXT NOT NULL,
    BuKz         TEXT NOT NULL DEFAULT '0',
    KorrKz       INTEGER NOT NULL DEFAULT 0
);

-- Every booking of the year, one row per DATEV booking line.
CREATE TABLE Buchung (
    Id           INTEGER PRIMARY KEY,
    Kategorie    TEXT NOT NULL CHECK (Kategorie IN ('Ueberw', 'Kreditor_bank', 'Zahlungen',
                     'Gutschriften_bank', 'kasse', 'Kreditor', 'Rechnungen', 'Gutschriften')),
    Wert         NUMERIC NOT NULL,
    SH           TEXT NOT NULL CHECK (SH IN ('S', 'H')),
    Gegenkonto   TEXT NOT NULL,
    Beleg1       TEXT,
    Beleg2       TEXT,
    Datum        DATE NOT NULL,
    Konto        TEXT NOT NULL,
    Kost1        TEXT,
    Kost2        TEXT,
    Skbetr       NUMERIC,
    Buchungstext TEXT,
    Kurs         TEXT,
    Waehrung     TEXT NOT NULL DEFAULT 'EUR',
    Bankkonto    TEXT REFERENCES Bankkonto (Konto),
    KorrKz       INTEGER NOT NULL DEFAULT 0, -- above 0: a correction waits for transfer
    Bu_kz        TEXT,                       -- 'B': transferred
    Bu_kz_kr     TEXT,                       -- 'B': creditor invoice transferred
    storno       TEXT,                       -- 'Ja': cancelled invoice
    -- period code month * 100 + two-digit year (126 for January 2026), year, two-digit year
    Periode      INTEGER GENERATED ALWAYS AS
                     (CAST(substr(Datum, 6, 2) AS INTEGER) * 100 + CAST(substr(Datum, 3, 2) AS INTEGER)) VIRTUAL,
    Jahr         INTEGER GENERATED ALWAYS AS (CAST(substr(Datum, 1, 4) AS INTEGER)) VIRTUAL,
    JahrKurz     INTEGER GENERATED ALWAYS AS (CAST(substr(Datum, 3, 2) AS INTEGER)) VIRTUAL
);
CREATE INDEX Buchung_Kategorie ON Buchung (Kategorie, Periode);

-- ---- views of the transfer --------------------------------------------------------------

CREATE VIEW Ausspielzeitraum AS
    SELECT Nr, Jahr, JahrKurz, Beginn, Ende FROM Wirtschaftsjahr ORDER BY Nr;

CREATE VIEW AuswahlBankkonten AS
    SELECT Bezeichnung, Konto, IBAN FROM Bankkonto ORDER BY Nr;

-- First and last period with bank movements still to transfer. With none pending it gives
-- the whole business year, so that the transfer still looks for waiting corrections.
CREATE VIEW Update_DB AS
    SELECT 1 AS Nr,
           coalesce(MIN(Periode), (SELECT 100 + JahrKurz FROM Wirtschaftsjahr ORDER BY Nr LIMIT 1))
               AS BuchMin,
           coalesce(MAX(Periode), (SELECT 1200 + JahrKurz FROM Wirtschaftsjahr ORDER BY Nr LIMIT 1))
               AS BuchMax,
           COUNT(*) AS Offen, MAX(Jahr) AS Jahr
    FROM Buchung
    WHERE (Bu_kz IS NULL OR Bu_kz <> 'B')
      AND Kategorie IN ('Ueberw', 'Kreditor_bank', 'Zahlungen', 'Gutschriften_bank');

-- Booking views: the 14 columns of a booking line (the correction key second, so that it
-- reaches the contra account in the third), then the columns the filters select on.
-- Optional text fields read as a single blank, which keeps their place in the line.
CREATE VIEW Datev_Ueberw AS
    SELECT Wert, KorrKz, Gegenkonto, SH, ifnull(Beleg1, ' ') AS Beleg1,
           ifnull(Beleg2, ' ') AS Beleg2, Datum, Konto, ifnull(Kost1, ' ') AS Kost1,
           ifnull(Kost2, ' ') AS Kost2, Skbetr, Buchungstext, ifnull(Kurs, ' ') AS Kurs,
           Waehrung AS Ausdr9,
           Periode AS Ausdr3, Jahr AS Ausdr5, JahrKurz AS Ausdr6, Bankkonto AS Ausdr8, Bu_kz, Id
    FROM Buchung WHERE Kategorie = 'Ueberw';

CREATE VIEW Datev_Kreditor_bank AS
    SELECT Wert, KorrKz, Gegenkonto, SH, ifnull(Beleg1, ' ') AS Beleg1,
           ifnull(Beleg2, ' ') AS Beleg2, Datum, Konto, ifnull(Kost1, ' ') AS Kost1,
           ifnull(Kost2, ' ') AS Kost2, Skbetr, Buchungstext, ifnull(Kurs, ' ') AS Kurs,
           Waehrung AS Ausdr9,
           Periode AS Ausdr3, Jahr AS Ausdr5, JahrKurz AS Ausdr6, Bu_kz, Id
    FROM Buchung WHERE Kategorie = 'Kreditor_bank';

CREATE VIEW Datev_Zahlungen AS
    SELECT Wert, KorrKz, Gegenkonto, SH, ifnull(Beleg1, ' ') AS Beleg1,
           ifnull(Beleg2, ' ') AS Beleg2, Datum, Konto, ifnull(Kost1, ' ') AS Kost1,
           ifnull(Kost2, ' ') AS Kost2, Skbetr, Buchungstext, ifnull(Kurs, ' ') AS Kurs,
           Waehrung AS Ausdr9,
           Periode AS Ausdr3, Jahr AS Ausdr5, JahrKurz AS Ausdr6, Bankkonto AS Ausdr8, Bu_kz, Id
    FROM Buchung WHERE Kategorie = 'Zahlungen';

CREATE VIEW Datev_Gutschriften_bank AS
    SELECT Wert, KorrKz, Gegenkonto, SH, ifnull(Beleg1, ' ') AS Beleg1,
           ifnull(Beleg2, ' ') AS Beleg2, Datum, Konto, ifnull(Kost1, ' ') AS Kost1,
           ifnull(Kost2, ' ') AS Kost2, Skbetr, Buchungstext, ifnull(Kurs, ' ') AS Kurs,
           Waehrung AS Ausdr9,
           Periode AS Ausdr3, Jahr AS Ausdr5, JahrKurz AS Ausdr6, Bankkonto AS Ausdr8, Bu_kz, Id
    FROM Buchung WHERE Kategorie = 'Gutschriften_bank';

CREATE VIEW Datev_kasse AS
    SELECT Wert, KorrKz, Gegenkonto, SH, ifnull(Beleg1, ' ') AS Beleg1,
           ifnull(Beleg2, ' ') AS Beleg2, Datum, Konto, ifnull(Kost1, ' ') AS Kost1,
           ifnull(Kost2, ' ') AS Kost2, Skbetr, Buchungstext, ifnull(Kurs, ' ') AS Kurs,
           Waehrung AS Ausdr9,
           Periode AS Ausdr3, Jahr AS Ausdr5, JahrKurz AS Ausdr6, Bu_kz, Id
    FROM Buchung WHERE Kategorie = 'kasse';

CREATE VIEW Datev_Kreditor AS
    SELECT Wert, KorrKz, Gegenkonto, SH, ifnull(Beleg1, ' ') AS Beleg1,
           ifnull(Beleg2, ' ') AS Beleg2, Datum, Konto, ifnull(Kost1, ' ') AS Kost1,
           ifnull(Kost2, ' ') AS Kost2, Skbetr, Buchungstext, ifnull(Kurs, ' ') AS Kurs,
           Waehrung AS Ausdr9,
           Periode AS Ausdr3, Jahr AS Ausdr5, JahrKurz AS Ausdr6, Bu_kz_kr, Id
    FROM Buchung WHERE Kategorie = 'Kreditor';

CREATE VIEW Datev_Rechnungen AS
    SELECT Wert, KorrKz, Gegenkonto, SH, ifnull(Beleg1, ' ') AS Beleg1,
           ifnull(Beleg2, ' ') AS Beleg2, Datum, Konto, ifnull(Kost1, ' ') AS Kost1,
           ifnull(Kost2, ' ') AS Kost2, Skbetr, Buchungstext, ifnull(Kurs, ' ') AS Kurs,
           Waehrung AS Ausdr9,
           Periode AS Ausdr3, Jahr AS Ausdr5, JahrKurz AS Ausdr6, Bu_kz, storno, Id
    FROM Buchung WHERE Kategorie = 'Rechnungen';

CREATE VIEW Datev_Gutschriften AS
    SELECT Wert, KorrKz, Gegenkonto, SH, ifnull(Beleg1, ' ') AS Beleg1,
           ifnull(Beleg2, ' ') AS Beleg2, Datum, Konto, ifnull(Kost1, ' ') AS Kost1,
           ifnull(Kost2, ' ') AS Kost2, Skbetr, Buchungstext, ifnull(Kurs, ' ') AS Kurs,
           Waehrung AS Ausdr9,
           Periode AS Ausdr3, Jahr AS Ausdr5, JahrKurz AS Ausdr6, Bu_kz, Id
    FROM Buchung WHERE Kategorie = 'Gutschriften';

CREATE VIEW "OPOS-ST-KNE" AS
    SELECT Konto, Name, ifnull(Zusatz, ' ') AS Zusatz, Strasse, PLZ, Ort, Art,
           ifnull(Telefon, ' ') AS Telefon, BuKz, AendKen
    FROM Partner;

CREATE VIEW "FIBU-ST-KNE" AS
    SELECT Konto, Beschriftung, BuKz, KorrKz FROM Kontenbeschriftung WHERE Art = 'S';

CREATE VIEW "FIBU-ST-KREDIT" AS
    SELECT Konto, Beschriftung, BuKz, KorrKz FROM Kontenbeschriftung WHERE Art = 'K';

-- ---- marking through the views ----------------------------------------------------------

CREATE TRIGGER Datev_Ueberw_Markierung INSTEAD OF UPDATE ON Datev_Ueberw BEGIN
    UPDATE Buchung SET Bu_kz = NEW.Bu_kz, KorrKz = NEW.KorrKz WHERE Id = OLD.Id;
END;
CREATE TRIGGER Datev_Kreditor_bank_Markierung INSTEAD OF UPDATE ON Datev_Kreditor_bank BEGIN
    UPDATE Buchung SET Bu_kz = NEW.Bu_kz, KorrKz = NEW.KorrKz WHERE Id = OLD.Id;
END;
CREATE TRIGGER Datev_Zahlungen_Markierung INSTEAD OF UPDATE ON Datev_Zahlungen BEGIN
    UPDATE Buchung SET Bu_kz = NEW.Bu_kz, KorrKz = NEW.KorrKz WHERE Id = OLD.Id;
END;
CREATE TRIGGER Datev_Gutschriften_bank_Markierung INSTEAD OF UPDATE ON Datev_Gutschriften_bank BEGIN
    UPDATE Buchung SET Bu_kz = NEW.Bu_kz, KorrKz = NEW.KorrKz WHERE Id = OLD.Id;
END;
CREATE TRIGGER Datev_kasse_Markierung INSTEAD OF UPDATE ON Datev_kasse BEGIN
    UPDATE Buchung SET Bu_kz = NEW.Bu_kz, KorrKz = NEW.KorrKz WHERE Id = OLD.Id;
END;
CREATE TRIGGER Datev_Kreditor_Markierung INSTEAD OF UPDATE ON Datev_Kreditor BEGIN
    UPDATE Buchung SET Bu_kz_kr = NEW.Bu_kz_kr, KorrKz = NEW.KorrKz WHERE Id = OLD.Id;
END;
CREATE TRIGGER Datev_Rechnungen_Markierung INSTEAD OF UPDATE ON Datev_Rechnungen BEGIN
    UPDATE Buchung SET Bu_kz = NEW.Bu_kz, KorrKz = NEW.KorrKz WHERE Id = OLD.Id;
END;
CREATE TRIGGER Datev_Gutschriften_Markierung INSTEAD OF UPDATE ON Datev_Gutschriften BEGIN
    UPDATE Buchung SET Bu_kz = NEW.Bu_kz, KorrKz = NEW.KorrKz WHERE Id = OLD.Id;
END;
CREATE TRIGGER "OPOS-ST-KNE_Markierung" INSTEAD OF UPDATE ON "OPOS-ST-KNE" BEGIN
    UPDATE Partner SET BuKz = NEW.BuKz, AendKen = NEW.AendKen WHERE Konto = OLD.Konto;
END;
CREATE TRIGGER "FIBU-ST-KNE_Markierung" INSTEAD OF UPDATE ON "FIBU-ST-KNE" BEGIN
    UPDATE Kontenbeschriftung SET BuKz = NEW.BuKz, KorrKz = NEW.KorrKz WHERE Konto = OLD.Konto;
END;
CREATE TRIGGER "FIBU-ST-KREDIT_Markierung" INSTEAD OF UPDATE ON "FIBU-ST-KREDIT" BEGIN
    UPDATE Kontenbeschriftung SET BuKz = NEW.BuKz, KorrKz = NEW.KorrKz WHERE Konto = OLD.Konto;
END;
