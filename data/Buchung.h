#pragma once
// One booking as the expense and income dialogs commit it: the row in Buchungen and, for an
// expense taken into the inventory, the row in Inventar with the same number.
//
//   Buchung b;
//   b.art = Buchungsart::Ausgabe;
//   b.Benutzer = benutzerDesDialogs;         // the counter's key
//   b.KontoName = cboKonto->currentText();   b.Datum = txtDatum->text();
//   b.Betrag = txtBetrag->text();            b.Waehrung = cboWaehrung->currentText();
//   b.BetragKonto = lbBetrag->text();        b.Name = cboEmpfaenger->currentText();
//   b.Kategorie = cboKategorie->currentText();
//   b.Verwendungszweck = cboVerwendungszweck->currentText();
//   b.Versicherung = Check1->isChecked() ? 1 : 0;
//   if (Check1->isChecked()) b.inventar = InventarzeileBilden();
//   const Buchungsergebnis e = BuchungSpeichern(Data1, b);
//   if (!e.ok()) { BuchungsfehlerMelden(e); return; }   // the fields stay as they are

#include "Buchungsmeldung.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>
#include <optional>

class Datensatzquelle;

enum class Buchungsart { Ausgabe, Einnahme };

// The inventory item of an expense, as the dialog's texts give it; ID, Versichert (true) and
// Bemerkung (empty) are added when it is written.
struct Inventarzeile {
  QString Besitzer;      // the user the dialog was loaded for
  QString Kategorie;     // cboKategorie
  QString Datum;         // txtDatum
  QString Beschreibung;  // cboVerwendungszweck
  QString Kaufpreis;     // txtBetrag through "Standard"
  QString Waehrung;      // cboWaehrung
  QString Betrag;        // KaufpreisVersicherung through "Standard"
};

struct Buchung {
  Buchungsart art = Buchungsart::Ausgabe;
  // Whose counter numbers the booking: the user the dialog was loaded for. None: the signed-in
  // user's.
  std::optional<QString> Benutzer;
  QString KontoName;         // cboKonto
  QString Datum;             // txtDatum
  QString Betrag;            // txtBetrag, in the entry currency
  QString Waehrung;          // cboWaehrung, the entry currency
  QString BetragKonto;       // caption of lbBetrag: into Ausgabe or Einnahme by the kind
  QString Name;              // cboEmpfaenger (expense) or cboAuftraggeber (income)
  QString Kategorie;         // cboKategorie
  QString Verwendungszweck;  // cboVerwendungszweck
  int Versicherung = 0;      // Check1, 0 or 1; written for an expense only
  std::optional<Inventarzeile> inventar;
};

// A stored booking as it was written, so that it can be taken back while nobody has changed it:
// the rows by their rowids with every column as the file held it right after the commit.
struct Buchungsbeleg {
  QString pfad;  // the household book
  qint64 zeile = 0;
  QVariantList werte;  // SELECT * of the booking row
  qint64 inventarzeile = 0;  // 0: no inventory item
  QVariantList inventarwerte;
};

struct Buchungsergebnis {
  enum class Status {
    Gespeichert,
    NichtGespeichert,   // message 3001 with the reason; the number is used up
    ZaehlerErschoepft,  // message 3002; nothing stored, the counter unchanged
  };
  Status status = Status::NichtGespeichert;
  qint16 id = 0;  // the booking number given (Gespeichert, NichtGespeichert)
  QString grund;  // why it was not stored, in German
  Buchungsbeleg beleg;  // Gespeichert: what was written

  bool ok() const { return status == Status::Gespeichert; }
};

// The columns of the booking row with their values, in the order they are written: ID,
// KontoName, Buchung, Datum, Betrag, Waehrung, Einnahme, Ausgabe, Empfaenger, Auftraggeber,
// Kategorie, Verwendungszweck and, for an expense, Versicherung. Saldo is never written.
QList<QPair<QString, QVariant>> Buchungszeile(const Buchung& buchung, qint16 id);

// The columns of the inventory row, in order: ID, Besitzer, Kategorie, Datum, Beschreibung,
// Kaufpreis, Waehrung, Betrag, Versichert, Bemerkung.
QList<QPair<QString, QVariant>> Inventarspalten(const Inventarzeile& zeile, qint16 id);

// The commit of a booking after the dialog's validation: IDauslesen and IDspeichern of the
// booking's user (before the write, so that a crash never hands one number out twice; a failed
// write uses up its number); the booking row and the inventory row (when given) in one transaction
// on Data1's file. At a stored counter of 32767 nothing happens at all; a counter that cannot be
// saved stores nothing.
Buchungsergebnis BuchungSpeichern(Datensatzquelle& Data1, const Buchung& buchung);

// Takes a stored booking back: the booking row and its inventory item go in one transaction, and
// only while both are exactly as they were written (nobody, the main program included, changed or
// deleted either). The counter is not touched: the number stays used.
Ruecknahme BuchungZuruecknehmen(const Buchungsbeleg& beleg);

// Message 3001 (with the reason below it) or 3002 for a booking that was not stored.
void BuchungsfehlerMelden(const Buchungsergebnis& ergebnis);
