#pragma once
// The per-user settings store. On Windows the registry itself; elsewhere one file in the text
// format of registry export files (see RegDatei), with the same results.

#include <QString>
#include <QVariant>

// Root-key handles as the registry numbers them; the program only uses the current user's.
inline constexpr quint32 HKCU = 0x80000001u;

inline const QString ProduktSchluessel = QStringLiteral("Software\\Quillon\\Velmark");

// Empty (an invalid QVariant) when the key or value is missing or has another type; a QString for
// a text value; a qint32 for a 32-bit number value.
QVariant RegistryLesen(quint32 Wurzel, const QString& Schluessel, const QString& Wertname);

// 0 on success, otherwise the platform's error code; -1 when a number was asked for a value that
// is no 16- or 32-bit whole number. AlsText: true when omitted, or when it is present but no
// boolean.
qint32 RegistrySchreiben(quint32 Wurzel, const QString& Schluessel, const QString& Wertname,
                         const QVariant& Wert, const QVariant& AlsText = QVariant(true));

// Removes a value; a key left empty goes with it. 0 also when there was no such value.
qint32 RegistryLoeschen(quint32 Wurzel, const QString& Schluessel, const QString& Wertname);

namespace Registry {

// Where the settings file lives on platforms without a registry.
QString dateipfad();

// Error codes the file store returns, numbered as the registry's.
inline constexpr qint32 FehlerZugriff = 5;        // folder or file cannot be written
inline constexpr qint32 FehlerGesperrt = 33;      // another process holds the lock too long
inline constexpr qint32 FehlerSchreiben = 29;     // the write failed part-way (disk full)

// How long one operation waits for the lock that another process holds, in milliseconds. While
// it waits the event loop runs (windows repaint, timers fire), and the user's clicks and keys are
// dropped, so that nothing starts a second operation inside the first.
inline constexpr int Wartezeit = 5000;

// Why a write failed, in German words, for the reason below a message; empty for 0.
QString fehlergrund(qint32 status);

// Holds the store's lock across several reads and writes of this process, so that a read and the
// write derived from it are one step for every other process. Writes made inside it take no lock
// of their own: when it could not get the lock they fail at once with its status, without
// waiting again and without writing anything. Hold it for a few reads and writes only. Without a
// file store (Windows) it does nothing and never fails.
class Sperre {
 public:
  Sperre();
  ~Sperre();
  Sperre(const Sperre&) = delete;
  Sperre& operator=(const Sperre&) = delete;
  bool gesperrt() const { return m_status == 0; }
  // 0, or the error code of the attempt (FehlerGesperrt: another process kept the lock).
  qint32 status() const { return m_status; }

 private:
  qint32 m_status = 0;
};

}  // namespace Registry
