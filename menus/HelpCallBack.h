#pragma once
// Receives the menu engine's report on the highlighted menu item and passes it on as the signal
// MenuHelp to whoever owns the object (the tray form keeps one as HelpObj and does not react).

#include <QObject>
#include <QString>

class HelpCallBack : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  void RaiseHelpEvent(const QString& text, const QString& hilfe, bool aktiv);

 signals:
  void MenuHelp(const QString& MenuText, const QString& MenuHelp, bool Enabled);
};
