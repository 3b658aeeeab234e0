#pragma once
// The rule that zamlo runs once per user: a lock file in the user's runtime folder, held for the
// life of the process. A lock that no running process holds is taken over.

#include <QLockFile>
#include <QString>

class Einzelinstanz {
 public:
  explicit Einzelinstanz(const QString& sperrdatei);
  Einzelinstanz(const Einzelinstanz&) = delete;
  Einzelinstanz& operator=(const Einzelinstanz&) = delete;

  // True only when a running process holds the lock. When the lock cannot be made at all (no
  // runtime folder, no rights) the program runs rather than refuse to start.
  bool andereLaeuft() const { return m_andere; }

  // A lock file without an owner's process number (empty, cut short, garbage) older than this
  // is taken over; a younger one may belong to a start that is just writing its number.
  static constexpr int Altersgrenze = 2000;  // milliseconds

 private:
  QLockFile m_sperre;
  bool m_andere = false;
};

// zamlo's lock: "zamlo.lock" in QStandardPaths::RuntimeLocation, taken on the first call and held
// until the process ends; later calls give the first answer.
bool andereInstanzLaeuft();
