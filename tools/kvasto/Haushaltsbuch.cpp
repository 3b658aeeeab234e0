#include "Haushaltsbuch.h"

#include "Abfrage.h"
#include "Bedingung.h"
#include "Datensatzquelle.h"
#include "Meldung.h"
#include "Textvergleich.h"
#include "Transaktion.h"
#include "Umwandlung.h"
#include "Waehrungsumrechnung.h"
#include "Werte.h"
#include "Zustand.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QString Euro = u"EUR"_s;
// The bookings of a renamed account keep pointing at it.
const QString KontoInBuchungenUmbenennen =
    u"UPDATE Buchungen SET KontoName = ? WHERE KontoName = ? COLLATE "_s +
    QLatin1String(Textvergleich::Kollation);

QString text(const QVariant& wert) {
  return wert.isValid() ? wert.toString() : QString();
}

// Rows of a query through a source on `db`, counted by the engine; no value when that failed.
std::optional<int> zaehlen(const Datenbank& db, const Abfrage& abfrage, QString& fehler) {
  Datensatzquelle q;
  q.verbinden(db);
  q.abfrageSetzen(abfrage);
  const int n = q.anzahl();
  fehler = q.fehler();
  return fehler.isEmpty() ? std::optional<int>(n) : std::nullopt;
}

// A source on `db` on its first row of `abfrage`; eof() when there is none.
void ersteZeile(Datensatzquelle& q, const Datenbank& db, const Abfrage& abfrage) {
  q.verbinden(db);
  q.abfrageSetzen(abfrage);
  q.ersteZeile();
}

bool istWaehrungscode(const QString& code) {
  if (code.size() != 3)
    return false;
  return std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'A' && c <= u'Z'; });
}

// The inventory item of a booking: the first row with its number and with the date, category and
// description the booking dialog copied from it (the main program keeps them in step).
std::optional<qint64> inventarzeile(const Datenbank& db, Datensatzquelle& buchung) {
  const QVariant id = buchung.wert(u"ID"_s);
  if (!id.isValid() || buchung.wert(u"Versicherung"_s).toInt() == 0)
    return std::nullopt;
  Datensatzquelle q;
  ersteZeile(q, db,
             Abfrage(u"Inventar"_s, {u"rowid"_s})
                 .wo(u"ID"_s, id)
                 .wo(u"Datum"_s, buchung.wert(u"Datum"_s))
                 .wo(u"Kategorie"_s, buchung.wert(u"Kategorie"_s))
                 .wo(u"Beschreibung"_s, buchung.wert(u"Verwendungszweck"_s)));
  if (q.eof())
    return std::nullopt;
  return q.wert(u"rowid"_s).toLongLong();
}

const QString BuchungFehlt =
    u"Die Buchung gibt es nicht mehr; ein anderes Programm hat sie wohl gelöscht."_s;

}  // namespace

// --- results ---------------------------------------------------------------------------------

Aenderung Aenderung::ungueltig(const QString& grund, const QString& feld) {
  Aenderung e;
  e.art = Art::Ungueltig;
  e.grund = grund;
  e.feld = feld;
  return e;
}

Aenderung Aenderung::fehlgeschlagen(const QString& grund) {
  Aenderung e;
  e.art = Art::Fehlgeschlagen;
  e.grund = grund;
  return e;
}

Aenderung Aenderung::verwendet(const QString& konto, int anzahl) {
  Aenderung e;
  e.art = Art::Verwendet;
  e.name = konto;
  e.anzahl = anzahl;
  return e;
}

void Aenderung::melden() const {
  const auto mitGrund = [this](int nummer) {
    return grund.isEmpty() ? Text(nummer) : Text(nummer) + u"\n\n"_s + grund;
  };
  switch (art) {
    case Art::Gespeichert:
      return;
    case Art::Ungueltig:
      Meldung(mitGrund(3045), Text(3145), 48, 3045, 3145);
      return;
    case Art::Verwendet:
      Meldung(Text(3042).arg(name, QString::number(anzahl)), Text(3142), 48, 3042, 3142);
      return;
    case Art::Fehlgeschlagen:
      Meldung(mitGrund(3041), Text(3141), 16, 3041, 3141);
      return;
    case Art::FalschesKennwort:
      MeldungNr(1296, 1297, 16);
      return;
  }
}

