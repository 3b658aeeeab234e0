-- Shared data file Daten.mdb: the users who may sign in, the exchange rates and the insurance
-- settings. Owned by the main application; the fast-entry program reads and appends users only.
CREATE TABLE Benutzer (
  Benutzername TEXT,
  Kennwort     TEXT
);
CREATE TABLE Wechselkurs (
  Waehrung TEXT,
  Kurs     REAL,     -- units of this currency per euro
  Aktiv    INTEGER   -- -1 true, 0 false
);
CREATE TABLE Versicherung (
  Waehrung TEXT      -- currency of inventory values; the first row counts
);
