#pragma once
// The program's help window: the help file in a text browser, one instance, not modal.

#include "Formular.h"

class QLabel;
class QTextBrowser;

class Hilfefenster : public Formular {
  Q_OBJECT

 public:
  Hilfefenster();

  // Shows the topic of `kontext` (the anchor of that number) and brings the window to the front.
  void zeigen(int kontext);

  // The topic shown last; false when the file or the topic was missing.
  bool themaGefunden() const { return m_gefunden; }
  QTextBrowser* browser() const { return m_browser; }

 private:
  bool dateiLaden(const QString& datei);

  QLabel* m_hinweis;
  QTextBrowser* m_browser;
  QString m_datei;      // the file shown, as loaded
  QString m_quelltext;  // its HTML, to look up anchors
  bool m_gefunden = false;
  bool m_platziert = false;  // placed at its first showing; afterwards where the user put it
};
