#pragma once
// The bookings of the list as a CSV file, as households take them to a spreadsheet: UTF-8 with a
// byte order mark (so that spreadsheets read the umlauts right), ";" between the fields, CR LF
// at the line ends, amounts as German numbers ("1.234,50") and dates "dd.mm.yyyy". Texts are
// quoted; a text that a spreadsheet would take for a formula (= + - @ at its start) gets a "'"
// in front, so that opening the file never runs anything.

#include "Buchungsleser.h"

#include <QByteArray>
#include <QString>

namespace CsvExport {

QByteArray kopfzeile();
QByteArray zeile(const QVariantList& buchung);

// Writes the bookings that pass the filter, in the list's order, as one whole file (replaced
// only once it is complete). False with the reason when the book or the file failed.
bool schreiben(const QString& pfad, Buchungsleser& leser, const Buchungsfilter& filter,
               int* anzahl = nullptr, QString* fehler = nullptr);

}  // namespace CsvExport
