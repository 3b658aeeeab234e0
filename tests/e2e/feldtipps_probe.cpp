// A small dialog with input fields for the end-to-end test of the tip window: every field runs
// FeldFokus when it gets the focus, as the entry dialogs do. It reports on stdout what it sees, so
// that the test can compare it with what the window manager says:
//   fokus=<field> aktiv=<active window> tipp=<tip text> tippfenster=<x,y,w,h>
// Arguments: <program folder> <user>.

#include "Formular.h"
#include "Module1.h"
#include "Programm.h"
#include "ShellFormulare.h"
#include "Zustand.h"
#include "frmHilfe.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTextStream>
#include <QTimer>

namespace {

class frmProbe : public Formular {
  Q_OBJECT

 public:
  frmProbe() {
    auto* layout = new QFormLayout(this);
    feld(layout, "txtBetrag", "58", "Betrag:");
    feld(layout, "txtDatum", "57", "Datum:");
    auto* konto = new QComboBox(this);
    konto->setObjectName(QStringLiteral("cboKonto"));
    konto->setProperty("Tag", QStringLiteral("56"));
    konto->setEditable(true);
    konto->addItems({QStringLiteral("Girokonto"), QStringLiteral("Sparkonto")});
    layout->addRow(QStringLiteral("Konto:"), konto);
    FeldFokusVerbinden(konto);
    feld(layout, "txtOhneTipp", "", "Ohne Tipp:");
    setWindowTitle(QStringLiteral("Feldtipps Probe"));
    resize(380, 180);
  }

 protected:
  void beimLaden() override { setzeHilfekontext(40); }
  void beimEntladen() override {
    TippfensterEntladen();
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
  }

 private:
  void feld(QFormLayout* layout, const char* name, const char* tag, const char* beschriftung) {
    auto* f = new QLineEdit(QStringLiteral("Text"), this);
    f->setObjectName(QString::fromLatin1(name));
    f->setProperty("Tag", QString::fromLatin1(tag));
    layout->addRow(QString::fromUtf8(beschriftung), f);
    FeldFokusVerbinden(f);
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  deutscheOberflaeche();
  const QStringList args = app.arguments();
  zustandStarten(args.value(1, ProgrammordnerErmitteln()), QDate::currentDate());
  zustand().AktuellerBenutzer = args.value(2);
  shellFormulareAnmelden();

  QTextStream aus(stdout);
  // Reported after each focus change, once the events it caused have run.
  QObject::connect(&app, &QApplication::focusChanged, &app, [&aus] {
    QTimer::singleShot(0, qApp, [&aus] {
      QWidget* fokus = QApplication::focusWidget();
      QWidget* aktiv = QApplication::activeWindow();
      auto* tipp = Formulare::geladen<frmHilfe>();
      const QRect g = tipp && tipp->isVisible() ? tipp->frameGeometry() : QRect();
      aus << "fokus=" << (fokus ? fokus->objectName() : QString())
          << " aktiv=" << (aktiv ? aktiv->objectName() : QString())
          << " tipp=" << (tipp ? tipp->lbTip()->text() : QString()) << " tippfenster=" << g.x()
          << ',' << g.y() << ',' << g.width() << ',' << g.height() << Qt::endl;
    });
  });

  auto* probe = Formulare::laden<frmProbe>();
  probe->move(120, 120);
  probe->show();
  probe->activateWindow();
  return app.exec();
}

#include "feldtipps_probe.moc"
