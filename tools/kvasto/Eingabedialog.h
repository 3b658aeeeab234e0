#pragma once
// The small input dialogs of the main program (an account, a rate, a correction): labelled
// fields in a form, OK and Abbrechen. OK runs the save it was given; a save that fails (it says
// why itself) keeps the dialog open with the field it names selected, so nothing typed is lost.

#include "Haushaltsbuch.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QFormLayout;
class QLineEdit;

class Eingabedialog : public QDialog {
  Q_OBJECT

 public:
  Eingabedialog(QWidget* parent, const QString& titel);

  QLineEdit* textfeld(const QString& name, const QString& beschriftung, const QString& text);
  QComboBox* auswahl(const QString& name, const QString& beschriftung, const QStringList& eintraege,
                     const QString& text, bool editierbar = false);
  template <class T>
  T* feld(const QString& name, const QString& beschriftung, T* w) {
    hinzufuegen(name, beschriftung, w);
    return w;
  }

  // Runs at OK; the dialog closes when it reports the change as stored.
  void beimSpeichern(std::function<Aenderung()> speichern) { m_speichern = std::move(speichern); }

  void accept() override;

 protected:
  void showEvent(QShowEvent* ereignis) override;

 private:
  void hinzufuegen(const QString& name, const QString& beschriftung, QWidget* w);

  QFormLayout* m_formular;
  QList<QWidget*> m_felder;
  QList<QWidget*> m_knoepfe;
  std::function<Aenderung()> m_speichern;
};
