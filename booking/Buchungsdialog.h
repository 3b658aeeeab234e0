#pragma once
// The booking dialog that the expense and the income dialog share: one form (Buchungsdialog.ui),
// one set of routines and handlers. What sets the two apart is data, given by the subclass as a
// Beschreibung: title and help context, the calendar's target, messages, the Tags that differ,
// the name of the name list, and a few switches.
//
// Controls keep their dialog names as objectName (cboKonto, txtDatum, ...). Events map as:
// Change -> textChanged / currentTextChanged (program changes too); Click on a list -> its
// currentIndexChanged (also when the program selects); GotFocus -> FeldFokus; KeyPress filters,
// key down and leaving a field -> this form's event filter; F1 -> Formular; Esc -> reject().
//
// A dialog books for the user it was loaded for (Buchungsfenster): the book its sources are bound
// to, that user's counter and, for the inventory, that user as owner, whoever signs in later.

#include "Buchung.h"
#include "Buchungsfenster.h"
#include "Datensatzquelle.h"
#include "Formular.h"
#include "Waehrungsumrechnung.h"
#include "clsComboFill.h"

#include <QHash>
#include <QString>
#include <memory>
#include <optional>

namespace Ui {
class Buchungsdialog;
}
class QComboBox;
class QKeyEvent;
class QLineEdit;
class QPushButton;

class Buchungsdialog : public Formular, public Buchungsfenster {
  Q_OBJECT

 public:
  struct Meldungstext {
    int prompt = 0;
    int titel = 0;
  };

  struct Beschreibung {
    Buchungsart art = Buchungsart::Ausgabe;
    int titel = 0;
    int hilfekontext = 0;
    QString kalenderZiel;  // KalenderZiel while the calendar is open
    QString namensliste;   // objectName of the payee or payer list
    // Other controls named differently from the form: the form's name -> this dialog's name.
    QHash<QString, QString> namen;
    // Tags (tip keys, caption numbers) by control name (this dialog's) where they differ from the
    // form.
    QHash<QString, QString> tags;
    Meldungstext unvollstaendig;       // commit without amount or subcategory
    Meldungstext datum;                // date before the account's start date
    Meldungstext neueAdresse;          // a name that is not in Adressen
    bool inventar = true;              // Check1 and Label9 exist
    bool knoepfeAnfangsFrei = false;   // OK and Übernehmen enabled from the start
    bool datumNachUebernahme = false;  // FelderLeeren puts HeuteText back first
    bool kontoAenderung = true;        // a change of cboKonto re-checks the buttons
    bool namenFiltern = false;         // the name list skips a repeated name and names reading as 0
  };

  ~Buchungsdialog() override;

  QString buchungsbenutzer() const override { return m_benutzer; }
  QString buchungsdatei() const override { return m_buchdatei; }
  bool buchungBegonnen() const override;

 protected:
  explicit Buchungsdialog(Beschreibung art);

  void beimLaden() override;
  void beimEntladen() override;
  bool eventFilter(QObject* ziel, QEvent* ereignis) override;

  // Lists.
  void ListenFuellen();
  void KontenFuellen();
  void VerwendungFuellen();
  void KategorienFuellen();
  QStringList spalteOhneWiederholung(const QString& tabelle, const QString& spalte);

  // Rules.
  void DatumPruefen();
  void KnoepfeFreigeben();
  void FelderLeeren();
  void BetragUmrechnen();
  // The entered amount in the account's currency by the rates of the last selections.
  Umrechnung umrechnungJetzt() const;
  // What Ausgabe or Einnahme stores: the entered text when nothing is converted, otherwise the
  // converted amount through "##,##0.00".
  QString betragKontoText(const Umrechnung& umrechnung) const;
  // The commit's write: counter, booking row and, when given, the inventory row.
  Buchungsergebnis BuchungSchreiben();

  // lbBetrag's caption: set, then its change handler reformats it.
  void lbBetragSetzen(const QString& text);

  Ui::Buchungsdialog* ui;
  QComboBox* Namensliste = nullptr;  // cboEmpfaenger or cboAuftraggeber

  QString KontoWaehrung;
  // The rates of the account's and of the entry currency, each its own currency's or none.
  std::optional<double> KursKonto;
  std::optional<double> KursEingabe;
  double BetragKonto = 0;
  double BetragEuro = 0;
  double KaufpreisVersicherung = 0;

  Datensatzquelle Data1;
  Datensatzquelle Data2;
  Datensatzquelle Data3;

 private slots:
  void cmdOK_Click();
  void cmdUebernehmen_Click();
  void cmdAbbrechen_Click();
  void cmdSave_Click();
  void cmdKategorie_Click();
  void cmdKalender_Click();
  void cboKonto_Click();
  void cboKonto_Change();
  void cboWaehrung_Click();
  void txtBetrag_Change();
  void Liste_Change(QComboBox* liste);
  // A book without an account takes no booking: says so (3040) and offers the main program, which
  // keeps the accounts.
  void KontoFehltHinweis();

 private:
  void Buchen(QPushButton* knopf, bool schliessen);
  // Tells the tray of a stored booking: its confirmation, and how to take it back.
  void BuchungMelden(const Buchungsbeleg& beleg);
  // Messages 3011-3013 for an amount that cannot be converted.
  void UmrechnungsfehlerMelden(const Umrechnung& umrechnung);
  bool BetragTaste(QKeyEvent* taste);
  bool DatumTaste(QKeyEvent* taste);
  void txtBetrag_LostFocus();
  void txtDatum_LostFocus();
  void lbBetrag_Change();
  void bilderLaden();
  void platzieren();
  static void textSetzen(QComboBox* liste, const QString& text);

  // The inventory item of a ticked Check1; BuchungSpeichern writes it in the booking's
  // transaction.
  Inventarzeile InventarSchreiben();
  // KaufpreisVersicherung: the price in the insurance currency; the result is its text for the
  // inventory row.
  QString KaufpreisUmrechnen();

  // Completion of the three completing lists: key down and change.
  clsComboFill& Fill();
  void ListeTasteGedrueckt(QComboBox* liste, QKeyEvent* taste);
  void ListeVervollstaendigen(QComboBox* liste);
  // Address capture when the payee or payer list is left.
  void NamenslisteVerlassen();
  // Leaving the purpose: an empty category and an empty payee or payer take those of the latest
  // booking of this kind with that purpose.
  void VerwendungVerlassen();

  Beschreibung m_art;
  std::unique_ptr<clsComboFill> m_fill;  // made on first use
  QString m_benutzer;                    // AktuellerBenutzer at load
  QString m_buchdatei;                   // Benutzerdatei at load
};
