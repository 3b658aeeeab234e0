#include "Buchungsfenster.h"

#include "Formular.h"
#include "Meldung.h"
#include "Zustand.h"

#include <QPointer>
#include <QTimer>

bool BenutzerwechselZulassen(const QString& benutzer, const QString& buchdatei) {
  QList<QPointer<Formular>> fremde;
  for (Formular* form : Formulare::alle()) {
    const auto* dialog = dynamic_cast<const Buchungsfenster*>(form);
    if (dialog && (dialog->buchungsbenutzer() != benutzer || dialog->buchungsdatei() != buchdatei))
      fremde.append(form);
  }
  for (const QPointer<Formular>& form : fremde) {
    const auto* dialog = dynamic_cast<const Buchungsfenster*>(form.data());
    if (!dialog || !dialog->buchungBegonnen())
      continue;
    const QString frage = Text(3010).replace(QStringLiteral("%1"), dialog->buchungsbenutzer());
    if (Meldung(frage, Text(3110), 36, 3010, 3110) == Antwort::Ja)
      continue;
    // In front once the sign-in that asked has closed: a modal dialog would cover it until then.
    QTimer::singleShot(0, form, [form] {
      if (form && !form->wirdEntladen())
        nachVorneHolen(form);
    });
    return false;
  }
  for (const QPointer<Formular>& form : fremde) {
    if (form)
      form->entladen();
  }
  return true;
}
