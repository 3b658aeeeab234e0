#include "Buchung.h"

#include "Abfrage.h"
#include "Buchungszaehler.h"
#include "Datenbank.h"
#include "Datensatzquelle.h"
#include "Registry.h"
#include "Verbindung.h"
#include "Transaktion.h"
#include "Werte.h"
#include "Zustand.h"

namespace {

QString nullBetrag() {
  return Werte::formatieren(QStringLiteral("0,00"), Werte::Standard);
}

// Appends one row; a column whose value does not fit is left out, as the row is stored anyway.
bool anhaengen(Datensatzquelle& quelle, const QList<QPair<QString, QVariant>>& spalten,
               QString& grund) {
  quelle.neu();
  for (const auto& [spalte, wert] : spalten)
    quelle.setzen(spalte, wert);
  if (quelle.speichern())
    return true;
  grund = quelle.fehler();
  return false;
}

// One row by its rowid, every column as the file holds it; empty when there is none.
bool zeileLesen(Datenbank& db, const QString& tabelle, qint64 zeile, QVariantList& werte,
                QString& grund) {
  QStringList spalten;
  QList<QVariantList> zeilen;
  werte.clear();
  if (!db.verbindung()->lesen(QStringLiteral("SELECT * FROM ") + tabelle +
                                  QStringLiteral(" WHERE rowid = ?"),
                              {zeile}, spalten, zeilen, &grund))
    return false;
  if (!zeilen.isEmpty())
    werte = zeilen.front();
  return true;
}

// The row just appended on this connection, every column as the file holds it.
bool angehaengteZeile(Datenbank& db, const QString& tabelle, qint64& zeile, QVariantList& werte,
                      QString& grund) {
  const auto nummer =
      db.verbindung()->einzelwert(QStringLiteral("SELECT last_insert_rowid()"), {}, &grund);
  if (!nummer)
    return false;
  zeile = nummer->toLongLong();
  return zeileLesen(db, tabelle, zeile, werte, grund);
}

}  // namespace

QList<QPair<QString, QVariant>> Buchungszeile(const Buchung& b, qint16 id) {
  const bool ausgabe = b.art == Buchungsart::Ausgabe;
  QList<QPair<QString, QVariant>> zeile = {
      {QStringLiteral("ID"), int(id)},
      {QStringLiteral("KontoName"), b.KontoName},
      {QStringLiteral("Buchung"), ausgabe ? QStringLiteral("Ausgabe") : QStringLiteral("Einnahme")},
      {QStringLiteral("Datum"), b.Datum},
      {QStringLiteral("Betrag"), b.Betrag},
      {QStringLiteral("Waehrung"), b.Waehrung},
      {QStringLiteral("Einnahme"), ausgabe ? nullBetrag() : b.BetragKonto},
      {QStringLiteral("Ausgabe"), ausgabe ? b.BetragKonto : nullBetrag()},
      {QStringLiteral("Empfaenger"), ausgabe ? b.Name : QString()},
      {QStringLiteral("Auftraggeber"), ausgabe ? QString() : b.Name},
      {QStringLiteral("Kategorie"), b.Kategorie},
      {QStringLiteral("Verwendungszweck"), b.Verwendungszweck},
  };
  if (ausgabe)
    zeile.append({QStringLiteral("Versicherung"), b.Versicherung});
  return zeile;
}

QList<QPair<QString, QVariant>> Inventarspalten(const Inventarzeile& z, qint16 id) {
  return {
      {QStringLiteral("ID"), int(id)},
      {QStringLiteral("Besitzer"), z.Besitzer},
      {QStringLiteral("Kategorie"), z.Kategorie},
      {QStringLiteral("Datum"), z.Datum},
      {QStringLiteral("Beschreibung"), z.Beschreibung},
      {QStringLiteral("Kaufpreis"), z.Kaufpreis},
      {QStringLiteral("Waehrung"), z.Waehrung},
      {QStringLiteral("Betrag"), z.Betrag},
      {QStringLiteral("Versichert"), true},
      {QStringLiteral("Bemerkung"), QString()},
  };
}

