// What the settings store shares on every platform.

#include "Registry.h"

namespace Registry {

QString fehlergrund(qint32 status) {
  switch (status) {
    case 0:
      return {};
    case FehlerGesperrt:
      return QStringLiteral(
          "Die Einstellungen werden gerade von einem anderen Programm geändert. Bitte versuchen "
          "Sie es in einem Augenblick noch einmal.");
    case FehlerZugriff:
      return QStringLiteral(
          "Die Einstellungen können nicht gespeichert werden, weil ihr Ordner oder ihre Datei "
          "schreibgeschützt ist.");
    case FehlerSchreiben:
      return QStringLiteral(
          "Die Einstellungen konnten nicht vollständig geschrieben werden; vermutlich ist der "
          "Datenträger voll. Die bisherigen Einstellungen bleiben erhalten.");
    default:
      return QStringLiteral("Die Einstellungen konnten nicht gespeichert werden (Fehlercode %1).")
          .arg(status);
  }
}

}  // namespace Registry
