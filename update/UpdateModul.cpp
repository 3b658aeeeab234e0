#include "UpdateModul.h"

#include "DownloadForm.h"
#include "DownloadZiel.h"
#include "Meldung.h"
#include "Programm.h"
#include "Registry.h"
#include "Sprache.h"

#include <QDir>

UpdateZustand& updateZustand() {
  static UpdateZustand z;
  return z;
}

QString Versionsdatei() {
  return updateZustand().Programmordner + QStringLiteral("programm.ver");
}

QString UpdateText(int nummer) {
  return SprachText(updateZustand().Sprachdatei, QStringLiteral("Sprache"),
                    QString::number(nummer));
}

QString Anzeige(const QString& text) {
  QString t = text;
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  t.replace(u'\r', u'\n');
  return t;
}

int UpdateMeldung(const QString& prompt, const QString& titel, int stil) {
  return Meldung(Anzeige(prompt), titel, stil);
}

int UpdateMeldungNr(int prompt, int titel, int stil) {
  return UpdateMeldung(UpdateText(prompt), UpdateText(titel), stil);
}

void UpdateStart(const QString& programmordner) {
  UpdateZustand& z = updateZustand();
  z.Programmordner = mitTrenner(programmordner);
  z.Sprachdatei = z.Programmordner + QStringLiteral("kvastlang") +
                  RegistryLesen(HKCU, ProduktSchluessel, QStringLiteral("Sprache")).toString() +
                  QStringLiteral(".dll");
  z.UpdateAdresse = RegistryLesen(HKCU, ProduktSchluessel, QStringLiteral("URL")).toString();
  // What a killed run left beside the main program goes first, whatever this run does.
  DownloadZiel::resteEntfernen(z.Programmordner + Hauptprogramm);

  if (UpdateMeldungNr(1689, 1690, 36) != Antwort::Ja)
    return;
  DownloadForm form;
  form.UpdatePruefen();
}

void UpdateHolen(DownloadForm& form) {
  UpdateZustand& z = updateZustand();
  form.DownloadFile(z.UpdateAdresse + Hauptprogramm, z.Programmordner + Hauptprogramm, QString(),
                    QString());
  if (z.DownloadErfolgreich) {
    QString grund;
    if (form.ProgrammversionSchreiben(&grund)) {
      UpdateMeldungNr(1691, 1692, 64);
    } else {
      QString prompt =
          UpdateText(3030) + QStringLiteral("\r\r") + QDir::toNativeSeparators(Versionsdatei());
      if (!grund.isEmpty())
        prompt += u'\r' + grund;
      UpdateMeldung(prompt, UpdateText(3130), 48);
    }
  } else {
    UpdateMeldungNr(1693, 1694, 64);
  }
}
