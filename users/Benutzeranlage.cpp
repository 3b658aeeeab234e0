#include "Benutzeranlage.h"

#include "Abfrage.h"
#include "Datenbank.h"
#include "Datensatzquelle.h"
#include "Kennwortkodierung.h"
#include "Meldung.h"
#include "Registry.h"
#include "Transaktion.h"
#include "Zustand.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

using namespace Qt::StringLiterals;

namespace {

QString nativ(const QString& pfad) {
  return QDir::toNativeSeparators(pfad);
}

// Names the Windows file system takes for devices, whatever follows the dot.
bool geraetename(const QString& name) {
  static const QStringList namen = {u"CON"_s, u"PRN"_s, u"AUX"_s, u"NUL"_s};
  const QString gross = name.toUpper();
  if (namen.contains(gross))
    return true;
  return gross.size() == 4 && (gross.startsWith(u"COM"_s) || gross.startsWith(u"LPT"_s)) &&
         gross.back() >= u'1' && gross.back() <= u'9';
}

}  // namespace

Benutzeranlage::Benutzeranlage(Datensatzquelle& Data1, const QString& programmordner,
                               const QString& name, const QString& kennwort)
    : m_data1(Data1),
      m_ordner(programmordner),
      m_name(name),
      m_kennwort(kennwort),
      m_ziel(programmordner + name + u".mdb"_s) {}

Benutzeranlage::~Benutzeranlage() {
  // A creation that did not finish leaves nothing behind.
  if (m_transaktion || !m_temp.isEmpty() || !m_alteEinstellungen.isEmpty())
    rueckgaengig();
}

const QList<QPair<QString, QString>>& Benutzeranlage::Standardeinstellungen() {
  static const QList<QPair<QString, QString>> werte = {
      {u"Schema"_s, u"Standard"_s},
      {u"RowColorEven"_s, u"&H00E0E0E0&"_s},
      {u"RowColorOdd"_s, u"&H00A5E3F5&"_s},
      {u"Sprache"_s, u"Deutsch"_s},
      {u"Zamlotipp"_s, u"1"_s},
  };
  return werte;
}

QString Benutzeranlage::namensfehler(const QString& name) {
  if (name.isEmpty())
    return u"Der Benutzername ist leer."_s;
  for (const QChar c : name) {
    if (c.unicode() < 32 || QStringView(u"\\/:*?\"<>|").contains(c))
      return u"Ein Benutzername darf keines der Zeichen \\ / : * ? \" < > | enthalten, denn er "
             u"wird auch als Dateiname des Haushaltsbuchs verwendet."_s;
  }
  if (geraetename(name))
    return u"„%1“ ist als Dateiname nicht erlaubt. Bitte wählen Sie einen anderen Namen."_s.arg(
        name);
  return {};
}

bool Benutzeranlage::buchVorhanden(const QString& programmordner, const QString& name) {
  const QString datei = name + u".mdb"_s;
  if (QFileInfo::exists(programmordner + datei))
    return true;
  // Also a file that differs in letter case only, and a link that points nowhere.
  const QStringList eintraege =
      QDir(programmordner)
          .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& eintrag : eintraege) {
    if (eintrag.compare(datei, Qt::CaseInsensitive) == 0)
      return true;
  }
  return false;
}

Benutzeranlage::Ergebnis Benutzeranlage::pruefen() {
  m_grund.clear();
  if (const QString fehler = namensfehler(m_name); !fehler.isEmpty()) {
    m_grund = fehler;
    return Ergebnis::NameUngueltig;
  }
  if (buchVorhanden(m_ordner, m_name))
    return Ergebnis::BuchVorhanden;
  // A user whose name differs in letter case only would share the book on Windows, and the
  // per-user settings key everywhere ("=" ignores letter case).
  m_data1.abfrageSetzen(Abfrage(u"Benutzer"_s).wo(u"Benutzername"_s, m_name));
  m_data1.ersteZeile();
  if (!m_data1.eof())
    return Ergebnis::BuchVorhanden;
  // Stored uncoded, such a password would let anyone in.
  if (!KennwortKodieren(m_kennwort))
    return Ergebnis::KennwortUngueltig;
  return Ergebnis::Angelegt;
}

