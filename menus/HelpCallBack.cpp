#include "HelpCallBack.h"

void HelpCallBack::RaiseHelpEvent(const QString& text, const QString& hilfe, bool aktiv) {
  emit MenuHelp(text, hilfe, aktiv);
}