// --- files -------------------------------------------------------------------------------------

Haushaltsbuch::Haushaltsbuch(const QString& datendatei) : m_datendatei(datendatei) {}

bool Haushaltsbuch::buchOeffnen(const QString& pfad, QString* fehler) {
  m_buch = Datenbank::oeffnen(pfad);
  if (fehler)
    *fehler = m_buch.fehler();
  return m_buch.offen();
}

void Haushaltsbuch::buchSchliessen() {
  m_buch = Datenbank();
}

Datenbank& Haushaltsbuch::daten() {
  if (!m_daten.offen())
    m_daten = Datenbank::oeffnen(m_datendatei);
  return m_daten;
}

std::optional<double> Haushaltsbuch::kursVon(const QString& waehrung) {
  Datensatzquelle q;
  q.verbinden(daten());
  q.abfrageSetzen(Abfrage(u"Wechselkurs"_s));
  if (!q.finden(Bedingung::gleich(u"Waehrung"_s, waehrung)))
    return std::nullopt;
  return gueltigerKurs(q.wert(u"Kurs"_s));
}

// --- accounts ----------------------------------------------------------------------------------

QList<Konto> Haushaltsbuch::konten() {
  QList<Konto> liste;
  if (!m_buch.offen())
    return liste;
  Datensatzquelle q;
  q.verbinden(m_buch);
  q.abfrageSetzen(Abfrage(u"Konten"_s).sortiert({u"KontoName"_s}));
  for (q.ersteZeile(); !q.eof(); q.naechsteZeile())
    liste.append(
        {text(q.wert(u"KontoName"_s)), text(q.wert(u"Waehrung"_s)), q.wert(u"Datum"_s).toDate()});
  return liste;
}

Aenderung Haushaltsbuch::kontoPruefen(const Konto& konto, const QString& bisher) {
  const QString name = konto.name.trimmed();
  if (name.isEmpty())
    return Aenderung::ungueltig(u"Bitte geben Sie einen Namen für das Konto ein."_s, u"txtName"_s);
  QString eigeneWaehrung;
  for (const Konto& k : konten()) {
    const bool selbst = !bisher.isEmpty() && Textvergleich::gleich(k.name, bisher);
    if (selbst)
      eigeneWaehrung = k.waehrung;
    else if (Textvergleich::gleich(k.name, name))
      return Aenderung::ungueltig(u"Ein Konto „%1“ gibt es schon."_s.arg(k.name), u"txtName"_s);
  }
  const QList<Kurs> alle = kurse();
  const bool aktiv = std::any_of(alle.cbegin(), alle.cend(), [&](const Kurs& k) {
    return k.aktiv && k.waehrung == konto.waehrung;
  });
  if (konto.waehrung.isEmpty() || (!aktiv && konto.waehrung != eigeneWaehrung))
    return Aenderung::ungueltig(u"Bitte wählen Sie eine der aktiven Währungen."_s,
                                u"cboWaehrung"_s);
  if (!konto.beginn.isValid())
    return Aenderung::ungueltig(
        u"Bitte geben Sie den Beginn des Kontos als Datum ein, zum Beispiel 01.01.2026."_s,
        u"txtBeginn"_s);
  return {};
}

Aenderung Haushaltsbuch::kontoAnlegen(const Konto& konto) {
  Transaktion t(m_buch);
  if (!t.begonnen())
    return Aenderung::fehlgeschlagen(t.fehler());
  if (const Aenderung e = kontoPruefen(konto, {}); !e.ok())
    return e;
  Datensatzquelle q;
  q.verbinden(m_buch);
  q.abfrageSetzen(Abfrage(u"Konten"_s));
  q.neu();
  const bool ok = q.setzen(u"KontoName"_s, konto.name.trimmed()) &&
                  q.setzen(u"Waehrung"_s, konto.waehrung) && q.setzen(u"Datum"_s, konto.beginn) &&
                  q.speichern();
  if (!ok)
    return Aenderung::fehlgeschlagen(q.fehler());
  if (!t.bestaetigen())
    return Aenderung::fehlgeschlagen(t.fehler());
  return {};
}

