#include "HelpCallBack.h"

HelpCallBack::HelpCallBack(QObject* parent) : QObject(parent) {}

void HelpCallBack::RaiseHelpEvent(const QString& menuText, const QString& menuHelp, bool enabled) {
  emit MenuHelp(menuText, menuHelp, enabled);
}
