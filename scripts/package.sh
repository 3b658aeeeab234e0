#!/usr/bin/env bash
# Makes the release archive build-release/Velmark-<version>-linux-<machine>.tar.gz: a release
# build's program folder (without the designer plugin), velmark-daten in tools/, install.sh,
# uninstall.sh, pakete.sh and a short German read-me. A household installs from it without a
# compiler: unpack it and run ./install.sh in the unpacked folder.
#   scripts/package.sh                                  builds build-release/ and packs it there
#   scripts/package.sh <program folder> <archive folder>  packs an already built program folder
#                                                       (tools/velmark-daten beside it)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -eq 2 ]; then
  programmordner="$(cd "$1" && pwd)"
  ablage="$(cd "$2" && pwd)"
elif [ $# -eq 0 ]; then
  # shellcheck source=pakete.sh
  . scripts/pakete.sh
  # shellcheck disable=SC2086
  pakete_sicherstellen $VELMARK_PAKETE_BAU
  cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMARK_TESTS=OFF
  cmake --build build-release --target auslieferung
  programmordner="$PWD/build-release/Velmark"
  ablage="$PWD/build-release"
else
  echo "Aufruf: package.sh [<gebauter Programmordner> <Ordner für das Archiv>]" >&2
  exit 2
fi
werkzeug="$(dirname "$programmordner")/tools/velmark-daten"

version="$("$werkzeug" version)"
name="Velmark-$version-linux-$(uname -m)"
archiv="$ablage/$name.tar.gz"
arbeit="$(mktemp -d)"
trap 'rm -rf "$arbeit"' EXIT
wurzel="$arbeit/$name"
mkdir -p "$wurzel/Velmark" "$wurzel/tools"

# The program folder's files and library links; no data file, no version file, no subfolder.
while IFS= read -r -d '' datei; do
  case "$datei" in
    programm.ver | *.lock | .*) continue ;;
    unbenannt.mdb) ;;
    *.mdb | *.mdb-*) continue ;;
  esac
  cp -a "$programmordner/$datei" "$wurzel/Velmark/"
done < <(cd "$programmordner" && find . -mindepth 1 -maxdepth 1 \( -type f -o -type l \) -printf '%P\0')
cp -a "$werkzeug" "$wurzel/tools/"
cp scripts/install.sh scripts/uninstall.sh scripts/pakete.sh "$wurzel/"
chmod 755 "$wurzel/install.sh" "$wurzel/uninstall.sh"

pakete="$(. scripts/pakete.sh && xargs <<<"$VELMARK_PAKETE_LAUFZEIT")"
cat >"$wurzel/LIESMICH.txt" <<EOF
Velmark Schnellerfassung $version

Installation für den angemeldeten Benutzer (ohne Compiler):

    ./install.sh

Die Programme kommen nach \$XDG_DATA_HOME/Quillon/Velmark/ (sonst ~/.local/share/Quillon/Velmark/),
mit Einträgen im Anwendungsmenü und Start bei der Anmeldung. Eine erneute Installation ersetzt nur
Programme und Laufzeitdateien; Haushaltsbücher und Einstellungen bleiben unverändert.

Entfernen (Haushaltsbücher, Datendatei und Einstellungen bleiben erhalten):

    ~/.local/share/Quillon/Velmark/uninstall.sh

Benötigte Debian-12-Pakete (fehlen welche, nennt install.sh den Befehl, mit dem root sie
installiert):

    apt-get install $pakete
EOF

rm -f "$archiv"
tar --sort=name --owner=0 --group=0 --numeric-owner -C "$arbeit" -czf "$archiv" "$name"
echo "$archiv"
