// The Downloader as a host uses it, against a real HTTP server on 127.0.0.1: its three kinds of
// result, the time-out that leaves the read outstanding, re-entrant calls, the host's events
// during the wait, the fixed size and the About box.

#include "DownloadKennung.h"
#include "Downloader.h"
#include "TestMain.h"

#include <QDeadlineTimer>
#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QMetaClassInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTimer>
#include <QUuid>
#include <QVBoxLayout>
#include <memory>


namespace {

const QString Ungueltig = QStringLiteral("<invalid address>");
const QString Hallo = QStringLiteral("Hallo Welt");

// testserver.py in its own process; it ends when its standard input closes.
class Testserver {
 public:
  Testserver() {
    prozess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    prozess.start(QStringLiteral(PYTHON3), {QStringLiteral("-u"), QStringLiteral(TESTSERVER)});
    if (!prozess.waitForStarted(10000))
      return;
    while (!prozess.canReadLine() && prozess.waitForReadyRead(10000)) {
    }
    const QByteArray zeile = prozess.readLine().trimmed();
    if (zeile.startsWith("PORT "))
      port = zeile.mid(5).toInt();
  }
  ~Testserver() {
    prozess.closeWriteChannel();
    if (!prozess.waitForFinished(5000))
      prozess.kill();
    prozess.waitForFinished(5000);
  }

  QString url(const QString& pfad) const {
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(port).arg(pfad);
  }

  // Connections the server has received so far, not counting these queries.
  int verbindungen() {
    QNetworkAccessManager netz;
    QNetworkReply* r = netz.get(QNetworkRequest(QUrl(url(QStringLiteral("zaehler")))));
    QEventLoop schleife;
    QObject::connect(r, &QNetworkReply::finished, &schleife, &QEventLoop::quit);
    QTimer::singleShot(20000, &schleife, &QEventLoop::quit);
    schleife.exec();
    const int anzahl = r->isFinished() ? r->readAll().toInt() : -1;
    delete r;
    return anzahl;
  }

  int port = 0;

 private:
  QProcess prozess;
};

// A port on which nothing listens.
int freierPort() {
  QTcpServer server;
  server.listen(QHostAddress::LocalHost, 0);
  return server.serverPort();
}

QVariant laden(Downloader& d, QString url, qint16 sekunden = 30) {
  return d.DownloadText(url, sekunden);
}

QString muster(int laenge) {
  QString text(laenge, Qt::Uninitialized);
  for (int i = 0; i < laenge; ++i)
    text[i] = QChar(32 + i % 95);
  return text;
}

}  // namespace

class TestDownloader : public QObject {
  Q_OBJECT

  std::unique_ptr<Testserver> server;

  // Once the abandoned read has completed, a call fetches again.
  void wiederBereit(Downloader& d) {
    // Not QTRY: it evaluates its expression once more after success, which would read twice.
    const QDeadlineTimer frist(30000);
    QVariant wert;
    while (!(wert = laden(d, server->url(QStringLiteral("hallo")))).isValid() &&
           !frist.hasExpired())
      QTest::qWait(50);
    QCOMPARE(wert, QVariant(Hallo));
  }

 private slots:
  void initTestCase() {
    server = std::make_unique<Testserver>();
    QVERIFY2(server->port > 0, "testserver.py did not start");
  }
  void cleanupTestCase() { server.reset(); }

  void verweigertOhneVerbindung_data() {
    QTest::addColumn<QString>("adresse");
    QTest::newRow("leer") << QString();
    QTest::newRow("Grossbuchstaben") << QStringLiteral("HTTP://127.0.0.1:%1/hallo");
    QTest::newRow("gemischt") << QStringLiteral("Http://127.0.0.1:%1/hallo");
    QTest::newRow("Leerzeichen davor") << QStringLiteral(" http://127.0.0.1:%1/hallo");
    QTest::newRow("https") << QStringLiteral("https://127.0.0.1:%1/hallo");
    QTest::newRow("ein Schraegstrich") << QStringLiteral("http:/127.0.0.1:%1/hallo");
    QTest::newRow("sechs Zeichen") << QStringLiteral("http:/");
  }
  void verweigertOhneVerbindung() {
    QFETCH(QString, adresse);
    if (adresse.contains(QLatin1String("%1")))
      adresse = adresse.arg(server->port);
    Downloader d;
    const int vorher = server->verbindungen();
    const QVariant wert = laden(d, adresse);
    QCOMPARE(wert, QVariant(Ungueltig));
    // Nothing was started: the instance is idle, and the next read is the only connection.
    QCOMPARE(laden(d, server->url(QStringLiteral("hallo"))), QVariant(Hallo));
    QCOMPARE(server->verbindungen(), vorher + 1);
  }