Benutzeranlage::Ergebnis Benutzeranlage::anlegen() {
  if (const Ergebnis e = pruefen(); e != Ergebnis::Angelegt)
    return e;
  if (!BuchdateiAnlegen() || !BenutzerEintragen() || !BenutzerEinstellungenAnlegen()) {
    rueckgaengig();
    return Ergebnis::Fehlgeschlagen;
  }
  // A book of that name may have come up in the meantime (another program, another letter case).
  if (buchVorhanden(m_ordner, m_name)) {
    rueckgaengig();
    return Ergebnis::BuchVorhanden;
  }
  if (!einsetzen()) {
    rueckgaengig();
    return buchVorhanden(m_ordner, m_name) ? Ergebnis::BuchVorhanden : Ergebnis::Fehlgeschlagen;
  }
  if (!m_transaktion->bestaetigen()) {
    scheitern(m_transaktion->fehler());
    rueckgaengig();
    return Ergebnis::Fehlgeschlagen;
  }
  m_transaktion.reset();
  m_alteEinstellungen.clear();
  // The program-wide handle of the household book, as the booking dialogs keep it.
  Datenbank::buchdateiOeffnen(m_ziel);
  return Ergebnis::Angelegt;
}

bool Benutzeranlage::scheitern(const QString& grund) {
  m_grund = grund;
  return false;
}

