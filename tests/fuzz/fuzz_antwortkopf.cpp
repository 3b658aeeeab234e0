// The response head as the update's download reads it. The input is the head text, a NUL, and
// the value of "Content-Length". Whatever a server sends, one clear decision: lengths never
// negative, a length only for 200, the message's status line taken from the head. And a head
// built from a status number reads as that status.
#include "Antwortkopf.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse) {
  const QByteArray bytes(reinterpret_cast<const char*>(daten), static_cast<qsizetype>(groesse));
  const qsizetype trenner = bytes.indexOf('\0');
  const QString kopf = QString::fromLatin1(trenner < 0 ? bytes : bytes.left(trenner));
  const QString laenge = trenner < 0 ? QString() : QString::fromLatin1(bytes.mid(trenner + 1));

  const Antwortkopf a = Antwortkopf::lesen(kopf, laenge);
  if (a.laenge < 0 || a.kilobyte < 0)
    std::abort();
  if (a.art != Antwortkopf::Art::Ok && (a.laenge != 0 || a.kilobyte != 0))
    std::abort();
  // Whole kilobytes, rounded: never more than half a kilobyte off.
  const __int128 abstand = static_cast<__int128>(a.kilobyte) * 1024 - a.laenge;
  if (abstand > 512 || abstand < -512)
    std::abort();
  if (a.art == Antwortkopf::Art::Andere && !kopf.startsWith(a.statuszeile))
    std::abort();

  // The same bytes as the parts of a response: status, reason, one header line.
  if (bytes.size() >= 2) {
    const int status =
        100 +
        (static_cast<unsigned char>(bytes[0]) * 256 + static_cast<unsigned char>(bytes[1])) % 900;
    const QByteArray rest = bytes.mid(2);
    const qsizetype mitte = rest.size() / 2;
    const QString text =
        Antwortkopf::text(status, rest.left(mitte), {{rest.mid(mitte), QByteArray("x")}});
    const Antwortkopf b = Antwortkopf::lesen(text, laenge);
    const Antwortkopf::Art erwartet = status == 200   ? Antwortkopf::Art::Ok
                                      : status == 401 ? Antwortkopf::Art::NichtBerechtigt
                                      : status == 404 ? Antwortkopf::Art::NichtGefunden
                                                      : Antwortkopf::Art::Andere;
    if (b.art != erwartet)
      std::abort();
    if (b.art == Antwortkopf::Art::Andere &&
        !b.statuszeile.startsWith(QStringLiteral("HTTP/1.1 %1 ").arg(status)))
      std::abort();
  }
  return 0;
}
