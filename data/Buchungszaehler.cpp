#include "Buchungszaehler.h"

#include "Registry.h"
#include "Werte.h"
#include "Zustand.h"

#include <limits>

std::optional<qint16> gespeicherteID() {
  return gespeicherteID(zustand().AktuellerBenutzer);
}

std::optional<qint16> gespeicherteID(const QString& benutzer) {
  const QString text =
      Werte::alsText(RegistryLesen(HKCU, BenutzerSchluessel(benutzer), QStringLiteral("ID")));
  if (const auto n = Werte::ganzzahl16(text))
    return n;
  // A number past the 16-bit range is a counter that cannot go on; anything else reads as 0.
  if (const auto z = Werte::zahl(text); z && *z > std::numeric_limits<qint16>::max())
    return std::nullopt;
  return qint16(0);
}

bool IDauslesen() {
  return IDauslesen(zustand().AktuellerBenutzer);
}

bool IDauslesen(const QString& benutzer) {
  const auto gespeichert = gespeicherteID(benutzer);
  if (!gespeichert || *gespeichert == std::numeric_limits<qint16>::max())
    return false;
  zustand().AktuelleID = qint16(*gespeichert + 1);
  return true;
}

qint32 IDspeichern() {
  return IDspeichern(zustand().AktuellerBenutzer);
}

qint32 IDspeichern(const QString& benutzer) {
  return RegistrySchreiben(HKCU, BenutzerSchluessel(benutzer), QStringLiteral("ID"),
                           QString::number(zustand().AktuelleID));
}
