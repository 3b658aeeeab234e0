// X11: the key is grabbed on the root window through Qt's own xcb connection, once for each
// state of Caps Lock and Num Lock, so that the shortcut works whatever they are. A grab that
// another client holds fails with BadAccess: the shortcut is taken. Key presses of the grab reach
// Qt's native event filters before Qt looks at them.
#include "Tastenkuerzel.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QList>

#include <xcb/xcb.h>

#include <cstdlib>

namespace {

constexpr uint16_t Feststelltasten[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                        XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr uint16_t OhneFeststellen = uint16_t(~(XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2));

// The X keysym of a Qt key: letters (lower case, as the keyboard map lists them first), digits,
// F1-F24.
uint32_t keysym(int taste) {
  if (taste >= Qt::Key_A && taste <= Qt::Key_Z)
    return uint32_t(taste - Qt::Key_A + 'a');
  if (taste >= Qt::Key_0 && taste <= Qt::Key_9)
    return uint32_t(taste);
  if (taste >= Qt::Key_F1 && taste <= Qt::Key_F24)
    return 0xffbe + uint32_t(taste - Qt::Key_F1);  // XK_F1
  return 0;
}

class KuerzelXcb : public Tastenkuerzel, public QAbstractNativeEventFilter {
 public:
  KuerzelXcb(xcb_connection_t* verbindung, xcb_window_t wurzel)
      : m_verbindung(verbindung), m_wurzel(wurzel) {
    QCoreApplication::instance()->installNativeEventFilter(this);
  }
  ~KuerzelXcb() override {
    abmelden();
    QCoreApplication::instance()->removeNativeEventFilter(this);
  }

  bool anmelden(int nummer, const QKeySequence& folge) override {
    if (folge.isEmpty())
      return false;
    const QKeyCombination k = folge[0];
    const xcb_keycode_t code = tastencode(keysym(k.key()));
    if (code == 0)
      return false;
    uint16_t mod = 0;
    const Qt::KeyboardModifiers m = k.keyboardModifiers();
    if (m & Qt::ControlModifier)
      mod |= XCB_MOD_MASK_CONTROL;
    if (m & Qt::AltModifier)
      mod |= XCB_MOD_MASK_1;
    if (m & Qt::ShiftModifier)
      mod |= XCB_MOD_MASK_SHIFT;
    if (m & Qt::MetaModifier)
      mod |= XCB_MOD_MASK_4;
    xcb_void_cookie_t anfragen[std::size(Feststelltasten)];
    for (size_t i = 0; i < std::size(Feststelltasten); ++i)
      anfragen[i] = xcb_grab_key_checked(m_verbindung, 1, m_wurzel, mod | Feststelltasten[i],
                                         code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    bool frei = true;
    for (const auto& anfrage : anfragen) {
      if (xcb_generic_error_t* fehler = xcb_request_check(m_verbindung, anfrage)) {
        // BadAccess: another client holds it; any other error: it cannot be had either.
        frei = false;
        std::free(fehler);
      }
    }
    const Griff griff{nummer, code, mod};
    if (!frei) {
      // Half a grab would catch the key with some lock states only.
      loslassen(griff);
      return false;
    }
    m_griffe.append(griff);
    return true;
  }

  void abmelden() override {
    for (const Griff& g : m_griffe)
      loslassen(g);
    m_griffe.clear();
  }

  bool nativeEventFilter(const QByteArray& art, void* nachricht, qintptr*) override {
    if (art != "xcb_generic_event_t")
      return false;
    const auto* ereignis = static_cast<const xcb_generic_event_t*>(nachricht);
    if ((ereignis->response_type & 0x7f) != XCB_KEY_PRESS)
      return false;
    const auto* taste = reinterpret_cast<const xcb_key_press_event_t*>(ereignis);
    if (taste->event != m_wurzel)
      return false;
    for (const Griff& g : m_griffe) {
      if (g.code == taste->detail && g.mod == (taste->state & OhneFeststellen)) {
        emit ausgeloest(g.nummer);
        return true;
      }
    }
    return false;
  }

 private:
  struct Griff {
    int nummer;
    xcb_keycode_t code;
    uint16_t mod;
  };

  void loslassen(const Griff& g) {
    for (uint16_t feststellen : Feststelltasten)
      xcb_ungrab_key(m_verbindung, g.code, m_wurzel, g.mod | feststellen);
    xcb_flush(m_verbindung);
  }

  // The first key code whose keyboard map lists the keysym; 0 for none.
  xcb_keycode_t tastencode(uint32_t gesucht) {
    if (gesucht == 0)
      return 0;
    const xcb_setup_t* setup = xcb_get_setup(m_verbindung);
    const uint8_t erster = setup->min_keycode;
    const int anzahl = setup->max_keycode - erster + 1;
    xcb_get_keyboard_mapping_reply_t* karte = xcb_get_keyboard_mapping_reply(
        m_verbindung, xcb_get_keyboard_mapping(m_verbindung, erster, uint8_t(anzahl)), nullptr);
    if (!karte)
      return 0;
    const xcb_keysym_t* zeichen = xcb_get_keyboard_mapping_keysyms(karte);
    const int proTaste = karte->keysyms_per_keycode;
    xcb_keycode_t code = 0;
    for (int i = 0; i < anzahl && code == 0; ++i) {
      for (int j = 0; j < proTaste; ++j) {
        if (zeichen[i * proTaste + j] == gesucht) {
          code = xcb_keycode_t(erster + i);
          break;
        }
      }
    }
    std::free(karte);
    return code;
  }

  xcb_connection_t* m_verbindung;
  xcb_window_t m_wurzel;
  QList<Griff> m_griffe;
};

}  // namespace

std::unique_ptr<Tastenkuerzel> Tastenkuerzel::erzeugen() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  xcb_connection_t* verbindung = x11 ? x11->connection() : nullptr;
  if (!verbindung)
    return nullptr;
  const xcb_screen_t* schirm = xcb_setup_roots_iterator(xcb_get_setup(verbindung)).data;
  if (!schirm)
    return nullptr;
  return std::make_unique<KuerzelXcb>(verbindung, schirm->root);
}
