#pragma once
// Converting an amount between two currencies by the rate table, where a rate is the number of
// units of a currency per euro. The code "EUR" is the only one known by name, compared exactly
// (an "eur" account is not a euro account).
//
// The booking dialogs convert the entered amount (currency E) into the account's currency (Z);
// the inventory take-over converts the price into the insurance currency the same way. An amount
// in the target currency already stays as entered; across currencies the rates are taken as
// stored and every step is a double, so that the result keeps its cents up to
// Umrechnungsgrenze. A conversion that lacks a rate it needs gives no amount at all, never one
// made with another currency's rate.

#include <QString>
#include <QVariant>
#include <optional>

// Results at or beyond this lose cents in their 15-digit decimal form: no amount.
inline constexpr double Umrechnungsgrenze = 1e13;

struct Umrechnung {
  enum class Fehler {
    Keiner,
    KeinBetrag,     // the amount is no number
    KeineWaehrung,  // no entry currency, or an account without one
    OhneKurs,       // `waehrung` has no usable rate
    ZuGross,        // the result is not finite or reaches Umrechnungsgrenze
  };
  std::optional<double> betrag;  // in the target currency
  bool unveraendert = false;     // E is the target currency: the amount as entered
  std::optional<double> euro;    // the amount in euros, when the way led through the euro
  Fehler fehler = Fehler::Keiner;
  QString waehrung;  // the currency without a usable rate

  bool ok() const { return fehler == Fehler::Keiner; }
};

// A rate as stored, when it can convert: a finite number above 0. NULL, 0, a negative rate or a
// text that is no number give none.
std::optional<double> gueltigerKurs(const QVariant& gespeichert);

// E equal to Z: unchanged. Z not the euro: E the euro -> times the rate of Z; otherwise divided
// by the rate of E (euros) and times the rate of Z. Z the euro: divided by the rate of E. Only the
// rates the way needs are asked for.
Umrechnung umrechnen(double betrag, const QString& E, std::optional<double> kursE, const QString& Z,
                     std::optional<double> kursZ);
