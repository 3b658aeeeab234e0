-- Household-book file <user>.mdb and the empty template unbenannt.mdb. Amounts are REAL rounded
-- to cents, dates TEXT in ISO form yyyy-mm-dd, booleans INTEGER -1 / 0.
CREATE TABLE Buchungen (
  ID               INTEGER,  -- booking number from the per-user counter
  KontoName        TEXT,
  Buchung          TEXT,     -- 'Ausgabe' or 'Einnahme'
  Datum            TEXT,
  Betrag           REAL,     -- in the entry currency
  Waehrung         TEXT,     -- entry currency
  Einnahme         REAL,     -- in the account's currency
  Ausgabe          REAL,     -- in the account's currency
  Empfaenger       TEXT,
  Auftraggeber     TEXT,
  Kategorie        TEXT,     -- a Kategorien.Unterkategorie
  Verwendungszweck TEXT,
  Versicherung     INTEGER,  -- expense taken into the inventory: 1, else 0
  Saldo            REAL      -- running balance, kept by the main application
);
-- Moving bookings to another category finds each one by its number.
CREATE INDEX Buchungen_ID ON Buchungen (ID);
-- The booking dialogs look up the latest booking of a purpose. NOCASE is the engine's own
-- collation, so every program that writes the file keeps this index without help.
CREATE INDEX Buchungen_Verwendungszweck ON Buchungen (Verwendungszweck COLLATE NOCASE);
CREATE TABLE Konten (
  KontoName TEXT,
  Waehrung  TEXT,
  Datum     TEXT             -- start date; no booking before it
);
CREATE TABLE Kategorien (
  Kategorie      TEXT,       -- main category
  Unterkategorie TEXT,       -- equals Kategorie on the main category's own row
  Steuer         INTEGER DEFAULT 0  -- -1 tax-relevant, 0 not
);
CREATE TABLE Verwendung (
  Verwendung TEXT
);
CREATE TABLE Adressen (
  ID   INTEGER,
  Name TEXT
);
CREATE TABLE Inventar (
  ID           INTEGER,      -- booking number of the expense
  Besitzer     TEXT,
  Kategorie    TEXT,
  Datum        TEXT,
  Beschreibung TEXT,
  Kaufpreis    REAL,         -- in the entry currency
  Waehrung     TEXT,
  Betrag       REAL,         -- in the insurance currency
  Versichert   INTEGER,
  Bemerkung    TEXT
);
CREATE TABLE Benutzer (
  Benutzername TEXT,
  Kennwort     TEXT          -- as typed when the book was made
);
