#include "Summen.h"

#include <QHash>
#include <memory>

namespace Summen {

QList<Summenzeile> zusammenfassen(const QList<Gruppensumme>& gruppen,
                                  const std::function<QString(const QString&)>& schluessel,
                                  const QList<Konto>& konten, const QString& waehrung) {
  QList<Summenzeile> zeilen;
  QHash<QString, qsizetype> stelle;  // folded key + currency -> line
  QHash<QString, QString> kontoWaehrung;
  for (const Konto& k : konten) {
    const QString gefaltet = k.name.toCaseFolded();
    if (!kontoWaehrung.contains(gefaltet))
      kontoWaehrung.insert(gefaltet, k.waehrung);
  }
  for (const Gruppensumme& g : gruppen) {
    const QString name = schluessel(g.schluessel);
    const QString w = g.konto.isEmpty() ? waehrung : kontoWaehrung.value(g.konto.toCaseFolded());
    const QString key = name.toCaseFolded() + u'\n' + w;
    auto it = stelle.constFind(key);
    if (it == stelle.constEnd()) {
      it = stelle.insert(key, zeilen.size());
      zeilen.append({name, w, 0, 0, 0});
    }
    Summenzeile& z = zeilen[*it];
    z.anzahl += g.anzahl;
    z.einnahmen += g.einnahmen;
    z.ausgaben += g.ausgaben;
  }
  return zeilen;
}

std::function<QString(const QString&)> hauptkategorien(
    const QList<QPair<QString, QString>>& kategorien) {
  auto haupt = std::make_shared<QHash<QString, QString>>();
  for (const auto& [kategorie, unterkategorie] : kategorien) {
    const QString gefaltet = unterkategorie.toCaseFolded();
    if (!haupt->contains(gefaltet))
      haupt->insert(gefaltet, kategorie);
  }
  return [haupt](const QString& unterkategorie) {
    return haupt->value(unterkategorie.toCaseFolded(), unterkategorie);
  };
}

}  // namespace Summen
