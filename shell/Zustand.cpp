#include "Zustand.h"

#include "Meldung.h"
#include "Programm.h"
#include "Registry.h"
#include "Sprache.h"
#include "Werte.h"

Zustand& zustand() {
  static Zustand z;
  return z;
}

QString sprachdateiFuer(const QString& sprache) {
  return zustand().Programmordner + QStringLiteral("kvastlang") + sprache + QStringLiteral(".dll");
}

void zustandStarten(const QString& programmordner, const QDate& heute) {
  Zustand& z = zustand();
  z.HeuteText = Werte::datumText(heute);
  z.Programmordner = mitTrenner(programmordner);
  z.Sprachdatei = sprachdateiFuer(ProduktWert(QStringLiteral("Sprache")));
  z.Datendatei = z.Programmordner + QStringLiteral("Daten.mdb");
  z.Tippdatei = z.Programmordner + QStringLiteral("tipps.dll");
  z.Hilfedatei = z.Programmordner + QStringLiteral("Hilfe.html");
}

QString Text(int nummer) {
  return SprachText(zustand().Sprachdatei, QStringLiteral("Sprache"), QString::number(nummer));
}

int MeldungNr(int prompt, int titel, int stil) {
  return Meldung(Text(prompt), Text(titel), stil, prompt, titel);
}

int MeldungNr(int prompt, int titel, int stil, const QString& grund) {
  QString text = Text(prompt);
  if (!grund.isEmpty())
    text += QStringLiteral("\n\n") + grund;
  return Meldung(text, Text(titel), stil, prompt, titel);
}

QString BenutzerSchluessel() {
  return BenutzerSchluessel(zustand().AktuellerBenutzer);
}

QString BenutzerSchluessel(const QString& benutzer) {
  return ProduktSchluessel + u'\\' + benutzer;
}

QString ProduktWert(const QString& name) {
  return Werte::alsText(RegistryLesen(HKCU, ProduktSchluessel, name));
}

QString BenutzerWert(const QString& name) {
  return Werte::alsText(RegistryLesen(HKCU, BenutzerSchluessel(), name));
}
