# Debian packages the project needs, and the one function that installs the missing ones.
# Sourced by the README's commands; add a package here, never install one elsewhere.

# Run: what the programs of the release archive need on Debian 12 (Qt's widgets with the X11
# platform plugin, SQL with its SQLite driver, network, Qt's German texts, SQLite itself).
VELMARK_PAKETE_LAUFZEIT="libqt6widgets6 qt6-qpa-plugins libqt6sql6-sqlite libqt6network6
  qt6-translations-l10n libsqlite3-0"
# Build: compiler, CMake, Ninja, Qt 6 (widgets, SQL, network, test, designer plugin headers),
# SQLite for registering the case-insensitive comparison, and what the programs need to run.
VELMARK_PAKETE_BAU="build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools
  qt6-tools-dev libsqlite3-dev libxcb1-dev $VELMARK_PAKETE_LAUFZEIT"
# Tests: a virtual display with a window manager that has a notification area, a tool to act on
# it, read window states and take screenshots, local HTTP servers, the SQLite shell for
# inspecting files, the checker of desktop entries.
VELMARK_PAKETE_TEST="xvfb xauth icewm xdotool x11-apps x11-utils imagemagick python3 sqlite3 curl
  desktop-file-utils"
# Benchmarks (scripts/bench.sh only): Google Benchmark and the X11 headers of the icon clock.
VELMARK_PAKETE_BENCH="libbenchmark-dev libx11-dev"

# pakete_sicherstellen <package>...: installs what is missing (as root), or prints the command.
pakete_sicherstellen() {
  local fehlend=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || fehlend+=("$p")
  done
  [ ${#fehlend[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Es fehlen Debian-Pakete. Bitte als root ausführen:" >&2
    echo "  apt-get install -y ${fehlend[*]}" >&2
    return 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y -q --no-install-recommends "${fehlend[@]}" ||
    { apt-get update -q && apt-get install -y -q --no-install-recommends "${fehlend[@]}"; }
}
