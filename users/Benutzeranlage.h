#pragma once
// A new user, all or nothing: the row in the shared data file with the coded password, the five
// default settings of the per-user key, and the household book made from the template with its
// own Benutzer row. The steps run so that a failure at any of them undoes the ones before:
//
//   1. BenutzerEintragen: the row of Daten.mdb, in a transaction that stays open until the end
//      (its write lock keeps any other creation out until then);
//   2. BuchdateiAnlegen: the template copied to a temporary file in the program folder, the
//      book's own Benutzer row written into the copy;
//   3. a note "unbenannt-NNNNNN.anlage" beside the copy: the name, a hash of the copy and the
//      settings values the creation is about to replace;
//   4. BenutzerEinstellungenAnlegen: the settings;
//   5. the copy renamed to <Name>.mdb, never over an existing file;
//   6. the transaction committed, then the note removed.
//
// A process killed half-way leaves its note. The next check (pruefen) finishes the job under
// Daten.mdb's write lock, when no creation can be running: a note whose user has no row brings
// the settings back, removes the book it put in place (recognised by its hash) and the copy; a
// note whose row was committed just goes. Copies and journals of killed runs go too, so no name
// stays blocked by half a user.
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
#include <functional>
#include <memory>

class Datensatzquelle;
class Transaktion;

class Benutzeranlage {
 public:
  enum class Ergebnis {
    Angelegt,           // pruefen: nothing stands in the way; anlegen: the user exists
    BuchVorhanden,      // message 3006
    NameVergeben,       // message 3020: a user whose name differs in letter case only
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
  // password the coding can store. Clears up after creations that were killed half-way first.
  Ergebnis pruefen();
  // Creates the user (checking again first). Anything but Angelegt leaves nothing behind.
  Ergebnis anlegen();

  // Why the last step failed, in German.
  const QString& grund() const { return m_grund; }
  // The household book: program folder + name + ".mdb".
  const QString& buchdatei() const { return m_ziel; }
  // The message of a result: 3006/3106, 3020/3120 and 3007/3107 (style 48), 3009/3109 with the
  // reason below it (style 16). Nothing for Angelegt.
  void melden(Ergebnis ergebnis) const;

  // A household book of this name in the folder, by the name alone or in other letter case.
  static bool buchVorhanden(const QString& programmordner, const QString& name);
  // Why a name cannot be a user's file name; empty when it can.
  static QString namensfehler(const QString& name);
  // The longest name in UTF-8 bytes (in characters on Windows): every file the engine makes
  // beside the book must stay within 255.
  static constexpr int Namenslaenge = 243;
  // The default settings of a new user, in the order they are written.
  static const QList<QPair<QString, QString>>& Standardeinstellungen();

  // Steps of anlegen(), for tests that stop a process right after one of them.
  enum class Schritt { Eingetragen = 1, Kopiert, Vermerkt, Eingestellt, Eingesetzt, Bestaetigt };
  static inline std::function<void(Schritt)> nachSchritt;

 private:
  bool BuchdateiAnlegen();
  bool BenutzerEintragen();
  bool BenutzerEinstellungenAnlegen();
  bool einsetzen();
  void rueckgaengig();
  bool scheitern(const QString& grund);
  void schritt(Schritt s) const;
  void resteAufraeumen();
  bool vermerkAuswerten(const QString& pfad);

  // The settings of `name` set back to what a note or an undo recorded.
  static void einstellungenZurueck(const QString& name,
                                   const QList<QPair<QString, QVariant>>& alte);

  Datensatzquelle& m_data1;
  QString m_ordner;
  QString m_name;
  QString m_kennwort;
  QString m_ziel;
  QString m_temp;        // the copy of the template while it is not in place
  QString m_vermerk;     // the note of this creation while it runs
  QString m_pruefsumme;  // of the copy, once its row is in
  bool m_eingesetzt = false;
  std::unique_ptr<Transaktion> m_transaktion;
  // Settings written so far, with what they replaced (invalid: there was none).
  QList<QPair<QString, QVariant>> m_alteEinstellungen;
  QString m_grund;
};
