#pragma once
// Forms as the program knows them: every form exists at most once, from its first use (load)
// until it is unloaded; the registry below creates, finds and unloads them by class name. A form's
// objectName is its class name; each control's objectName is its name in the dialog (cboKonto ...)
// and a control's caption or tip number is its dynamic property "Tag".

#include <QDialog>
#include <QHash>
#include <QList>
#include <functional>

class Formular : public QDialog {
  Q_OBJECT

 public:
  explicit Formular(QWidget* parent = nullptr);
  ~Formular() override;

  // Unload: runs the unload handler, forgets the form and deletes it once control is back in the
  // event loop. Hiding a modal form ends its modal loop.
  void entladen();
  bool wirdEntladen() const { return m_entladen; }

  // The form's help context (0: none). F1 anywhere in the form opens it: the form sees the key
  // before its controls do.
  int hilfekontext() const { return m_hilfekontext; }

 public slots:
  // The help topic of this form; for the form's help button.
  void hilfeAnzeigen();

 protected:
  // Load: runs once, right after the form was created by Formulare::laden.
  virtual void beimLaden() {}
  // Unload: runs before the form goes, whoever unloads it.
  virtual void beimEntladen() {}
  // The user closes the window (close box, Alt+F4): false keeps it open. Not asked when the
  // program unloads the form.
  virtual bool schliessenErlaubt() { return true; }

  void setzeHilfekontext(int kontext) { m_hilfekontext = kontext; }

  void closeEvent(QCloseEvent* ereignis) override;
  // Esc and the dialog's rejection unload it, like its cancel button.
  void reject() override;

 private:
  friend class Formulare;
  bool m_entladen = false;
  int m_hilfekontext = 0;
};

class Formulare {
 public:
  using Fabrik = std::function<Formular*()>;

  // Makes a form known by its class name, so that libraries below it can load it by name.
  template <class T>
  static void anmelden() {
    anmelden(QString::fromLatin1(T::staticMetaObject.className()), [] { return new T; });
  }
  static void anmelden(const QString& name, Fabrik fabrik);

  // The loaded instance, or a new one after its load handler ran. nullptr when the load handler
  // unloaded the form again, or no form of that name is known.
  template <class T>
  static T* laden() {
    const QString name = QString::fromLatin1(T::staticMetaObject.className());
    if (auto* f = geladen(name))
      return static_cast<T*>(f);
    return static_cast<T*>(eintragen(new T, name));
  }
  static Formular* laden(const QString& name);
  // The same, with `vorbereiten` run on a new instance before its load handler: what the caller
  // tells the load. A form that is loaded already is returned as it is.
  template <class T, class Vorbereitung>
  static T* laden(Vorbereitung vorbereiten) {
    const QString name = QString::fromLatin1(T::staticMetaObject.className());
    if (auto* f = geladen(name))
      return static_cast<T*>(f);
    auto* neu = new T;
    vorbereiten(*neu);
    return static_cast<T*>(eintragen(neu, name));
  }
  // Loads a form by name and shows it without making it modal: restored when minimised, raised
  // and activated. The booking dialogs are opened this way.
  static Formular* nichtModalZeigen(const QString& name);

  template <class T>
  static T* geladen() {
    return static_cast<T*>(geladen(QString::fromLatin1(T::staticMetaObject.className())));
  }
  static Formular* geladen(const QString& name);

  // Loaded forms in the order they were loaded.
  static QList<Formular*> alle();
  static void entladen(const QString& name);
  static void alleEntladen();

 private:
  friend class Formular;
  static Formular* eintragen(Formular* form, const QString& name);
  static void vergessen(Formular* form);
};

// Shows a window without making it modal and brings it to the front; a minimised one comes back
// in its normal size.
void nachVorneHolen(QWidget* fenster);
