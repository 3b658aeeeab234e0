#pragma once
// Receives the engine's report about the highlighted menu item and passes it on as a signal to
// whoever wants to show the help text.

#include <QObject>
#include <QString>

class HelpCallBack : public QObject {
  Q_OBJECT

 public:
  explicit HelpCallBack(QObject* parent = nullptr);

  void RaiseHelpEvent(const QString& menuText, const QString& menuHelp, bool enabled);

 signals:
  void MenuHelp(const QString& menuText, const QString& menuHelp, bool enabled);
};
