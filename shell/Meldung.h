#pragma once
// Message boxes. Style numbers as the platform's message box: buttons in the low bits (0 OK,
// 1 OK/Abbrechen, 3 Ja/Nein/Abbrechen, 4 Ja/Nein, 5 Wiederholen/Abbrechen), icon 16 stop,
// 32 question, 48 exclamation, 64 information. Answers: 1 OK, 2 Abbrechen, 3 Abbruch,
// 4 Wiederholen, 5 Ignorieren, 6 Ja, 7 Nein.

#include <QList>
#include <QString>

namespace Antwort {
inline constexpr int OK = 1;
inline constexpr int Abbrechen = 2;
inline constexpr int Ja = 6;
inline constexpr int Nein = 7;
}  // namespace Antwort

int Meldung(const QString& prompt, const QString& titel, int stil);
// The same box with the numbers of its texts in the language file (0: a text of no number), which
// a test sees in the record: the texts alone may be alike for different numbers.
int Meldung(const QString& prompt, const QString& titel, int stil, int promptNr, int titelNr);

// Tests answer message boxes here instead of through a real modal box: while installed, every
// Meldung is recorded and answered with the next queued answer (the box's default button, the
// first one, when none is queued).
namespace MeldungTest {

struct Eintrag {
  QString prompt;
  QString titel;
  int stil = 0;
  int antwort = 0;
  int promptNr = 0;
  int titelNr = 0;
};

void installieren();
void entfernen();
bool installiert();
void antworten(const QList<int>& antworten);
const QList<Eintrag>& gezeigt();
void vergessen();

}  // namespace MeldungTest
