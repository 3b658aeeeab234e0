#pragma once
// The sums of the bookings page: income and expense per month and per main category, each in
// the currency of its accounts, so that amounts of accounts in different currencies are never
// added up.

#include "Buchungsleser.h"
#include "Haushaltsbuch.h"

#include <QList>
#include <QString>
#include <functional>

struct Summenzeile {
  QString schluessel;  // "yyyy-mm" or the main category
  QString waehrung;    // the accounts' currency; empty for bookings of an unknown account
  int anzahl = 0;
  double einnahmen = 0;
  double ausgaben = 0;
};

namespace Summen {

// Merges the engine's group sums into lines: `schluessel` maps a group's key to its line (a
// subcategory to its main category); keys that differ in letter case only share a line. A group
// with an account (read per account) takes that account's currency, the others `waehrung`.
// Lines come in the order of their first group.
QList<Summenzeile> zusammenfassen(const QList<Gruppensumme>& gruppen,
                                  const std::function<QString(const QString&)>& schluessel,
                                  const QList<Konto>& konten, const QString& waehrung);

// The main category of each subcategory, from the rows of Kategorien (Kategorie,
// Unterkategorie); a text that is no subcategory is its own main category.
std::function<QString(const QString&)> hauptkategorien(
    const QList<QPair<QString, QString>>& kategorien);

}  // namespace Summen
