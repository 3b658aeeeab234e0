#!/usr/bin/env bash
# Builds everything, makes a demo program folder in build/Demo (the built program folder with the
# sample households Anna and Ben, Anna as default user) and starts the tray program on it.
# The demo keeps its own settings, runtime and cache folders in build/Demo/Umgebung/: nothing
# outside build/ is written, a household's own settings stay as they are, and an installed zamlo
# may run beside it. build/Demo/zamlo-demo starts it again with them.
#   scripts/demo.sh                                  builds build/ and makes build/Demo
#   scripts/demo.sh <program folder> <demo folder>   makes the demo from a built program folder
#                                                    (tools/velmark-daten beside it), no build
# shellcheck disable=SC1111  # German quotation marks in messages
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -eq 2 ]; then
  gebaut="$(cd "$1" && pwd)"
  demo="$(realpath -m "$2")"
elif [ $# -eq 0 ]; then
  # shellcheck source=pakete.sh
  . scripts/pakete.sh
  # shellcheck disable=SC2086
  pakete_sicherstellen $VELMARK_PAKETE_BAU
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build
  gebaut="$PWD/build/Velmark"
  demo="$PWD/build/Demo"
else
  echo "Aufruf: demo.sh [<gebauter Programmordner> <Demo-Ordner>]" >&2
  exit 2
fi
werkzeug="$(dirname "$gebaut")/tools/velmark-daten"
[ -x "$werkzeug" ] || { echo "Das Werkzeug $werkzeug fehlt." >&2; exit 1; }

# A demo still running keeps its files open; a new one over it would run beside it.
laufend=""
for p in /proc/[0-9]*; do
  exe="$(readlink "$p/exe" 2>/dev/null)" || continue
  case "$exe" in "$demo"/*) laufend="${exe##*/}" ;; esac
done
if [ -n "$laufend" ]; then
  echo "Die Demo läuft noch (${laufend% (deleted)}). Bitte beenden Sie sie zuerst über ihr Symbol" \
    "im Infobereich (rechte Maustaste, „Beenden“) und starten Sie demo.sh dann erneut." >&2
  exit 1
fi

rm -rf "$demo"
cp -a "$gebaut" "$demo"
umgebung="$demo/Umgebung"
mkdir -p "$umgebung/einstellungen" "$umgebung/cache" "$umgebung/laufzeit"
chmod 700 "$umgebung/laufzeit"

cat >"$demo/zamlo-demo" <<'STARTER'
#!/bin/sh
# Startet ein Programm der Velmark-Demo mit den Einstellungen der Demo (angelegt von demo.sh):
#   zamlo-demo                      die Schnellerfassung zamlo
#   zamlo-demo update | kvasto      das Software-Update oder das Hauptprogramm der Demo
#   zamlo-demo <Pfad> [Argumente]   ein anderes Programm mit den Einstellungen der Demo
demo="$(cd "$(dirname "$0")" && pwd)"
umgebung="$demo/Umgebung"
# The session bus and a Wayland display stay reachable from the demo's own runtime folder.
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && [ -S "${XDG_RUNTIME_DIR:-/nonexistent}/bus" ]; then
  DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
  export DBUS_SESSION_BUS_ADDRESS
fi
case "${WAYLAND_DISPLAY:-}" in
  "" | /*) ;;
  *) WAYLAND_DISPLAY="${XDG_RUNTIME_DIR:-/run/user/$(id -u)}/$WAYLAND_DISPLAY" && export WAYLAND_DISPLAY ;;
esac
mkdir -p "$umgebung/einstellungen" "$umgebung/cache" "$umgebung/laufzeit"
chmod 700 "$umgebung/laufzeit"
XDG_CONFIG_HOME="$umgebung/einstellungen"
XDG_CACHE_HOME="$umgebung/cache"
XDG_RUNTIME_DIR="$umgebung/laufzeit"
export XDG_CONFIG_HOME XDG_CACHE_HOME XDG_RUNTIME_DIR
programm="${1:-zamlo}"
[ $# -gt 0 ] && shift
case "$programm" in
  */*) exec "$programm" "$@" ;;
  zamlo | update | kvasto) exec "$demo/$programm" "$@" ;;
  *) echo "Aufruf: zamlo-demo [update|kvasto|<Pfad> [Argumente]]" >&2 && exit 2 ;;
esac
STARTER
chmod 755 "$demo/zamlo-demo"

"$demo/zamlo-demo" "$werkzeug" demo "$demo" "$umgebung/einstellungen"
echo "Demo-Programmordner: $demo"
echo "Benutzer: Anna (Kennwort anna, Standardbenutzer) und Ben (Kennwort ben)."
echo "Die Demo hat eigene Einstellungen ($umgebung/einstellungen); Ihre eigenen bleiben unverändert."

if [ ! -x "$demo/zamlo" ]; then
  echo "Das Tray-Programm zamlo ist noch nicht gebaut; der Ordner ist vorbereitet."
  exit 0
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Keine grafische Sitzung (DISPLAY fehlt). Starten Sie die Demo später mit: $demo/zamlo-demo"
  exit 0
fi

infobereich=0
"$demo/zamlo-demo" "$werkzeug" infobereich >/dev/null 2>&1 || infobereich=$?
protokoll="$umgebung/zamlo.log"
setsid "$demo/zamlo-demo" </dev/null >"$protokoll" 2>&1 &
zamlo=$!
sleep 1
if ! kill -0 "$zamlo" 2>/dev/null; then
  echo "zamlo hat sich gleich wieder beendet. Seine Ausgabe ($protokoll):" >&2
  cat "$protokoll" >&2
  exit 1
fi
case $infobereich in
  0) echo "zamlo läuft: sein Symbol ist im Infobereich der Taskleiste (Menü mit der rechten Maustaste)." ;;
  1)
    echo "zamlo läuft, aber diese Arbeitsumgebung hat keinen Infobereich (System-Tray) für sein Symbol."
    echo "zamlo zeigt dazu einen Hinweis, in dem es sich auch beenden lässt. Zu sehen ist das Symbol in einer"
    echo "Arbeitsumgebung mit Infobereich (etwa Xfce, KDE Plasma, IceWM; unter GNOME mit dem Paket"
    echo "gnome-shell-extension-appindicator); es erscheint dort, sobald der Infobereich da ist."
    ;;
  *) echo "zamlo läuft; ob es einen Infobereich für sein Symbol gibt, war nicht festzustellen." ;;
esac
echo "Erneut starten (mit den Einstellungen der Demo): $demo/zamlo-demo"