Buchungsergebnis BuchungSpeichern(Datensatzquelle& Data1, const Buchung& b) {
  Buchungsergebnis e;
  {
    // Reading and saving the counter are one step for other processes that write settings. The
    // counter is saved before the row is written, not after: a crash between the two then leaves
    // an unused number instead of two bookings with the same number. A failed write uses up its
    // number either way; a counter that cannot be saved stops the booking for the same reason.
    // Without the lock nothing is read or changed, AktuelleID included.
    const Registry::Sperre sperre;
    if (!sperre.gesperrt()) {
      e.grund = Registry::fehlergrund(sperre.status());
      return e;
    }
    const QString benutzer = b.Benutzer.value_or(zustand().AktuellerBenutzer);
    if (!IDauslesen(benutzer)) {
      e.status = Buchungsergebnis::Status::ZaehlerErschoepft;
      return e;
    }
    e.id = zustand().AktuelleID;
    if (const qint32 status = IDspeichern(benutzer); status != 0) {
      e.grund = QStringLiteral("Der Buchungszähler konnte nicht gespeichert werden. ") +
                Registry::fehlergrund(status);
      return e;
    }
  }
  // The income dialog sets its source here; the expense dialog relies on the one set at load.
  if (b.art == Buchungsart::Einnahme ||
      Data1.abfrage().tabelle().compare(u"Buchungen", Qt::CaseInsensitive) != 0)
    Data1.abfrageSetzen(Abfrage(QStringLiteral("Buchungen")));
  {
    Transaktion t(Data1);
    bool ok = t.begonnen();
    if (!ok)
      e.grund = t.fehler();
    Buchungsbeleg& beleg = e.beleg;
    ok = ok && anhaengen(Data1, Buchungszeile(b, e.id), e.grund);
    ok = ok && angehaengteZeile(Data1.datenbank(), QStringLiteral("Buchungen"), beleg.zeile,
                                beleg.werte, e.grund);
    if (ok && b.inventar) {
      Datensatzquelle inventar;
      inventar.verbinden(Data1.datenbank());
      inventar.abfrageSetzen(Abfrage(QStringLiteral("Inventar")));
      ok = anhaengen(inventar, Inventarspalten(*b.inventar, e.id), e.grund) &&
           angehaengteZeile(Data1.datenbank(), QStringLiteral("Inventar"), beleg.inventarzeile,
                            beleg.inventarwerte, e.grund);
    }
    beleg.pfad = Data1.pfad().isEmpty() ? Data1.datenbank().pfad() : Data1.pfad();
    if (ok && !t.bestaetigen()) {
      ok = false;
      e.grund = t.fehler();
    }
    if (ok)
      e.status = Buchungsergebnis::Status::Gespeichert;
  }
  return e;
}

Ruecknahme BuchungZuruecknehmen(const Buchungsbeleg& beleg) {
  Ruecknahme r;
  Datenbank db = Datenbank::oeffnen(beleg.pfad);
  if (!db.offen()) {
    r.grund = db.fehler();
    return r;
  }
  Transaktion t(db);
  if (!t.begonnen()) {
    r.grund = t.fehler();
    return r;
  }
  // Read under the write lock, so that nothing can change between the comparison and the delete.
  const auto unveraendert = [&](const QString& tabelle, qint64 zeile, const QVariantList& werte) {
    QVariantList jetzt;
    if (!zeileLesen(db, tabelle, zeile, jetzt, r.grund))
      return false;
    return !jetzt.isEmpty() && jetzt == werte;
  };
  const bool mitInventar = beleg.inventarzeile != 0;
  if (!unveraendert(QStringLiteral("Buchungen"), beleg.zeile, beleg.werte) ||
      (mitInventar && !unveraendert(QStringLiteral("Inventar"), beleg.inventarzeile,
                                    beleg.inventarwerte))) {
    if (r.grund.isEmpty())
      r.status = Ruecknahme::Status::Veraendert;
    return r;
  }
  const auto loeschen = [&](const QString& tabelle, qint64 zeile) {
    QString grund;
    int geaendert = 0;
    const bool ok = db.verbindung()->schreiben(
        QStringLiteral("DELETE FROM ") + tabelle + QStringLiteral(" WHERE rowid = ?"), {zeile},
        &grund, &geaendert);
    if (!ok)
      r.grund = grund;
    return ok && geaendert == 1;
  };
  if (!loeschen(QStringLiteral("Buchungen"), beleg.zeile) ||
      (mitInventar && !loeschen(QStringLiteral("Inventar"), beleg.inventarzeile)) ||
      !t.bestaetigen()) {
    if (r.grund.isEmpty())
      r.grund = t.fehler();
    return r;
  }
  r.status = Ruecknahme::Status::Zurueckgenommen;
  return r;
}

void BuchungsfehlerMelden(const Buchungsergebnis& e) {
  switch (e.status) {
    case Buchungsergebnis::Status::Gespeichert:
      return;
    case Buchungsergebnis::Status::ZaehlerErschoepft:
      MeldungNr(3002, 3102, 48);
      return;
    case Buchungsergebnis::Status::NichtGespeichert:
      MeldungNr(3001, 3101, 16, e.grund);
      return;
  }
}
