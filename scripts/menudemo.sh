#!/bin/bash
# Shows the menu engine's demo window under Xvfb with IceWM, lets it open its menu and takes a
# screenshot of the whole screen:  scripts/menudemo.sh [picture]   (default build/menudemo.png)
# Needs a build (cmake --build build) and the test packages of scripts/pakete.sh.
set -euo pipefail
WURZEL="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BILD="${1:-$WURZEL/build/menudemo.png}"
DEMO="$WURZEL/build/tests/menudemo"
[ -x "$DEMO" ] || { echo "menudemo.sh: $DEMO fehlt, bitte zuerst bauen" >&2; exit 1; }

ARBEIT="$(mktemp -d)"
PIDS=()
aufraeumen() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$ARBEIT"
}
trap aufraeumen EXIT

# Xvfb picks a free display and writes its number to descriptor 3.
exec 3>"$ARBEIT/display"
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
PIDS+=($!)
for _ in $(seq 50); do [ -s "$ARBEIT/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$ARBEIT/display")"
export HOME="$ARBEIT" XDG_CONFIG_HOME="$ARBEIT/config" XDG_RUNTIME_DIR="$ARBEIT/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
icewm >/dev/null 2>&1 &
PIDS+=($!)
sleep 1

QT_QPA_PLATFORM=xcb "$DEMO" "$WURZEL/build/Velmark/" >"$ARBEIT/ausgabe" 2>"$ARBEIT/fehler" &
PIDS+=($!)
for _ in $(seq 100); do grep -q offen "$ARBEIT/ausgabe" 2>/dev/null && break; sleep 0.1; done
grep -q offen "$ARBEIT/ausgabe" || { cat "$ARBEIT/fehler" >&2; echo "menudemo.sh: Menü nicht offen" >&2; exit 1; }
import -window root "$BILD"
echo "$BILD"