Aenderung Haushaltsbuch::kontoAendern(const QString& bisher, const Konto& konto) {
  Transaktion t(m_buch);
  if (!t.begonnen())
    return Aenderung::fehlgeschlagen(t.fehler());
  if (const Aenderung e = kontoPruefen(konto, bisher); !e.ok())
    return e;
  Datensatzquelle q;
  ersteZeile(q, m_buch, Abfrage(u"Konten"_s).wo(u"KontoName"_s, bisher));
  if (q.eof())
    return Aenderung::fehlgeschlagen(
        q.fehler().isEmpty() ? u"Das Konto „%1“ gibt es nicht mehr."_s.arg(bisher) : q.fehler());
  const QString name = konto.name.trimmed();
  bool ok = q.bearbeiten() && q.setzen(u"KontoName"_s, name) &&
            q.setzen(u"Waehrung"_s, konto.waehrung) && q.setzen(u"Datum"_s, konto.beginn) &&
            q.speichern();
  if (!ok)
    return Aenderung::fehlgeschlagen(q.fehler());
  if (name != bisher && !m_buch.ausfuehren(KontoInBuchungenUmbenennen, {name, bisher}))
    return Aenderung::fehlgeschlagen(m_buch.fehler());
  if (!t.bestaetigen())
    return Aenderung::fehlgeschlagen(t.fehler());
  return {};
}

int Haushaltsbuch::buchungenMitKonto(const QString& name) {
  QString fehler;
  return zaehlen(m_buch, Abfrage(u"Buchungen"_s).wo(u"KontoName"_s, name), fehler).value_or(0);
}

Aenderung Haushaltsbuch::kontoLoeschen(const QString& name) {
  Transaktion t(m_buch);
  if (!t.begonnen())
    return Aenderung::fehlgeschlagen(t.fehler());
  // Counted under the write lock: no booking can arrive between the count and the delete.
  QString fehler;
  const auto anzahl = zaehlen(m_buch, Abfrage(u"Buchungen"_s).wo(u"KontoName"_s, name), fehler);
  if (!anzahl)
    return Aenderung::fehlgeschlagen(fehler);
  if (*anzahl > 0)
    return Aenderung::verwendet(name, *anzahl);
  if (!m_buch.loeschen(Abfrage(u"Konten"_s).wo(u"KontoName"_s, name)))
    return Aenderung::fehlgeschlagen(m_buch.fehler());
  if (!t.bestaetigen())
    return Aenderung::fehlgeschlagen(t.fehler());
  return {};
}

// --- rates and insurance currency --------------------------------------------------------------

QList<Kurs> Haushaltsbuch::kurse() {
  QList<Kurs> liste;
  Datensatzquelle q;
  q.verbinden(daten());
  q.abfrageSetzen(Abfrage(u"Wechselkurs"_s).sortiert({u"Waehrung"_s}));
  for (q.ersteZeile(); !q.eof(); q.naechsteZeile())
    liste.append({text(q.wert(u"Waehrung"_s)), q.wert(u"Kurs"_s).toDouble(),
                  q.wert(u"Aktiv"_s).toInt() != 0});
  return liste;
}

Aenderung Haushaltsbuch::kursPruefen(const QString& kurs, float& wert) {
  const auto zahl = Werte::zahl(kurs);
  if (!zahl)
    return Aenderung::ungueltig(
        u"„%1“ ist keine Zahl. Geben Sie den Kurs als Einheiten der Währung je Euro ein, "
        "zum Beispiel 1,1."_s.arg(kurs.trimmed()),
        u"txtKurs"_s);
  wert = static_cast<float>(*zahl);
  if (!std::isfinite(wert))
    return Aenderung::ungueltig(u"Der Kurs ist zu groß."_s, u"txtKurs"_s);
  if (!(wert > 0))
    return Aenderung::ungueltig(u"Der Kurs muss größer als 0 sein."_s, u"txtKurs"_s);
  return {};
}

