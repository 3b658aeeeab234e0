#include "frmEinnahme.h"

namespace {

Buchungsdialog::Beschreibung einnahme() {
  Buchungsdialog::Beschreibung b;
  b.art = Buchungsart::Einnahme;
  b.titel = 538;
  b.hilfekontext = 50;
  b.kalenderZiel = QStringLiteral("Einnahme");
  b.namensliste = QStringLiteral("cboAuftraggeber");
  // The payer's label is Label4, so the purpose's label takes the name Label6 that the payee's
  // label has in the expense dialog.
  b.namen = {
      {QStringLiteral("Label4"), QStringLiteral("Label6")},
      {QStringLiteral("Label6"), QStringLiteral("Label4")},
  };
  b.tags = {
      {QStringLiteral("cboKonto"), QStringLiteral("91")},
      {QStringLiteral("txtDatum"), QStringLiteral("92")},
      {QStringLiteral("txtBetrag"), QStringLiteral("93")},
      {QStringLiteral("cboWaehrung"), QStringLiteral("94")},
      {QStringLiteral("cboVerwendungszweck"), QStringLiteral("95")},
      {QStringLiteral("cboAuftraggeber"), QStringLiteral("95")},
      {QStringLiteral("cboKategorie"), QStringLiteral("96")},
      {QStringLiteral("Label1"), QStringLiteral("531")},
      {QStringLiteral("Label2"), QStringLiteral("532")},
      {QStringLiteral("Label3"), QStringLiteral("533")},
      {QStringLiteral("Label6"), QStringLiteral("534")},
      {QStringLiteral("Label5"), QStringLiteral("535")},
      {QStringLiteral("Label4"), QStringLiteral("536")},
  };
  b.unvollstaendig = {1339, 1340};
  b.datum = {1341, 1342};
  b.neueAdresse = {1335, 1336};
  b.inventar = false;
  b.knoepfeAnfangsFrei = true;
  b.datumNachUebernahme = true;
  b.kontoAenderung = false;
  b.namenFiltern = true;
  return b;
}

}  // namespace

frmEinnahme::frmEinnahme() : Buchungsdialog(einnahme()) {}
