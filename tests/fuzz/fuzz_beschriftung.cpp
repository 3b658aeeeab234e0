// Menu captions: whatever a caption says, the record read from it builds a caption that reads
// back as the same record, and builds the same caption again.
#include "CMyItemData.h"
#include "CoolMenu.h"

#include <cstdlib>

namespace {

bool gleich(const CMyItemData& a, const CMyItemData& b) {
  return a.sMenuText == b.sMenuText && a.sMenuHelp == b.sMenuHelp && a.bAsMark == b.bAsMark &&
         a.bAsCheck == b.bAsCheck && a.istTrenner() == b.istTrenner();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse) {
  const QString caption =
      QString::fromUtf8(reinterpret_cast<const char*>(daten), static_cast<qsizetype>(groesse));
  CMyItemData satz;
  BeschriftungLesen(caption, satz);
  if (satz.sMenuHelp.contains(u'|') || (satz.bAsCheck && !satz.bAsMark))
    std::abort();
  const QString gebaut = BeschriftungBauen(satz);
  CMyItemData wieder;
  BeschriftungLesen(gebaut, wieder);
  if (!gleich(satz, wieder) || BeschriftungBauen(wieder) != gebaut)
    std::abort();
  return 0;
}
