#include "frmAusgabe.h"

namespace {

Buchungsdialog::Beschreibung ausgabe() {
  Buchungsdialog::Beschreibung b;
  b.art = Buchungsart::Ausgabe;
  b.titel = 359;
  b.hilfekontext = 40;
  b.kalenderZiel = QStringLiteral("Ausgabe");
  b.namensliste = QStringLiteral("cboEmpfaenger");
  b.unvollstaendig = {1264, 1265};
  b.datum = {1266, 1267};
  b.neueAdresse = {1260, 1261};
  b.inventar = true;
  b.knoepfeAnfangsFrei = false;
  b.datumNachUebernahme = false;
  b.kontoAenderung = true;
  b.namenFiltern = false;
  return b;
}

}  // namespace

frmAusgabe::frmAusgabe() : Buchungsdialog(ausgabe()) {}
