# Debian packages the project needs, and the one function that installs the missing ones.
# Sourced by the README's commands; add a package here, never install one elsewhere. Run on its
# own (as root: bash scripts/pakete.sh) it installs the build and test packages.

# Run: what the programs of the release archive need on Debian 12 (Qt's widgets with the X11
# platform plugin, SQL with its SQLite driver, network, Qt's German texts, SQLite itself).
VELMARK_PAKETE_LAUFZEIT="libqt6widgets6 qt6-qpa-plugins libqt6sql6-sqlite libqt6network6
  qt6-translations-l10n libsqlite3-0"
# Build: compiler, CMake, Ninja, Qt 6 (widgets, SQL, network, test), SQLite for registering the
# case-insensitive comparison, and what the programs need to run. The designer plugin needs
# qt6-tools-dev and the OpenGL headers of libqt6opengl6-dev: Qt's Designer package depends on
# OpenGLWidgets, whose headers qt6-base-dev only recommends, and recommendations are not installed.
VELMARK_PAKETE_BAU="build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools
  qt6-tools-dev libqt6opengl6-dev libsqlite3-dev libxcb1-dev $VELMARK_PAKETE_LAUFZEIT"
# Tests: a virtual display with a window manager that has a notification area, a tool to act on
# it, read window states and take screenshots, local HTTP servers, the SQLite shell for
# inspecting files, the checker of desktop entries.
VELMARK_PAKETE_TEST="xvfb xauth icewm xdotool x11-apps x11-utils imagemagick python3 sqlite3 curl
  desktop-file-utils"
# Benchmarks (scripts/bench.sh only): Google Benchmark and the X11 headers of the icon clock.
VELMARK_PAKETE_BENCH="libbenchmark-dev libx11-dev"

# pakete_sicherstellen <package>...: installs what is missing (as root), or prints the command.
# The package lists are updated first when one of the missing packages is not in them (a fresh
# machine has none), or when the install fails with lists that may be stale. apt's own output
# goes to a log that is shown only when the step fails.
pakete_sicherstellen() {
  local fehlend=() aktuell=1 p protokoll ok=0 installieren
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || fehlend+=("$p")
  done
  [ ${#fehlend[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Es fehlen Debian-Pakete. Bitte als root ausführen:" >&2
    echo "  apt-get update && apt-get install -y --no-install-recommends ${fehlend[*]}" >&2
    return 1
  fi
  for p in "${fehlend[@]}"; do
    LC_ALL=C apt-cache policy "$p" 2>/dev/null | grep -q '^ *Candidate: [^(]' || aktuell=0
  done
  echo "Installiere Debian-Pakete: ${fehlend[*]}" >&2
  protokoll="$(mktemp)"
  export DEBIAN_FRONTEND=noninteractive
  installieren=(apt-get install -y -q --no-install-recommends "${fehlend[@]}")
  if [ $aktuell = 1 ] && "${installieren[@]}" >>"$protokoll" 2>&1; then
    ok=1
  elif apt-get update -q >>"$protokoll" 2>&1 && "${installieren[@]}" >>"$protokoll" 2>&1; then
    ok=1
  fi
  [ $ok = 1 ] || cat "$protokoll" >&2
  rm -f "$protokoll"
  [ $ok = 1 ] || echo "Die Debian-Pakete sind nicht installiert (siehe oben)." >&2
  [ $ok = 1 ]
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  # shellcheck disable=SC2086
  pakete_sicherstellen $VELMARK_PAKETE_BAU $VELMARK_PAKETE_TEST
fi
