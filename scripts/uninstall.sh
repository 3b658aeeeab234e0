#!/usr/bin/env bash
# Removes the installation that install.sh made for the current user: the programs and runtime
# files, the menu entries, the icons and the start at log-in. Every household book, the shared
# data file Daten.mdb, the version file programm.ver and the settings stay where they are.
# install.sh puts a copy of this script into the program folder.
# shellcheck disable=SC1111  # German quotation marks in messages
set -euo pipefail

ID=de.quillon.velmark

[ -n "${HOME:-}" ] || { echo "Deinstallation abgebrochen: HOME ist nicht gesetzt." >&2; exit 1; }
case "${XDG_DATA_HOME:-}" in /*) daten="$XDG_DATA_HOME" ;; *) daten="$HOME/.local/share" ;; esac
case "${XDG_CONFIG_HOME:-}" in /*) konfig="$XDG_CONFIG_HOME" ;; *) konfig="$HOME/.config" ;; esac
ziel="$daten/Quillon/Velmark"
liste="$ziel/.installation"
einstellungen="$konfig/Quillon/Velmark.reg"

# What an installation puts outside the program folder, also when its list is lost.
feste=("$daten/applications/$ID.zamlo.desktop" "$daten/applications/$ID.update.desktop"
  "$konfig/autostart/$ID.zamlo.desktop" "$daten/icons/hicolor/scalable/apps/$ID.svg")
for groesse in 16x16 32x32 48x48 64x64 256x256; do
  feste+=("$daten/icons/hicolor/$groesse/apps/$ID.png")
done

installiert=0
for datei in "$liste" "$ziel/zamlo" "${feste[@]}"; do
  if [ -e "$datei" ]; then installiert=1; fi
done
if [ $installiert = 0 ]; then
  echo "Velmark ist nicht installiert (kein Programm in $ziel); es gibt nichts zu entfernen."
  exit 0
fi

# Programs of the installation that are running: their executables lie in the program folder.
laufende_programme() {
  local ordner p exe
  ordner="$(realpath -m "$1")"
  for p in /proc/[0-9]*; do
    exe="$(readlink "$p/exe" 2>/dev/null)" || continue
    case "$exe" in "$ordner"/*) exe="${exe##*/}" && echo "${exe% (deleted)}" ;; esac
  done | sort -u
}
laufend="$(laufende_programme "$ziel" | paste -sd ' ')"
if [ -n "$laufend" ]; then
  echo "Deinstallation abgebrochen: Velmark läuft noch ($laufend)." >&2
  case " $laufend " in *" zamlo "*)
    echo "Bitte beenden Sie die Schnellerfassung zuerst über ihr Symbol im Infobereich (rechte Maustaste, „Beenden“)." >&2 ;;
  esac
  case " $laufend " in *" kvasto "* | *" update "*)
    echo "Bitte schließen Sie das Hauptprogramm und das Software-Update." >&2 ;;
  esac
  echo "Starten Sie die Deinstallation danach erneut." >&2
  exit 1
fi

# The program folder: what the list names, never a data file or the version file. Without a list
# only the programs themselves.
namen=()
if [ -f "$liste" ]; then
  mapfile -t namen <"$liste"
else
  namen=(zamlo update kvasto uninstall.sh libDownload.so libDownload.so.1)
  for datei in "$ziel"/libDownload.so.*; do
    if [ -e "$datei" ]; then namen+=("${datei##*/}"); fi
  done
fi
for name in "${namen[@]}"; do
  case "$name" in
    "" | *.mdb | *.mdb-* | programm.ver | ../* | */../*) continue ;;
    /*) rm -f -- "$name" ;;
    */*) ;;
    .installation) ;;
    *) rm -f -- "$ziel/$name" ;;
  esac
done
rm -f -- "${feste[@]}"
# The list goes last: a removal cut short can be run again.
rm -f -- "$liste"
touch "$daten/icons/hicolor" 2>/dev/null || true

# Empty folders of the installation go; the program folder stays while it holds data.
if rmdir "$ziel" 2>/dev/null; then rmdir "$daten/Quillon" 2>/dev/null || true; fi
if [ -d "$ziel" ]; then
  echo "Velmark ist entfernt. Haushaltsbücher, Datendatei Daten.mdb und Versionsdatei bleiben in $ziel, die Einstellungen in $einstellungen."
else
  echo "Velmark ist entfernt. Die Einstellungen bleiben in $einstellungen."
fi
