// Windows: RegisterHotKey for the thread; WM_HOTKEY arrives as a thread message, which Qt's event
// dispatcher hands to the native event filters before anything else.
#include "Tastenkuerzel.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QList>

#include <windows.h>

namespace {

// The virtual-key code of a Qt key: letters, digits and F1-F24.
UINT virtuelleTaste(int taste) {
  if ((taste >= Qt::Key_A && taste <= Qt::Key_Z) || (taste >= Qt::Key_0 && taste <= Qt::Key_9))
    return UINT(taste);
  if (taste >= Qt::Key_F1 && taste <= Qt::Key_F24)
    return UINT(VK_F1 + (taste - Qt::Key_F1));
  return 0;
}

class KuerzelWindows : public Tastenkuerzel, public QAbstractNativeEventFilter {
 public:
  KuerzelWindows() {
    QCoreApplication::instance()->installNativeEventFilter(this);
  }
  ~KuerzelWindows() override {
    abmelden();
    QCoreApplication::instance()->removeNativeEventFilter(this);
  }

  bool anmelden(int nummer, const QKeySequence& folge) override {
    if (folge.isEmpty())
      return false;
    const QKeyCombination k = folge[0];
    const UINT vk = virtuelleTaste(k.key());
    if (vk == 0)
      return false;
    UINT mod = MOD_NOREPEAT;
    const Qt::KeyboardModifiers m = k.keyboardModifiers();
    if (m & Qt::ControlModifier)
      mod |= MOD_CONTROL;
    if (m & Qt::AltModifier)
      mod |= MOD_ALT;
    if (m & Qt::ShiftModifier)
      mod |= MOD_SHIFT;
    if (m & Qt::MetaModifier)
      mod |= MOD_WIN;
    if (!RegisterHotKey(nullptr, nummer, mod, vk))
      return false;
    m_nummern.append(nummer);
    return true;
  }

  void abmelden() override {
    for (int n : m_nummern)
      UnregisterHotKey(nullptr, n);
    m_nummern.clear();
  }

  bool nativeEventFilter(const QByteArray& art, void* nachricht, qintptr*) override {
    if (art != "windows_generic_MSG")
      return false;
    const MSG* msg = static_cast<const MSG*>(nachricht);
    if (msg->message != WM_HOTKEY || !m_nummern.contains(int(msg->wParam)))
      return false;
    emit ausgeloest(int(msg->wParam));
    return true;
  }

 private:
  QList<int> m_nummern;
};

}  // namespace

std::unique_ptr<Tastenkuerzel> Tastenkuerzel::erzeugen() {
  return std::make_unique<KuerzelWindows>();
}
