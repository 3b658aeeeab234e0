#pragma once
// Converting an amount between two currencies by the rate table, where a rate is the number of
// units of a currency per euro. Every step is a 32-bit float, as the rates are stored; the code
// "EUR" is the only one known by name, compared exactly (an "eur" account is not a euro account).
//
// The booking dialogs convert the entered amount (currency E) into the account's currency (Z);
// the inventory take-over converts the price into the insurance currency the same way.

#include <QString>

struct Umrechnung {
  float betrag = 0;  // the amount in the target currency
  float euro = 0;    // the amount in euros, when the way led through the euro
  bool ueberEuro = false;
};

// E equal to Z: unchanged. Z not the euro: E the euro -> times the rate of Z; otherwise divided
// by the rate of E (euros) and times the rate of Z. Z the euro: divided by the rate of E.
Umrechnung umrechnen(float betrag, const QString& E, float kursE, const QString& Z, float kursZ);