  void ergebnis_data() {
    QTest::addColumn<QString>("adresse");
    QTest::addColumn<QString>("erwartet");
    const QString bytes = QString(QChar(u'A')) + QChar(0x20AC) + QChar(0x00E4) + QChar(0) +
                          QChar(0x0178) + QChar(0x0081) + QChar(0x00FF) + QChar(u'Z');
    QTest::newRow("Text") << "hallo" << Hallo;
    QTest::newRow("Bytes ueber 127 und Null") << "bytes" << bytes;
    QTest::newRow("32768 Bytes") << "laenge/32768" << muster(32768);
    QTest::newRow("32769 Bytes") << "laenge/32769" << muster(32769);
    QTest::newRow("ein MiB") << "laenge/1048576" << muster(1048576);
    QTest::newRow("ein Byte") << "laenge/1" << muster(1);
    QTest::newRow("Umleitung") << "umleitung" << Hallo;
    QTest::newRow("leerer Koerper") << "leer" << Ungueltig;
    QTest::newRow("404 mit Koerper") << "fehlt" << Ungueltig;
    QTest::newRow("abgebrochen") << "abgebrochen" << Ungueltig;
    QTest::newRow("ueber der Grenze, Laenge angesagt") << "riesig" << Ungueltig;
    QTest::newRow("ueber der Grenze, ohne Laenge") << "riesig-ohne-laenge" << Ungueltig;
    // Servers that do not keep to the protocol: a redirect to another scheme is not followed (no
    // local file is read), the announced length decides, nonsense headers give a clear result.
    QTest::newRow("Umleitung auf eine Datei") << "umleitung-datei" << Ungueltig;
    QTest::newRow("Umleitung auf FTP") << "umleitung-ftp" << Ungueltig;
    QTest::newRow("Koerper laenger als angesagt") << "zulang" << QStringLiteral("Hallo");
    QTest::newRow("Kopfzeilen ohne Sinn") << "muell" << Hallo;
    QTest::newRow("niemand hoert zu")
        << QStringLiteral("http://127.0.0.1:%1/").arg(freierPort()) << Ungueltig;
    QTest::newRow("kein Rechner") << "http://" << Ungueltig;
  }
  void ergebnis() {
    QFETCH(QString, adresse);
    QFETCH(QString, erwartet);
    if (!adresse.startsWith(QLatin1String("http://")))
      adresse = server->url(adresse);
    Downloader d;
    const QVariant wert = laden(d, adresse);
    QCOMPARE(wert.typeId(), QMetaType::QString);
    const QString text = wert.toString();
    QCOMPARE(text.size(), erwartet.size());
    QVERIFY(text == erwartet);
    // Completed reads, failed or not, leave the instance idle.
    QCOMPARE(laden(d, server->url(QStringLiteral("hallo"))), QVariant(Hallo));
  }

  void liestImmerVomServer() {
    Downloader d;
    const QString kopf = laden(d, server->url(QStringLiteral("kopf"))).toString();
    QVERIFY2(kopf.contains(QLatin1String("Cache-Control: no-cache")), qPrintable(kopf));
    QVERIFY2(kopf.contains(QLatin1String("Pragma: no-cache")), qPrintable(kopf));
    // The server allows an hour of caching; every call still reaches it.
    const QString erste = laden(d, server->url(QStringLiteral("frisch"))).toString();
    const QString zweite = laden(d, server->url(QStringLiteral("frisch"))).toString();
    QVERIFY(!erste.isEmpty());
    QVERIFY(erste != zweite);
  }

  void zeitlimitLaesstLesenOffen_data() {
    QTest::addColumn<qint16>("sekunden");
    QTest::newRow("0") << qint16(0);
    QTest::newRow("-1") << qint16(-1);
    QTest::newRow("-32768") << qint16(-32768);
    QTest::newRow("1") << qint16(1);
  }
  void zeitlimitLaesstLesenOffen() {
    QFETCH(qint16, sekunden);
    Downloader d;
    const int vorher = server->verbindungen();
    QCOMPARE(laden(d, server->url(QStringLiteral("langsam/3000")), sekunden), QVariant(Ungueltig));
    // The read is still outstanding: no value, and no second read is started.
    const QVariant zweiter = laden(d, server->url(QStringLiteral("hallo")));
    QVERIFY(!zweiter.isValid());
    wiederBereit(d);
    // The slow read and the one of wiederBereit; none for the refused calls in between.
    QCOMPARE(server->verbindungen(), vorher + 2);
  }

