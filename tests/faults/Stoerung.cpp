#include "Stoerung.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <csignal>

Kindbericht kindBericht(int exitCode, QProcess::ExitStatus status, const QByteArray& ausgabe) {
  Kindbericht b;
  b.exitCode = exitCode;
  b.gelaufen = status == QProcess::NormalExit && exitCode == 0;
  b.ausgabe = QString::fromUtf8(ausgabe);
  for (const QString& zeile : b.ausgabe.split(u'\n', Qt::SkipEmptyParts)) {
    const QStringList teile = zeile.split(u'|');
    if (teile.value(0) == u"meldung" && teile.size() >= 4) {
      MeldungTest::Eintrag e;
      e.stil = teile[1].toInt();
      e.titel = teile[2];
      e.prompt = teile.mid(3).join(u'|').replace(QStringLiteral("\\n"), QStringLiteral("\n"));
      b.meldungen.append(e);
    } else if (teile.value(0) == u"ergebnis") {
      b.ok = teile.value(1) == u"ok";
      b.grund = teile.mid(2).join(u'|');
    } else {
      b.zeilen.append(zeile);
    }
  }
  return b;
}

void stoerkindStarten(QProcess& p, const QStringList& argumente) {
  p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  p.start(QStringLiteral(STOERKIND), argumente);
}

Kindbericht stoerkind(const QStringList& argumente, int ms) {
  QProcess p;
  stoerkindStarten(p, argumente);
  if (!p.waitForFinished(ms)) {
    p.kill();
    p.waitForFinished();
    Kindbericht b;
    b.ausgabe = QStringLiteral("stoerkind hängt: ") + QString::fromUtf8(p.readAllStandardOutput());
    return b;
  }
  return kindBericht(p.exitCode(), p.exitStatus(), p.readAllStandardOutput());
}

Ordnerinhalt ordnerInhalt(const QString& ordner) {
  Ordnerinhalt inhalt;
  const QDir basis(ordner);
  QDirIterator it(ordner, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString pfad = it.next();
    QFile f(pfad);
    inhalt.insert(basis.relativeFilePath(pfad),
                  f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<nicht lesbar>"));
  }
  return inhalt;
}

QStringList unterschiede(const Ordnerinhalt& vorher, const Ordnerinhalt& nachher) {
  QStringList liste;
  for (auto it = vorher.cbegin(); it != vorher.cend(); ++it) {
    if (!nachher.contains(it.key()))
      liste.append(QStringLiteral("fehlt: ") + it.key());
    else if (nachher.value(it.key()) != it.value())
      liste.append(QStringLiteral("geändert: ") + it.key());
  }
  for (auto it = nachher.cbegin(); it != nachher.cend(); ++it) {
    if (!vorher.contains(it.key()))
      liste.append(QStringLiteral("neu: ") + it.key());
  }
  return liste;
}

void toeten(QProcess& p) {
  if (p.state() != QProcess::NotRunning)
    ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
  p.waitForFinished(10000);
}
