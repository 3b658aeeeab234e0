#include "CsvExport.h"

#include "Dateischreiben.h"
#include "Werte.h"

using namespace Qt::StringLiterals;

namespace CsvExport {
namespace {

QString textfeld(const QVariant& wert) {
  QString t = wert.isValid() ? wert.toString() : QString();
  if (!t.isEmpty() && (t[0] == u'=' || t[0] == u'+' || t[0] == u'-' || t[0] == u'@' ||
                       t[0] == u'\t' || t[0] == u'\r'))
    t.prepend(u'\'');
  return u'"' + t.replace(u'"', u"\"\""_s) + u'"';
}

QString betragfeld(const QVariant& wert) {
  return wert.isValid() ? Werte::formatieren(wert.toDouble(), Werte::Betragsformat) : QString();
}

QString datumfeld(const QVariant& wert) {
  if (wert.typeId() == QMetaType::QDate)
    return Werte::datumText(wert.toDate());
  return textfeld(wert);
}

}  // namespace

QByteArray kopfzeile() {
  return u"Nr.;Datum;Konto;Art;Empfänger;Auftraggeber;Kategorie;Verwendungszweck;Betrag;Währung;"
         "Einnahme;Ausgabe\r\n"_s.toUtf8();
}

QByteArray zeile(const QVariantList& b) {
  using S = Buchungsspalte;
  const QVariant id = spalte(b, S::ID);
  const QStringList felder = {
      id.isValid() ? id.toString() : QString(), datumfeld(spalte(b, S::Datum)),
      textfeld(spalte(b, S::KontoName)),        textfeld(spalte(b, S::Buchung)),
      textfeld(spalte(b, S::Empfaenger)),       textfeld(spalte(b, S::Auftraggeber)),
      textfeld(spalte(b, S::Kategorie)),        textfeld(spalte(b, S::Verwendungszweck)),
      betragfeld(spalte(b, S::Betrag)),         textfeld(spalte(b, S::Waehrung)),
      betragfeld(spalte(b, S::Einnahme)),       betragfeld(spalte(b, S::Ausgabe))};
  return (felder.join(u';') + u"\r\n"_s).toUtf8();
}

bool schreiben(const QString& pfad, Buchungsleser& leser, const Buchungsfilter& filter, int* anzahl,
               QString* fehler) {
  QByteArray inhalt = QByteArray("\xEF\xBB\xBF") + kopfzeile();
  int n = 0;
  if (!leser.alle(filter, [&](const QVariantList& b) {
        inhalt += zeile(b);
        ++n;
      })) {
    if (fehler)
      *fehler = leser.fehler();
    return false;
  }
  if (!dateiSchreiben(pfad, inhalt, fehler))
    return false;
  if (anzahl)
    *anzahl = n;
  return true;
}

}  // namespace CsvExport