  void negativesZeitlimitNachEinemDurchlauf() {
    // A negative time-out still lets the pending events run once, and fails even when the
    // server is quick.
    Downloader d;
    bool gelaufen = false;
    QTimer::singleShot(0, &d, [&] { gelaufen = true; });
    QCOMPARE(laden(d, server->url(QStringLiteral("hallo")), -1), QVariant(Ungueltig));
    QVERIFY(gelaufen);
    wiederBereit(d);
  }

  void tropfenderServerWirdAbgeschnitten() {
    Downloader d;
    QCOMPARE(laden(d, server->url(QStringLiteral("tropfen/3")), 1), QVariant(Ungueltig));
    QVERIFY(!laden(d, server->url(QStringLiteral("hallo"))).isValid());
    wiederBereit(d);
  }

  void standardZeitlimit() {
    // The one long wait of the suite: a reply after 8 seconds is still within the default.
    Downloader d;
    QString url = server->url(QStringLiteral("langsam/8000"));
    QCOMPARE(d.DownloadText(url), QVariant(QStringLiteral("langsam")));
    QCOMPARE(Downloader::StandardTimeoutSeconds, qint16(10));
  }

  void wiedereintrittGibtKeinenWert() {
    Downloader d;
    const int vorher = server->verbindungen();
    QVariant innen(QStringLiteral("nicht gerufen"));
    QTimer::singleShot(100, &d, [&] { innen = laden(d, server->url(QStringLiteral("hallo"))); });
    QCOMPARE(laden(d, server->url(QStringLiteral("langsam/800"))),
             QVariant(QStringLiteral("langsam")));
    QVERIFY(!innen.isValid());
    QCOMPARE(server->verbindungen(), vorher + 1);
  }

  void timerDesHostsLaufenWeiter() {
    Downloader d;
    int takte = 0;
    QTimer takt;
    connect(&takt, &QTimer::timeout, &d, [&] { ++takte; });
    takt.start(20);
    QCOMPARE(laden(d, server->url(QStringLiteral("langsam/1000"))),
             QVariant(QStringLiteral("langsam")));
    QVERIFY2(takte >= 3, qPrintable(QString::number(takte)));
  }

  void zweiInstanzenSindUnabhaengig() {
    Downloader a;
    Downloader b;
    // a waits for an abandoned read; b is not affected.
    QCOMPARE(laden(a, server->url(QStringLiteral("langsam/3000")), 0), QVariant(Ungueltig));
    QCOMPARE(laden(b, server->url(QStringLiteral("hallo"))), QVariant(Hallo));
    QVERIFY(!laden(a, server->url(QStringLiteral("hallo"))).isValid());
    wiederBereit(a);

    // b reads inside a's wait, from a handler of the host.
    QVariant innen;
    QTimer::singleShot(100, &b, [&] { innen = laden(b, server->url(QStringLiteral("bytes"))); });
    QCOMPARE(laden(a, server->url(QStringLiteral("langsam/800"))),
             QVariant(QStringLiteral("langsam")));
    QCOMPARE(innen.toString().size(), 8);
    QCOMPARE(laden(b, server->url(QStringLiteral("hallo"))), QVariant(Hallo));
  }

  void hostLoeschtWaehrendDesWartens() {
    // Were the deleted widget's state read on, the wait would not end (or the sanitizers
    // would stop it).
    auto* d = new Downloader;
    QTimer::singleShot(100, [&] { delete d; });
    QCOMPARE(laden(*d, server->url(QStringLiteral("langsam/800")), 32767), QVariant(Ungueltig));
  }

  void festeGroesse_data() {
    QTest::addColumn<QSize>("gewuenscht");
    QTest::newRow("klein") << QSize(10, 10);
    QTest::newRow("gross") << QSize(800, 600);
    QTest::newRow("null") << QSize(0, 0);
    QTest::newRow("nur breiter") << QSize(300, 47);
  }
  void festeGroesse() {
    QFETCH(QSize, gewuenscht);
    // 2055 x 705 twips at 15 twips per pixel.
    const QSize fest(137, 47);
    Downloader d;
    QCOMPARE(d.size(), fest);
    d.resize(gewuenscht);
    QCOMPARE(d.size(), fest);
    d.setGeometry(QRect(QPoint(5, 5), gewuenscht));
    QCOMPARE(d.size(), fest);

    QWidget fenster;
    auto* spalte = new QVBoxLayout(&fenster);
    auto* eingebettet = new Downloader;
    spalte->addWidget(eingebettet, 1);
    fenster.resize(gewuenscht.expandedTo(QSize(400, 300)));
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    QCOMPARE(eingebettet->size(), fest);
  }

