#!/usr/bin/env bash
# Builds everything, makes a demo program folder in build/Demo (the built program folder with
# sample households Anna and Ben, Anna as default user) and starts the tray program on it.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/pakete.sh

# shellcheck disable=SC2086
pakete_sicherstellen $VELMARK_PAKETE_BAU

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build

demo=build/Demo
rm -rf "$demo"
cp -a build/Velmark "$demo"
build/tools/velmark-daten demo "$demo"
echo "Demo-Programmordner: $PWD/$demo"
echo "Benutzer: Anna (Kennwort anna, Standardbenutzer) und Ben (Kennwort ben)."

if [ ! -x "$demo/zamlo" ]; then
  echo "Das Tray-Programm zamlo ist noch nicht gebaut; der Ordner ist vorbereitet."
  exit 0
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Keine grafische Sitzung (DISPLAY fehlt). Starten Sie später: $PWD/$demo/zamlo"
  exit 0
fi
"$demo/zamlo" >/dev/null 2>&1 &
echo "zamlo läuft (Symbol im Infobereich der Taskleiste)."
