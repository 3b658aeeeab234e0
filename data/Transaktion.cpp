#include "Transaktion.h"

#include "Datenbank.h"
#include "Datensatzquelle.h"
#include "Verbindung.h"

Transaktion::Transaktion(const Datenbank& db) {
  beginnen(db);
}

Transaktion::Transaktion(Datensatzquelle& quelle) {
  beginnen(quelle.datenbank());
}

void Transaktion::beginnen(const Datenbank& db) {
  m_verbindung = db.verbindung();
  if (!m_verbindung) {
    m_fehler =
        db.fehler().isEmpty() ? QStringLiteral("Die Datei ist nicht geöffnet.") : db.fehler();
    return;
  }
  m_offen = true;
  m_begonnen = m_verbindung->beginnen(&m_fehler);
}

Transaktion::~Transaktion() {
  if (m_offen)
    m_verbindung->zuruecknehmen();
}

bool Transaktion::bestaetigen() {
  if (!m_offen)
    return false;
  m_offen = false;
  return m_verbindung->bestaetigen(&m_fehler);
}
