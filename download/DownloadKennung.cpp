#include "DownloadKennung.h"

#include "DownloadVersion.h"

namespace DownloadKennung {

Versionsdaten versionsdaten() {
  return {QStringLiteral(DOWNLOAD_DATEIBESCHREIBUNG), QStringLiteral(DOWNLOAD_PRODUKTNAME),
          QStringLiteral(DOWNLOAD_VERSION_TEXT), QStringLiteral(DOWNLOAD_FIRMA)};
}

}  // namespace DownloadKennung
