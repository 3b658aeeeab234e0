#pragma once
// A fresh program folder for one test: the runtime files of the built program folder (language,
// tips, help, pictures, template) and, on request, the demo data files made from the shipped
// schema. Removed when the object goes.

#include <QDir>
#include <QString>
#include <QTemporaryDir>

class Testordner {
 public:
  enum class Daten { Keine, Demo };
  explicit Testordner(Daten daten = Daten::Demo);

  bool ok() const { return m_ok; }
  QString fehler() const { return m_fehler; }
  // Ends in "/", like the program folder.
  QString pfad() const { return m_pfad; }
  QString datei(const QString& name) const { return m_pfad + name; }

  // The demo settings (Anna as default user) in the current settings store.
  bool demoEinstellungen();

 private:
  QTemporaryDir m_temp;
  QString m_pfad;
  QString m_fehler;
  bool m_ok = false;
};

// The built program folder, with its executables (zamlo, update, kvasto).
QString gebauterProgrammordner();
