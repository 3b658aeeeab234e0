// Platforms without global shortcuts.
#include "Tastenkuerzel.h"

std::unique_ptr<Tastenkuerzel> Tastenkuerzel::erzeugen() {
  return nullptr;
}