Aenderung Haushaltsbuch::kursAnlegen(const QString& waehrung, const QString& kurs, bool aktiv) {
  const QString code = waehrung.trimmed().toUpper();
  if (!istWaehrungscode(code))
    return Aenderung::ungueltig(
        u"Ein Währungscode besteht aus drei Buchstaben, zum Beispiel USD."_s, u"txtWaehrung"_s);
  float wert = 0;
  if (const Aenderung e = kursPruefen(kurs, wert); !e.ok())
    return e;
  if (code == Euro && wert != 1.0f)
    return Aenderung::ungueltig(
        u"Der Kurs des Euro ist immer 1, weil alle Kurse Einheiten je Euro angeben."_s,
        u"txtKurs"_s);
  Transaktion t(daten());
  if (!t.begonnen())
    return Aenderung::fehlgeschlagen(t.fehler());
  QString fehler;
  const auto vorhanden =
      zaehlen(daten(), Abfrage(u"Wechselkurs"_s).wo(u"Waehrung"_s, code), fehler);
  if (!vorhanden)
    return Aenderung::fehlgeschlagen(fehler);
  if (*vorhanden > 0)
    return Aenderung::ungueltig(u"Die Währung „%1“ gibt es schon."_s.arg(code), u"txtWaehrung"_s);
  Datensatzquelle q;
  q.verbinden(daten());
  q.abfrageSetzen(Abfrage(u"Wechselkurs"_s));
  q.neu();
  const bool ok = q.setzen(u"Waehrung"_s, code) && q.setzen(u"Kurs"_s, *Werte::zahl(kurs)) &&
                  q.setzen(u"Aktiv"_s, aktiv) && q.speichern();
  if (!ok)
    return Aenderung::fehlgeschlagen(q.fehler());
  if (!t.bestaetigen())
    return Aenderung::fehlgeschlagen(t.fehler());
  return {};
}

Aenderung Haushaltsbuch::kursAendern(const QString& waehrung, const QString& kurs) {
  float wert = 0;
  if (const Aenderung e = kursPruefen(kurs, wert); !e.ok())
    return e;
  if (waehrung == Euro && wert != 1.0f)
    return Aenderung::ungueltig(
        u"Der Kurs des Euro ist immer 1, weil alle Kurse Einheiten je Euro angeben."_s,
        u"txtKurs"_s);
  Transaktion t(daten());
  if (!t.begonnen())
    return Aenderung::fehlgeschlagen(t.fehler());
  // The row the booking dialog finds: the first of that code.
  Datensatzquelle q;
  ersteZeile(q, daten(), Abfrage(u"Wechselkurs"_s).wo(u"Waehrung"_s, waehrung));
  if (q.eof())
    return Aenderung::fehlgeschlagen(q.fehler().isEmpty()
                                         ? u"Die Währung „%1“ gibt es nicht mehr."_s.arg(waehrung)
                                         : q.fehler());
  if (!(q.bearbeiten() && q.setzen(u"Kurs"_s, *Werte::zahl(kurs)) && q.speichern()))
    return Aenderung::fehlgeschlagen(q.fehler());
  if (!t.bestaetigen())
    return Aenderung::fehlgeschlagen(t.fehler());
  return {};
}

Aenderung Haushaltsbuch::aktivSetzen(const QString& waehrung, bool aktiv) {
  Datensatzquelle q;
  ersteZeile(q, daten(), Abfrage(u"Wechselkurs"_s).wo(u"Waehrung"_s, waehrung));
  if (q.eof())
    return Aenderung::fehlgeschlagen(q.fehler().isEmpty()
                                         ? u"Die Währung „%1“ gibt es nicht mehr."_s.arg(waehrung)
                                         : q.fehler());
  // One statement: a transaction of its own.
  if (!(q.bearbeiten() && q.setzen(u"Aktiv"_s, aktiv) && q.speichern()))
    return Aenderung::fehlgeschlagen(q.fehler());
  return {};
}

