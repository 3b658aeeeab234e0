#include "Benutzeranlage.h"

#include "Abfrage.h"
#include "Dateischreiben.h"
#include "Datenbank.h"
#include "Datensatzquelle.h"
#include "Kennwortkodierung.h"
#include "Registry.h"
#include "Transaktion.h"
#include "Zustand.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

QString nativ(const QString& pfad) {
  return QDir::toNativeSeparators(pfad);
}

// Names the Windows file system takes for devices: whatever follows the first dot, and with
// blanks or dots before it ("CON.txt", "NUL .x", "CON " are the devices).
bool geraetename(const QString& name) {
  static const QStringList namen = {u"CON"_s, u"PRN"_s, u"AUX"_s, u"NUL"_s};
  QString stamm = name.section(u'.', 0, 0).toUpper();
  while (stamm.endsWith(u' '))
    stamm.chop(1);
  if (namen.contains(stamm))
    return true;
  // COM1-COM9 and LPT1-LPT9, also with the superscript digits ¹ ² ³.
  static const QString ziffern = u"123456789\u00B9\u00B2\u00B3"_s;
  return stamm.size() == 4 && (stamm.startsWith(u"COM"_s) || stamm.startsWith(u"LPT"_s)) &&
         ziffern.contains(stamm.back());
}

// The longest file the engine makes beside a book is "<name>.mdb-journal" ("-wal", "-shm").
static_assert(Benutzeranlage::Namenslaenge + sizeof(".mdb-journal") - 1 == 255);

// The hash a note keeps of the copy it put in place; "" for a file that cannot be read.
QString pruefsumme(const QString& datei) {
  QFile f(datei);
  if (!f.open(QIODevice::ReadOnly))
    return {};
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!hash.addData(&f))
    return {};
  return QString::fromLatin1(hash.result().toHex());
}

const QStringList& restmuster() {
  static const QStringList muster = {u"unbenannt-*.anlage"_s, u"unbenannt-*.tmp"_s,
                                     u"unbenannt-*.tmp-journal"_s};
  return muster;
}

constexpr auto Restfilter = QDir::Files | QDir::Hidden | QDir::System;

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
  if (m_transaktion || !m_temp.isEmpty() || !m_alteEinstellungen.isEmpty() || !m_vermerk.isEmpty())
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
  // File names: at most 255 bytes where names are UTF-8, 255 characters on Windows. The book
  // needs room for the engine's journal beside it, or every booking would fail.
  if (name.size() > Namenslaenge || name.toUtf8().size() > Namenslaenge)
    return u"Der Benutzername ist zu lang, denn er wird auch als Dateiname des Haushaltsbuchs "
           u"verwendet: Er darf höchstens %1 Zeichen haben, wobei Umlaute und andere "
           u"Sonderzeichen doppelt oder mehrfach zählen. Bitte wählen Sie einen kürzeren Namen."_s
               .arg(Namenslaenge);
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
  resteAufraeumen();
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
  if (!m_data1.fehler().isEmpty()) {
    m_grund = m_data1.fehler();
    return Ergebnis::Fehlgeschlagen;
  }
  if (!m_data1.eof())
    return Ergebnis::NameVergeben;
  // Stored uncoded, such a password would let anyone in.
  if (!KennwortKodieren(m_kennwort))
    return Ergebnis::KennwortUngueltig;
  return Ergebnis::Angelegt;
}