bool Benutzeranlage::BuchdateiAnlegen() {
  const QString vorlage = m_ordner + u"unbenannt.mdb"_s;
  QFile quelle(vorlage);
  if (!quelle.open(QIODevice::ReadOnly))
    return scheitern(
        u"Die Vorlage „%1“ fehlt oder kann nicht gelesen werden."_s.arg(nativ(vorlage)));
  const QByteArray inhalt = quelle.readAll();
  if (quelle.error() != QFileDevice::NoError)
    return scheitern(u"Die Vorlage „%1“ kann nicht gelesen werden: %2"_s.arg(nativ(vorlage),
                                                                             quelle.errorString()));

  // A name of its own beside the target, created new, never an existing file.
  QFile kopie;
  for (int versuch = 0; versuch < 20 && m_temp.isEmpty(); ++versuch) {
    const QString pfad =
        m_ordner + u"unbenannt-%1.tmp"_s.arg(QRandomGenerator::global()->bounded(1000000), 6, 10,
                                             QLatin1Char('0'));
    kopie.setFileName(pfad);
    if (kopie.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
      m_temp = pfad;
    else if (!QFileInfo::exists(pfad))
      break;
  }
  if (m_temp.isEmpty())
    return scheitern(u"Im Programmordner „%1“ kann keine Datei angelegt werden: %2"_s.arg(
        nativ(m_ordner), kopie.errorString()));
  // Unbuffered, so that a short write (a full disk) shows in the count.
  const bool geschrieben = kopie.write(inhalt) == inhalt.size();
  const QString schreibfehler = kopie.errorString();
  kopie.close();
  if (!geschrieben || kopie.error() != QFileDevice::NoError)
    return scheitern(u"Die Vorlage konnte nicht nach „%1“ kopiert werden: %2"_s.arg(nativ(m_temp),
                                                                                    schreibfehler));

  Datensatzquelle Data2;
  Data2.verbinden(m_temp);
  Data2.abfrageSetzen(Abfrage(u"Benutzer"_s));
  Data2.neu();
  // Both columns or no row: a book row without its password is no use to the main program.
  const bool gesetzt =
      Data2.setzen(u"Benutzername"_s, m_name) && Data2.setzen(u"Kennwort"_s, m_kennwort);
  const bool gespeichert = gesetzt && Data2.speichern();
  const QString fehler = Data2.fehler();
  if (!gespeichert)
    Data2.abbrechen();
  // Closed before the file is moved, so that no journal stays behind at the temporary name.
  Data2.schliessen();
  if (!gespeichert)
    return scheitern(!gesetzt || fehler.isEmpty()
                         ? u"Die Vorlage „%1“ hat keine Tabelle Benutzer mit den Spalten "
                           u"Benutzername und Kennwort."_s.arg(nativ(vorlage))
                         : fehler);
  return true;
}

bool Benutzeranlage::BenutzerEintragen() {
  m_transaktion = std::make_unique<Transaktion>(m_data1);
  if (!m_transaktion->begonnen())
    return scheitern(m_transaktion->fehler());
  m_data1.abfrageSetzen(Abfrage(u"Benutzer"_s));
  m_data1.neu();
  const bool gesetzt =
      m_data1.setzen(u"Benutzername"_s, m_name) &&
      m_data1.setzen(u"Kennwort"_s, KennwortKodieren(m_kennwort).value_or(QString()));
  if (!gesetzt || !m_data1.speichern()) {
    const QString fehler = m_data1.fehler();
    m_data1.abbrechen();
    return scheitern(gesetzt && !fehler.isEmpty()
                         ? fehler
                         : u"Die Datei „%1“ hat keine Tabelle Benutzer mit den Spalten "
                           u"Benutzername und Kennwort."_s.arg(nativ(m_data1.pfad())));
  }
  return true;
}

bool Benutzeranlage::BenutzerEinstellungenAnlegen() {
  const QString schluessel = ProduktSchluessel + u'\\' + m_name;
  // One step for every other process: they see all five values or none.
  const Registry::Sperre sperre;
  for (const auto& [name, wert] : Standardeinstellungen()) {
    const QVariant alt = RegistryLesen(HKCU, schluessel, name);
    if (const qint32 status = RegistrySchreiben(HKCU, schluessel, name, wert); status != 0)
      return scheitern(
          u"Die Einstellung „%1“ des neuen Benutzers konnte nicht gespeichert werden (Fehler %2)."_s
              .arg(name)
              .arg(status));
    m_alteEinstellungen.append({name, alt});
  }
  return true;
}

bool Benutzeranlage::einsetzen() {
  // QFile::rename never replaces an existing file.
  if (!QFile::rename(m_temp, m_ziel))
    return scheitern(u"Das Haushaltsbuch „%1“ konnte nicht angelegt werden."_s.arg(nativ(m_ziel)));
  m_temp.clear();
  m_eingesetzt = true;
  return true;
}

void Benutzeranlage::rueckgaengig() {
  // The row of Daten.mdb goes with the transaction that was not committed.
  m_transaktion.reset();
  if (!m_alteEinstellungen.isEmpty()) {
    const QString schluessel = ProduktSchluessel + u'\\' + m_name;
    const Registry::Sperre sperre;
    for (auto it = m_alteEinstellungen.crbegin(); it != m_alteEinstellungen.crend(); ++it) {
      const auto& [name, alt] = *it;
      if (!alt.isValid())
        RegistryLoeschen(HKCU, schluessel, name);
      else
        RegistrySchreiben(HKCU, schluessel, name, alt, alt.typeId() == QMetaType::QString);
    }
    m_alteEinstellungen.clear();
  }
  // Only the file this creation put there: anything that was there before was never replaced.
  if (m_eingesetzt) {
    QFile::remove(m_ziel);
    m_eingesetzt = false;
  }
  if (!m_temp.isEmpty()) {
    QFile::remove(m_temp);
    QFile::remove(m_temp + u"-journal"_s);
    m_temp.clear();
  }
}

void Benutzeranlage::melden(Ergebnis ergebnis) const {
  switch (ergebnis) {
    case Ergebnis::Angelegt:
      return;
    case Ergebnis::BuchVorhanden:
      MeldungNr(3006, 3106, 48);
      return;
    case Ergebnis::KennwortUngueltig:
      MeldungNr(3007, 3107, 48);
      return;
    case Ergebnis::NameUngueltig:
    case Ergebnis::Fehlgeschlagen: {
      QString prompt = Text(3009);
      if (!m_grund.isEmpty())
        prompt += u"\n\n"_s + m_grund;
      Meldung(prompt, Text(3109), 16);
      return;
    }
  }
}