QString Haushaltsbuch::versicherungswaehrung() {
  Datensatzquelle q;
  ersteZeile(q, daten(), Abfrage(u"Versicherung"_s));
  return text(q.wert(u"Waehrung"_s));
}

Aenderung Haushaltsbuch::versicherungSetzen(const QString& waehrung) {
  if (!kursVon(waehrung))
    return Aenderung::ungueltig(u"Für die Währung „%1“ gibt es keinen Kurs."_s.arg(waehrung),
                                u"cboVersicherung"_s);
  Transaktion t(daten());
  if (!t.begonnen())
    return Aenderung::fehlgeschlagen(t.fehler());
  // Only the first row counts; a table without one gets it.
  Datensatzquelle q;
  ersteZeile(q, daten(), Abfrage(u"Versicherung"_s));
  const bool ok = (q.eof() ? (q.neu(), true) : q.bearbeiten()) &&
                  q.setzen(u"Waehrung"_s, waehrung) && q.speichern();
  if (!ok)
    return Aenderung::fehlgeschlagen(q.fehler());
  if (!t.bestaetigen())
    return Aenderung::fehlgeschlagen(t.fehler());
  return {};
}

// --- bookings ----------------------------------------------------------------------------------

Aenderung Haushaltsbuch::buchungKorrigieren(qint64 zeile, const Buchungskorrektur& k) {
  Transaktion t(m_buch);
  if (!t.begonnen())
    return Aenderung::fehlgeschlagen(t.fehler());
  Datensatzquelle b;
  ersteZeile(b, m_buch, Abfrage(u"Buchungen"_s).wo(u"rowid"_s, zeile));
  if (b.eof())
    return Aenderung::fehlgeschlagen(b.fehler().isEmpty() ? BuchungFehlt : b.fehler());
  const bool einnahme = text(b.wert(u"Buchung"_s)) == u"Einnahme";

  // The account as the booking dialog finds it.
  Datensatzquelle konten;
  konten.verbinden(m_buch);
  konten.abfrageSetzen(Abfrage(u"Konten"_s));
  const QString kontoName = text(b.wert(u"KontoName"_s));
  const bool kontoDa = konten.finden(Bedingung::gleich(u"Kontoname"_s, kontoName));
  const QDate beginn = kontoDa ? konten.wert(u"Datum"_s).toDate() : QDate();

  const auto datum = Werte::datum(k.datum);
  if (!datum)
    return Aenderung::ungueltig(
        u"Bitte geben Sie ein gültiges Datum ein, zum Beispiel 05.03.2026."_s, u"txtDatum"_s);
  if (beginn.isValid() && *datum < beginn)
    return Aenderung::ungueltig(u"Das Datum liegt vor dem Beginn des Kontos „%1“ am %2."_s.arg(
                                    kontoName, Werte::datumText(beginn)),
                                u"txtDatum"_s);
  const auto betrag = Werte::zahl(k.betrag);
  if (!betrag || *betrag == 0)
    return Aenderung::ungueltig(u"Bitte geben Sie einen Betrag ungleich 0 ein."_s, u"txtBetrag"_s);
  const QString kategorie = k.kategorie.trimmed();
  if (kategorie.isEmpty())
    return Aenderung::ungueltig(u"Bitte geben Sie eine Kategorie ein."_s, u"cboKategorie"_s);

  // The converted amount is worked out again only for a new amount: a rate changed since the
  // booking must not move an amount nobody touched.
  const auto neuerBetrag = Umwandlung::speicherwert(Umwandlung::Spaltenart::Betrag, k.betrag);
  const QVariant alterBetrag = b.wert(u"Betrag"_s);
  const bool betragNeu =
      !alterBetrag.isValid() || alterBetrag.toDouble() != neuerBetrag->toDouble();
  const QString E = text(b.wert(u"Waehrung"_s));
  QString betragKonto;
  if (betragNeu) {
    if (!kontoDa)
      return Aenderung::ungueltig(
          u"Das Konto „%1“ der Buchung gibt es nicht mehr; der Betrag lässt sich nicht in seine "
          "Währung umrechnen."_s.arg(kontoName),
          u"txtBetrag"_s);
    const QString K = text(konten.wert(u"Waehrung"_s));
    const Umrechnung u = umrechnen(*betrag, E, kursVon(E), K, kursVon(K));
    if (u.fehler == Umrechnung::Fehler::OhneKurs)
      return Aenderung::ungueltig(
          u"Für die Währung „%1“ gibt es keinen Kurs; der Betrag lässt sich nicht umrechnen."_s
              .arg(u.waehrung),
          u"txtBetrag"_s);
    if (!u.ok())
      return Aenderung::ungueltig(u"Der Betrag lässt sich nicht umrechnen."_s, u"txtBetrag"_s);
    betragKonto = u.unveraendert ? k.betrag : Werte::formatieren(*u.betrag, Werte::Betragsformat);
  }

  std::optional<qint64> inventar;
  if (!einnahme)
    inventar = inventarzeile(m_buch, b);
  bool ok = b.bearbeiten() && b.setzen(u"Datum"_s, *datum) && b.setzen(u"Betrag"_s, k.betrag) &&
            b.setzen(u"Kategorie"_s, kategorie) &&
            b.setzen(u"Verwendungszweck"_s, k.verwendungszweck) &&
            b.setzen(einnahme ? u"Auftraggeber"_s : u"Empfaenger"_s, k.name) &&
            (!betragNeu || b.setzen(einnahme ? u"Einnahme"_s : u"Ausgabe"_s, betragKonto)) &&
            b.speichern();
  if (!ok)
    return Aenderung::fehlgeschlagen(b.fehler());
  if (inventar) {
    Datensatzquelle i;
    ersteZeile(i, m_buch, Abfrage(u"Inventar"_s).wo(u"rowid"_s, *inventar));
    ok = i.bearbeiten() && i.setzen(u"Kategorie"_s, kategorie) && i.setzen(u"Datum"_s, *datum) &&
         i.setzen(u"Beschreibung"_s, k.verwendungszweck);
    if (ok && betragNeu) {
      ok = i.setzen(u"Kaufpreis"_s, Werte::formatieren(k.betrag, Werte::Standard)) &&
           i.setzen(u"Betrag"_s, versicherungsbetrag(*betrag, E));
    }
    if (!(ok && i.speichern()))
      return Aenderung::fehlgeschlagen(i.fehler());
  }
  if (!t.bestaetigen())
    return Aenderung::fehlgeschlagen(t.fehler());
  return {};
}