Benutzeranlage::Ergebnis Benutzeranlage::anlegen() {
  if (const Ergebnis e = pruefen(); e != Ergebnis::Angelegt)
    return e;
  const auto fehlgeschlagen = [this] {
    rueckgaengig();
    return Ergebnis::Fehlgeschlagen;
  };
  if (!BenutzerEintragen())
    return fehlgeschlagen();
  schritt(Schritt::Eingetragen);
  if (!BuchdateiAnlegen())
    return fehlgeschlagen();
  schritt(Schritt::Kopiert);
  if (!BenutzerEinstellungenAnlegen())
    return fehlgeschlagen();
  schritt(Schritt::Eingestellt);
  // A book of that name may have come up in the meantime (another program, another letter case).
  if (buchVorhanden(m_ordner, m_name)) {
    rueckgaengig();
    return Ergebnis::BuchVorhanden;
  }
  if (!einsetzen()) {
    rueckgaengig();
    return buchVorhanden(m_ordner, m_name) ? Ergebnis::BuchVorhanden : Ergebnis::Fehlgeschlagen;
  }
  schritt(Schritt::Eingesetzt);
  if (!m_transaktion->bestaetigen()) {
    scheitern(m_transaktion->fehler());
    return fehlgeschlagen();
  }
  m_transaktion.reset();
  m_alteEinstellungen.clear();
  m_eingesetzt = false;
  schritt(Schritt::Bestaetigt);
  // The user is complete; a note left by a crash right here would only be removed.
  QFile::remove(m_vermerk);
  m_vermerk.clear();
  // The program-wide handle of the household book, as the booking dialogs keep it.
  Datenbank::buchdateiOeffnen(m_ziel);
  return Ergebnis::Angelegt;
}

