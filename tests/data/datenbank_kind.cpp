// Child process for the data-layer tests: another program on the same file, or a zamlo that is
// killed or runs out of disk space in the middle of its bookings.
//   datenbank_kind sperren <datei> <ms>           BEGIN IMMEDIATE, print "gesperrt", hold it for
//                                                 ms milliseconds, COMMIT, print "frei"
//   datenbank_kind schreiben <datei>              one write without waiting (busy timeout 0);
//                                                 exit code 0 when it was committed
//   datenbank_kind buchen <ordner> <benutzer>     expenses with inventory items for ever, printing
//                                                 each booking number once it was acknowledged
//   datenbank_kind grenze <ordner> <benutzer> <bytes>
//                                                 one expense with the size of files this process
//                                                 may write limited; prints the result and reason
//   datenbank_kind ohnerechte <ordner> <benutzer>  one expense after dropping root's power over
//                                                 file permissions; prints the result and reason

#include "Buchung.h"
#include "Datensatzquelle.h"
#include "Rechte.h"
#include "Zustand.h"

#include <sqlite3.h>
#include <sys/resource.h>
#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <csignal>
#include <cstdio>

namespace {

sqlite3* oeffnen(const QString& datei) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(QFile::encodeName(datei).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
      SQLITE_OK)
    return nullptr;
  return db;
}

void anmelden(const QString& ordner, const QString& benutzer) {
  zustand().Programmordner = ordner;
  zustand().AktuellerBenutzer = benutzer;
  zustand().Benutzerdatei = ordner + benutzer + QStringLiteral(".mdb");
}

Buchung ausgabe(int i) {
  Buchung b;
  b.art = Buchungsart::Ausgabe;
  b.KontoName = QStringLiteral("Girokonto");
  b.Datum = QStringLiteral("01.02.2027");
  b.Betrag = QStringLiteral("%1,25").arg(i);
  b.Waehrung = QStringLiteral("EUR");
  b.BetragKonto = b.Betrag;
  b.Name = QStringLiteral("Möbelhaus Öztürk");
  b.Kategorie = QStringLiteral("Einrichtung");
  b.Verwendungszweck = QStringLiteral("Stuhl %1").arg(i);
  b.Versicherung = 1;
  b.inventar = Inventarzeile{zustand().AktuellerBenutzer,
                             b.Kategorie,
                             b.Datum,
                             b.Verwendungszweck,
                             b.Betrag,
                             b.Waehrung,
                             b.Betrag};
  return b;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  const QString art = args.value(1);
  if (art == u"sperren") {
    sqlite3* db = oeffnen(args.value(2));
    if (!db || sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
      return 3;
    std::printf("gesperrt\n");
    std::fflush(stdout);
    QThread::msleep(args.value(3).toULong());
    const int rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    std::printf("frei\n");
    std::fflush(stdout);
    sqlite3_close(db);
    return rc == SQLITE_OK ? 0 : 4;
  }
  if (art == u"schreiben") {
    sqlite3* db = oeffnen(args.value(2));
    if (!db)
      return 3;
    sqlite3_busy_timeout(db, 0);
    char* meldung = nullptr;
    const int rc =
        sqlite3_exec(db, "BEGIN IMMEDIATE; INSERT INTO Verwendung VALUES ('vom Kind'); COMMIT;",
                     nullptr, nullptr, &meldung);
    if (rc != SQLITE_OK)
      std::printf("%s\n", meldung ? meldung : "");
    sqlite3_free(meldung);
    sqlite3_close(db);
    return rc == SQLITE_OK ? 0 : 1;
  }
  if (art == u"buchen") {
    anmelden(args.value(2), args.value(3));
    Datensatzquelle Data1;
    Data1.verbinden(zustand().Benutzerdatei);
    Data1.abfrageSetzen(Abfrage(QStringLiteral("Buchungen")));
    for (int i = 1;; ++i) {
      const Buchungsergebnis e = BuchungSpeichern(Data1, ausgabe(i));
      if (!e.ok()) {
        std::printf("fehler %s\n", qPrintable(e.grund));
        return 4;
      }
      std::printf("%d\n", int(e.id));
      std::fflush(stdout);
    }
  }
  if (art == u"grenze" || art == u"ohnerechte") {
    // Before the file is opened: an open handle would keep the right to write.
    if (art == u"ohnerechte" && !rechteAblegen())
      return 3;
    anmelden(args.value(2), args.value(3));
    Datensatzquelle Data1;
    Data1.verbinden(zustand().Benutzerdatei);
    Data1.abfrageSetzen(Abfrage(QStringLiteral("Buchungen")));
    if (art == u"grenze") {
      std::signal(SIGXFSZ, SIG_IGN);
      rlimit grenze{};
      grenze.rlim_cur = grenze.rlim_max = args.value(4).toULongLong();
      setrlimit(RLIMIT_FSIZE, &grenze);
    }
    const Buchungsergebnis e = BuchungSpeichern(Data1, ausgabe(1));
    std::printf("%d\n%s\n", int(e.status), e.grund.toUtf8().constData());
    return 0;
  }
  return 2;
}