  void zeigtDasLogo() {
    Downloader d;
    const QImage logo(QStringLiteral(":/download/downloader-logo.png"));
    QCOMPARE(logo.size(), QSize(140, 48));
    const QImage bild = d.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(bild.size(), QSize(137, 47));
    QVERIFY(bild == logo.copy(0, 0, 137, 47).convertToFormat(QImage::Format_RGB32));
  }

  void aboutBoxJedesMalNeu() {
    Downloader d;
    QStringList gesehen;
    for (int mal = 0; mal < 2; ++mal) {
      QTimer::singleShot(0, &d, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(box);
        QCOMPARE(box->objectName(), QStringLiteral("AboutBox"));
        QCOMPARE(box->windowTitle(), QStringLiteral("Tervick Downloader"));
        // A property left on the first box must not survive into the second.
        gesehen << box->property("schonGesehen").toString();
        box->setProperty("schonGesehen", QStringLiteral("ja"));
        auto* bild = box->findChild<QLabel*>(QStringLiteral("Picture1"));
        QVERIFY(bild);
        QCOMPARE(bild->pixmap().size(), QSize(140, 48));
        QCOMPARE(box->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("Downloader 1.0"));
        QVERIFY(box->findChild<QLabel*>(QStringLiteral("Label1"))->font().bold());
        QCOMPARE(box->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
                 QStringLiteral("Tervick"));
        QVERIFY(!box->findChild<QLabel*>(QStringLiteral("Label3"))->text().isEmpty());
        QVERIFY(!box->findChild<QLabel*>(QStringLiteral("Label5"))->text().isEmpty());
        for (const char* linie : {"Line1", "Line2", "Line3", "Line4"})
          QVERIFY2(box->findChild<QFrame*>(QLatin1String(linie)), linie);
        auto* ok = box->findChild<QPushButton*>(QStringLiteral("Command1"));
        QVERIFY(ok);
        QCOMPARE(ok->text(), QStringLiteral("&OK"));
        QTest::mouseClick(ok, Qt::LeftButton);
      });
      QTimer::singleShot(5000, &d, [] {
        if (QWidget* offen = QApplication::activeModalWidget())
          offen->close();
      });
      d.ShowAboutBox();
      QVERIFY(d.findChildren<QDialog*>().isEmpty());
    }
    QCOMPARE(gesehen, QStringList({QString(), QString()}));
  }

  void festeKennungen() {
    const QMetaObject& meta = Downloader::staticMetaObject;
    auto info = [&](const char* name) {
      const int i = meta.indexOfClassInfo(name);
      return i < 0 ? QString() : QString::fromLatin1(meta.classInfo(i).value());
    };
    QCOMPARE(info("ClassID"), QString::fromLatin1(DownloadKennung::KlasseGuid));
    QCOMPARE(info("InterfaceID"), QString::fromLatin1(DownloadKennung::SchnittstelleGuid));
    QCOMPARE(info("EventsID"), QString::fromLatin1(DownloadKennung::EreignisschnittstelleGuid));
    QCOMPARE(info("TypeLibID"), QString::fromLatin1(DownloadKennung::BibliothekGuid));
    QSet<QUuid> verschieden;
    for (const char* guid :
         {DownloadKennung::BibliothekGuid, DownloadKennung::KlasseGuid,
          DownloadKennung::SchnittstelleGuid, DownloadKennung::EreignisschnittstelleGuid}) {
      const QUuid uuid = QUuid::fromString(QLatin1String(guid));
      QVERIFY2(!uuid.isNull(), guid);
      verschieden.insert(uuid);
    }
    QCOMPARE(verschieden.size(), 4);
    QCOMPARE(QString::fromLatin1(Downloader::staticMetaObject.className()),
             QString::fromLatin1(DownloadKennung::Klasse));
    // No public signals: the widget raises no events of its own.
    QCOMPARE(meta.methodCount(), QWidget::staticMetaObject.methodCount());

    const DownloadKennung::Versionsdaten version = DownloadKennung::versionsdaten();
    QCOMPARE(version.Version, QStringLiteral("1.00.0006"));
    QCOMPARE(version.Dateibeschreibung, QStringLiteral("Steuerelement zum Downloaden"));
    QCOMPARE(version.Produktname, QStringLiteral("Download"));
    QCOMPARE(version.Firma, QStringLiteral("Tervick"));
  }
};

VELMARK_TEST_MAIN(TestDownloader)
#include "tst_downloader.moc"