void Benutzeranlage::schritt(Schritt s) const {
  if (nachSchritt)
    nachSchritt(s);
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
  m_pruefsumme = pruefsumme(m_temp);
  if (m_pruefsumme.isEmpty())
    return scheitern(u"Die Kopie „%1“ kann nicht gelesen werden."_s.arg(nativ(m_temp)));
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
  if (!sperre.gesperrt())
    return scheitern(Registry::fehlergrund(sperre.status()));
  // What a process killed from here on must take back is noted first.
  QJsonArray alte;
  for (const auto& [name, wert] : Standardeinstellungen()) {
    const QVariant alt = RegistryLesen(HKCU, schluessel, name);
    QJsonObject eintrag{{u"Name"_s, name}};
    if (alt.typeId() == QMetaType::QString)
      eintrag.insert(u"Text"_s, alt.toString());
    else if (alt.isValid())
      eintrag.insert(u"Zahl"_s, alt.toInt());
    alte.append(eintrag);
  }
  const QJsonObject vermerk{{u"Name"_s, m_name},
                            {u"Kopie"_s, QFileInfo(m_temp).fileName()},
                            {u"Buch"_s, m_pruefsumme},
                            {u"Einstellungen"_s, alte}};
  const QString pfad = m_temp.left(m_temp.size() - 4) + u".anlage"_s;
  QString fehler;
  if (!dateiSchreiben(pfad, QJsonDocument(vermerk).toJson(), &fehler))
    return scheitern(u"Im Programmordner „%1“ kann keine Datei angelegt werden: %2"_s.arg(
        nativ(m_ordner), fehler));
  m_vermerk = pfad;
  schritt(Schritt::Vermerkt);
  for (const auto& [name, wert] : Standardeinstellungen()) {
    const QVariant alt = RegistryLesen(HKCU, schluessel, name);
    if (const qint32 status = RegistrySchreiben(HKCU, schluessel, name, wert); status != 0)
      return scheitern(
          u"Die Einstellung „%1“ des neuen Benutzers konnte nicht gespeichert "
          u"werden. "_s.arg(name) +
          Registry::fehlergrund(status));
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

void Benutzeranlage::einstellungenZurueck(const QString& name,
                                          const QList<QPair<QString, QVariant>>& alte) {
  const QString schluessel = ProduktSchluessel + u'\\' + name;
  const Registry::Sperre sperre;
  for (auto it = alte.crbegin(); it != alte.crend(); ++it) {
    const auto& [wertname, alt] = *it;
    if (!alt.isValid())
      RegistryLoeschen(HKCU, schluessel, wertname);
    else
      RegistrySchreiben(HKCU, schluessel, wertname, alt, alt.typeId() == QMetaType::QString);
  }
}

void Benutzeranlage::rueckgaengig() {
  // The row of Daten.mdb goes with the transaction that was not committed.
  m_transaktion.reset();
  if (!m_alteEinstellungen.isEmpty()) {
    einstellungenZurueck(m_name, m_alteEinstellungen);
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
  // The note goes last: until then it says what is left to undo.
  if (!m_vermerk.isEmpty()) {
    QFile::remove(m_vermerk);
    m_vermerk.clear();
  }
}

void Benutzeranlage::resteAufraeumen() {
  const QDir ordner(m_ordner);
  if (ordner.entryList(restmuster(), Restfilter).isEmpty())
    return;
  // Every creation holds Daten.mdb's write lock from its first step to its commit. With the lock
  // here, none is running: what lies in the folder was left by a process that was killed.
  const Transaktion sperre(m_data1);
  if (!sperre.begonnen())
    return;
  bool alleErledigt = true;
  for (const QString& vermerk : ordner.entryList({restmuster().first()}, Restfilter)) {
    if (!vermerkAuswerten(m_ordner + vermerk))
      alleErledigt = false;
  }
  // A copy that no note names was made before its note was written. While a note cannot be
  // decided its copy stays, so as not to lose what it would need.
  if (alleErledigt) {
    for (const QString& rest : ordner.entryList(restmuster().mid(1), Restfilter))
      QFile::remove(m_ordner + rest);
  }
}

bool Benutzeranlage::vermerkAuswerten(const QString& pfad) {
  QFile datei(pfad);
  if (!datei.open(QIODevice::ReadOnly))
    return false;
  const QJsonObject vermerk = QJsonDocument::fromJson(datei.readAll()).object();
  datei.close();
  const QString name = vermerk.value(u"Name"_s).toString();
  const QString kopie = vermerk.value(u"Kopie"_s).toString();
  static const QRegularExpression kopiename(u"^unbenannt-\\d+\\.tmp$"_s);
  // Not a note of ours: left alone.
  if (name.isEmpty() || !namensfehler(name).isEmpty() || !kopiename.match(kopie).hasMatch())
    return false;
  m_data1.abfrageSetzen(Abfrage(u"Benutzer"_s).wo(u"Benutzername"_s, name));
  m_data1.ersteZeile();
  if (!m_data1.fehler().isEmpty())
    return false;
  if (m_data1.eof()) {
    // Killed before the commit: the settings as they were, and the book only if it is the copy.
    QList<QPair<QString, QVariant>> alte;
    for (const QJsonValue& wert : vermerk.value(u"Einstellungen"_s).toArray()) {
      const QJsonObject e = wert.toObject();
      QVariant alt;
      if (e.contains(u"Text"_s))
        alt = e.value(u"Text"_s).toString();
      else if (e.contains(u"Zahl"_s))
        alt = e.value(u"Zahl"_s).toInt();
      alte.append({e.value(u"Name"_s).toString(), alt});
    }
    einstellungenZurueck(name, alte);
    const QString buch = m_ordner + name + u".mdb"_s;
    const QString summe = vermerk.value(u"Buch"_s).toString();
    if (!summe.isEmpty() && pruefsumme(buch) == summe)
      QFile::remove(buch);
  }
  QFile::remove(m_ordner + kopie);
  QFile::remove(m_ordner + kopie + u"-journal"_s);
  return QFile::remove(pfad);
}

void Benutzeranlage::melden(Ergebnis ergebnis) const {
  switch (ergebnis) {
    case Ergebnis::Angelegt:
      return;
    case Ergebnis::BuchVorhanden:
      MeldungNr(3006, 3106, 48);
      return;
    case Ergebnis::NameVergeben:
      MeldungNr(3020, 3120, 48);
      return;
    case Ergebnis::KennwortUngueltig:
      MeldungNr(3007, 3107, 48);
      return;
    case Ergebnis::NameUngueltig:
    case Ergebnis::Fehlgeschlagen:
      MeldungNr(3009, 3109, 16, m_grund);
      return;
  }
}
