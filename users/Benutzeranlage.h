#pragma once
// A new user, all or nothing: the row in the shared data file with the coded password, the five
// default settings of the per-user key, and the household book made from the template with its
// own Benutzer row. The steps run so that a failure at any of them undoes the ones before:
//
//   1. BuchdateiAnlegen: the template copied to a temporary file in the program folder, the
//      book's own Benutzer row written into the copy;
//   2. BenutzerEintragen: the row of Daten.mdb, in a transaction that stays open until the end;
//   3. BenutzerEinstellungenAnlegen: the settings (the values they replace are kept);
//   4. the copy renamed to <Name>.mdb, never over an existing file;
//   5. the transaction committed.
//
// An existing household book is never touched: a name whose book exists (also in other letter
// case, which the Windows file system would take for the same file) is refused before anything
// is written.
//
//   Benutzeranlage anlage(Data1, zustand().Programmordner, name, kennwort);
//   if (const auto e = anlage.pruefen(); e != Benutzeranlage::Ergebnis::Angelegt)
//     return anlage.melden(e);
//   ... confirm the password ...
//   if (const auto e = anlage.anlegen(); e != Benutzeranlage::Ergebnis::Angelegt)
//     return anlage.melden(e);

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>
#include <memory>

class Datensatzquelle;
class Transaktion;

class Benutzeranlage {
 public:
  enum class Ergebnis {
    Angelegt,           // pruefen: nothing stands in the way; anlegen: the user exists
    BuchVorhanden,      // message 3006
    KennwortUngueltig,  // message 3007
    NameUngueltig,      // message 3009 with the reason
    Fehlgeschlagen,     // message 3009 with the reason; nothing of the user is left
  };

  // Data1: the dialog's record source on Daten.mdb (the row is written on its connection).
  Benutzeranlage(Datensatzquelle& Data1, const QString& programmordner, const QString& name,
                 const QString& kennwort);
  ~Benutzeranlage();
  Benutzeranlage(const Benutzeranlage&) = delete;
  Benutzeranlage& operator=(const Benutzeranlage&) = delete;

  // What is known before the password is confirmed: a name that can be a file name, no
  // household book of that name yet and no user whose name differs in letter case only, a
  // password the coding can store.
  Ergebnis pruefen();
  // Creates the user (checking again first). Anything but Angelegt leaves nothing behind.
  Ergebnis anlegen();

  // Why the last step failed, in German.
  const QString& grund() const { return m_grund; }
  // The household book: program folder + name + ".mdb".
  const QString& buchdatei() const { return m_ziel; }
  // The message of a result: 3006/3106 and 3007/3107 (style 48), 3009/3109 with the reason
  // below it (style 16). Nothing for Angelegt.
  void melden(Ergebnis ergebnis) const;

  // A household book of this name in the folder, by the name alone or in other letter case.
  static bool buchVorhanden(const QString& programmordner, const QString& name);
  // Why a name cannot be a user's file name; empty when it can.
  static QString namensfehler(const QString& name);
  // The default settings of a new user, in the order they are written.
  static const QList<QPair<QString, QString>>& Standardeinstellungen();

 private:
  bool BuchdateiAnlegen();
  bool BenutzerEintragen();
  bool BenutzerEinstellungenAnlegen();
  bool einsetzen();
  void rueckgaengig();
  bool scheitern(const QString& grund);

  Datensatzquelle& m_data1;
  QString m_ordner;
  QString m_name;
  QString m_kennwort;
  QString m_ziel;
  QString m_temp;  // the copy of the template while it is not in place
  bool m_eingesetzt = false;
  std::unique_ptr<Transaktion> m_transaktion;
  // Settings written so far, with what they replaced (invalid: there was none).
  QList<QPair<QString, QVariant>> m_alteEinstellungen;
  QString m_grund;
};