QString Haushaltsbuch::versicherungsbetrag(double preis, const QString& E) {
  // As the booking dialog takes a purchase into the inventory: without an insurance currency, or
  // without a rate the way to it needs, the price stays as entered.
  const QString V = versicherungswaehrung();
  if (!V.isEmpty()) {
    const Umrechnung u = umrechnen(preis, E, kursVon(E), V, kursVon(V));
    if (u.ok() && !u.unveraendert)
      return Werte::formatieren(*u.betrag, Werte::Standard);
  }
  return Werte::formatieren(preis, Werte::Standard);
}

Aenderung Haushaltsbuch::buchungLoeschen(qint64 zeile) {
  Transaktion t(m_buch);
  if (!t.begonnen())
    return Aenderung::fehlgeschlagen(t.fehler());
  Datensatzquelle b;
  ersteZeile(b, m_buch, Abfrage(u"Buchungen"_s).wo(u"rowid"_s, zeile));
  if (b.eof())
    return Aenderung::fehlgeschlagen(b.fehler().isEmpty() ? BuchungFehlt : b.fehler());
  const auto inventar = inventarzeile(m_buch, b);
  const bool ok = m_buch.loeschen(Abfrage(u"Buchungen"_s).wo(u"rowid"_s, zeile)) &&
                  (!inventar || m_buch.loeschen(Abfrage(u"Inventar"_s).wo(u"rowid"_s, *inventar)));
  if (!ok)
    return Aenderung::fehlgeschlagen(m_buch.fehler());
  if (!t.bestaetigen())
    return Aenderung::fehlgeschlagen(t.fehler());
  return {};
}
