#pragma once
// The fixed identity of the Download library: hosts bind to these identifiers, so they never
// change between builds. A Windows build registers the control under them; the same values stand
// as class info on Downloader, where Qt's COM server support reads them.

#include "download_export.h"

#include <QString>

namespace DownloadKennung {

inline constexpr char Bibliothek[] = "Download";
inline constexpr char BibliothekGuid[] = "{935E8A22-FD51-4269-ADE8-7B786A175B62}";
inline constexpr char BibliothekHilfetext[] = "Tervick Downloader";
inline constexpr char Klasse[] = "Downloader";
inline constexpr char KlasseGuid[] = "{1E698375-7944-41D5-A98D-B13E2C27B679}";
inline constexpr char Schnittstelle[] = "_Downloader";
inline constexpr char SchnittstelleGuid[] = "{8386EA61-06E4-4C9E-B1AE-4F793FB7381F}";
inline constexpr char Ereignisschnittstelle[] = "__Downloader";
inline constexpr char EreignisschnittstelleGuid[] = "{C7A0F19B-FF8A-4276-9523-F81DF70E8B2E}";

// The version data as the loaded library carries it (not as the host was compiled against).
struct Versionsdaten {
  QString Dateibeschreibung;
  QString Produktname;
  QString Version;
  QString Firma;
};
DOWNLOAD_EXPORT Versionsdaten versionsdaten();

}  // namespace DownloadKennung
