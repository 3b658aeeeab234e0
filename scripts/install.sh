#!/usr/bin/env bash
# Installs Velmark for the current user, as a desktop program:
#   scripts/install.sh                     builds in release mode (build-release/) and installs
#   scripts/install.sh <program folder>    installs an already built program folder (build/Velmark)
# In the release archive, install.sh installs the program folder beside it.
#
# Target: $XDG_DATA_HOME/Quillon/Velmark/ (default ~/.local/share), menu entries in
# $XDG_DATA_HOME/applications, icons in $XDG_DATA_HOME/icons/hicolor, the start at log-in in
# $XDG_CONFIG_HOME/autostart. Never a system folder; root installs into its own home like any user.
#
# Over an existing installation only programs and runtime files are replaced: every *.mdb file,
# programm.ver and the settings file stay as they are (see "Installation" in ARCHITECTURE.md for
# the main program kvasto, the version file and the remembered start at log-in). Everything is
# first copied beside its target and then renamed into place, so a failure leaves the old
# installation as it was and no half-copied file.
# shellcheck disable=SC1111  # German quotation marks in messages
set -euo pipefail

HIER="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ID=de.quillon.velmark
SYMBOL=$ID

abbruch() {
  echo "Installation abgebrochen: $*" >&2
  exit 1
}

if [ $# -gt 1 ] || [ "${1:-}" = "-h" ] || [ "${1:-}" = "--help" ]; then
  echo "Aufruf: install.sh [gebauter Programmordner]" >&2
  exit 2
fi

# --- what to install ---------------------------------------------------------------------------
if [ $# -eq 1 ]; then
  [ -d "$1" ] || abbruch "Der Programmordner „$1“ ist nicht vorhanden."
  quelle="$(cd "$1" && pwd)"
elif [ -x "$HIER/Velmark/zamlo" ]; then
  quelle="$HIER/Velmark"  # the release archive
else
  wurzel="$(cd "$HIER/.." && pwd)"
  [ -f "$wurzel/CMakeLists.txt" ] ||
    abbruch "Kein Programmordner neben install.sh und kein Quellbaum in $wurzel."
  # shellcheck source=pakete.sh
  . "$HIER/pakete.sh"
  # shellcheck disable=SC2086
  pakete_sicherstellen $VELMARK_PAKETE_BAU
  cmake -S "$wurzel" -B "$wurzel/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVELMARK_TESTS=OFF
  cmake --build "$wurzel/build-release" --target auslieferung
  quelle="$wurzel/build-release/Velmark"
fi
# velmark-daten lies in tools/ beside the program folder, in the build tree as in the archive.
werkzeug="$(dirname "$quelle")/tools/velmark-daten"
for programm in zamlo update kvasto; do
  [ -x "$quelle/$programm" ] || abbruch "In „$quelle“ fehlt das Programm $programm."
done
[ -x "$werkzeug" ] || abbruch "Das Werkzeug $werkzeug fehlt."
# The Debian packages the programs need (pakete.sh lies beside install.sh, here as in the archive).
if [ -f "$HIER/pakete.sh" ] && command -v dpkg-query >/dev/null 2>&1; then
  # shellcheck source=pakete.sh
  . "$HIER/pakete.sh"
  # shellcheck disable=SC2086
  pakete_sicherstellen $VELMARK_PAKETE_LAUFZEIT || abbruch "Es fehlen Debian-Pakete (siehe oben)."
fi
[ -f "$HIER/uninstall.sh" ] || abbruch "uninstall.sh fehlt neben install.sh."
version="$("$werkzeug" version)" || abbruch "$werkzeug meldet keine Version."

# --- where to ---------------------------------------------------------------------------------
[ -n "${HOME:-}" ] || abbruch "HOME ist nicht gesetzt."
# Relative XDG paths are invalid and count as unset.
case "${XDG_DATA_HOME:-}" in /*) daten="$XDG_DATA_HOME" ;; *) daten="$HOME/.local/share" ;; esac
case "${XDG_CONFIG_HOME:-}" in /*) konfig="$XDG_CONFIG_HOME" ;; *) konfig="$HOME/.config" ;; esac
eltern="$daten/Quillon"
ziel="$eltern/Velmark"
case "$ziel" in
  *$'\n'* | *$'\t'* | *$'\r'*) abbruch "Der Zielordner enthält einen Zeilenumbruch oder Tabulator." ;;
esac
case "$(realpath -m "$ziel")/" in
  /usr/* | /etc/* | /opt/* | /bin/* | /sbin/* | /lib*/* | /boot/* | /srv/* | /var/lib/* | /var/cache/*)
    abbruch "Velmark wird pro Benutzer installiert, nicht in den Systemordner $ziel." ;;
esac
anwendungen="$daten/applications"
symbole="$daten/icons/hicolor"
autostart="$konfig/autostart/$ID.zamlo.desktop"
liste=".installation"

# --- nothing of the installation may be running ------------------------------------------------
# Its programs are the processes whose executable lies in the program folder (zamlo, the main
# program, the update program); replacing files under them is what this check prevents.
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
  echo "Installation abgebrochen: Velmark läuft noch ($laufend)." >&2
  case " $laufend " in *" zamlo "*)
    echo "Bitte beenden Sie die Schnellerfassung zuerst über ihr Symbol im Infobereich (rechte Maustaste, „Beenden“)." >&2 ;;
  esac
  case " $laufend " in *" kvasto "* | *" update "*)
    echo "Bitte schließen Sie das Hauptprogramm und das Software-Update." >&2 ;;
  esac
  echo "Starten Sie die Installation danach erneut." >&2
  exit 1
fi

# --- the target folder ------------------------------------------------------------------------
if [ -e "$ziel" ] && [ ! -d "$ziel" ]; then
  abbruch "$ziel ist kein Ordner. Bitte entfernen oder umbenennen Sie die Datei."
fi
mkdir -p "$eltern" 2>/dev/null || abbruch "Der Ordner $eltern kann nicht angelegt werden."
erst=1
[ -d "$ziel" ] && erst=0
if [ $erst = 0 ] && { [ ! -w "$ziel" ] || [ ! -x "$ziel" ]; }; then
  abbruch "In den Ordner $ziel kann nicht geschrieben werden."
fi
programme_da=0
[ -e "$ziel/zamlo" ] && programme_da=1

# --- stage everything beside its target --------------------------------------------------------
neu=""
vorbereitet=()  # staged files outside the program folder: "temporary|target"
aufraeumen() {
  [ -n "$neu" ] && rm -rf "$neu"
  local paar
  for paar in "${vorbereitet[@]}"; do rm -f "${paar%%|*}"; done
}
trap aufraeumen EXIT
# What an installation killed before its renames left behind.
rm -rf "$eltern"/.Velmark-neu.??????
neu="$(mktemp -d "$eltern/.Velmark-neu.XXXXXX" 2>/dev/null)" ||
  { neu=""; abbruch "In den Ordner $eltern kann nicht geschrieben werden."; }
chmod 755 "$neu"

kopieren() {  # kopieren <source> <name in the staging folder>
  cp -a "$1" "$neu/$2" 2>/dev/null || abbruch "$2 kann nicht nach $neu kopiert werden (Platte voll?)."
}

# The programs and runtime files: every file of the program folder but data files and the
# version file. Subfolders (the designer plugin) are not part of the installation.
dateien=()
while IFS= read -r -d '' name; do
  case "$name" in
    programm.ver | *.lock | .* ) continue ;;
    unbenannt.mdb) ;;
    *.mdb | *.mdb-*) continue ;;
  esac
  dateien+=("$name")
done < <(cd "$quelle" && find . -mindepth 1 -maxdepth 1 \( -type f -o -type l \) -printf '%P\0' | sort -z)

# The main program: the update program may have installed a newer one than this installation
# brings (the version file then names a version after ours, compared as the update program
# compares). Then it stays, and so does the version file; otherwise ours goes in, and the version
# file names its version (left byte for byte when it already does).
installiert_version=""
if [ -f "$ziel/programm.ver" ]; then
  installiert_version="$(head -n 1 "$ziel/programm.ver" | tr -d '\r')"
fi
spaeter() {  # spaeter <a> <b>: a sorts after b, code unit by code unit
  local LC_ALL=C
  [[ "$1" > "$2" ]]
}
hauptprogramm_behalten=0
if [ $erst = 0 ] && [ -e "$ziel/kvasto" ] && spaeter "$installiert_version" "$version"; then
  hauptprogramm_behalten=1
fi

uebernommen=()  # names in the staging folder that go into the program folder
for name in "${dateien[@]}"; do
  if [ "$name" = kvasto ] && [ $hauptprogramm_behalten = 1 ]; then continue; fi
  # The template is a data file too: once there, it is the user's.
  if [ "$name" = unbenannt.mdb ] && [ -e "$ziel/unbenannt.mdb" ]; then continue; fi
  kopieren "$quelle/$name" "$name"
  uebernommen+=("$name")
done
kopieren "$HIER/uninstall.sh" uninstall.sh
chmod 755 "$neu/uninstall.sh"
uebernommen+=(uninstall.sh)

if [ $hauptprogramm_behalten = 0 ] && [ "$installiert_version" != "$version" ]; then
  printf '%s\r\n' "$version" >"$neu/programm.ver" 2>/dev/null || abbruch "programm.ver kann nicht geschrieben werden."
  uebernommen+=(programm.ver)
fi
# The shared data file of a first installation: no user, the euro as the only currency.
daten_neu=0
if [ ! -e "$ziel/Daten.mdb" ]; then
  "$werkzeug" daten "$neu/Daten.mdb" || abbruch "Die Datendatei Daten.mdb kann nicht angelegt werden."
  uebernommen+=(Daten.mdb)
  daten_neu=1
fi

# Files outside the program folder: written to a temporary name in their own folder.
vorbereiten() {  # vorbereiten <target> (content on stdin; not in a pipeline: it records the file)
  local ordner tmp
  ordner="$(dirname "$1")"
  mkdir -p "$ordner" 2>/dev/null || abbruch "Der Ordner $ordner kann nicht angelegt werden."
  rm -f "$ordner/.$(basename "$1")".??????
  tmp="$(mktemp "$ordner/.$(basename "$1").XXXXXX" 2>/dev/null)" ||
    abbruch "In den Ordner $ordner kann nicht geschrieben werden."
  vorbereitet+=("$tmp|$1")
  cat >"$tmp" || abbruch "$1 kann nicht geschrieben werden."
  chmod 644 "$tmp"
}

# Desktop entry values: Exec quotes the path (the entry's quoting rule, "%" doubled), then every
# string value escapes its backslashes.
zeichenkette() {
  local s="${1//\\/\\\\}"
  printf '%s' "$s"
}
befehlszeile() {
  local s="$1"
  s="${s//\\/\\\\}"
  s="${s//\"/\\\"}"
  s="${s//\`/\\\`}"
  s="${s//\$/\\\$}"
  s="${s//%/%%}"
  zeichenkette "\"$s\""
}
eintrag() {  # eintrag <program> <name> <comment> <startup notification>
  cat <<EOF
[Desktop Entry]
Type=Application
Version=1.4
Name=$2
Comment=$3
Exec=$(befehlszeile "$ziel/$1")
TryExec=$(zeichenkette "$ziel/$1")
Icon=$SYMBOL
Terminal=false
Categories=Office;Finance;
Keywords=Haushaltsbuch;Buchung;Ausgabe;Einnahme;Velmark;
StartupNotify=$4
EOF
}
zamlo_eintrag() {
  eintrag zamlo "Velmark Schnellerfassung" \
    "Ausgaben und Einnahmen mit wenigen Tasten ins Velmark-Haushaltsbuch buchen" false
  echo "StartupWMClass=zamlo"
}
update_eintrag() {
  eintrag update "Velmark Software-Update" "Das Velmark-Hauptprogramm auf den neuesten Stand bringen" true
}

draussen=()  # files outside the program folder that this installation owns
vorbereiten "$anwendungen/$ID.zamlo.desktop" < <(zamlo_eintrag)
vorbereiten "$anwendungen/$ID.update.desktop" < <(update_eintrag)
draussen+=("$anwendungen/$ID.zamlo.desktop" "$anwendungen/$ID.update.desktop")
for groesse in 16 32 48 64; do
  [ -f "$quelle/velmark-$groesse.png" ] || abbruch "Das Symbol velmark-$groesse.png fehlt in $quelle."
  vorbereiten "$symbole/${groesse}x$groesse/apps/$SYMBOL.png" <"$quelle/velmark-$groesse.png"
  draussen+=("$symbole/${groesse}x$groesse/apps/$SYMBOL.png")
done
for paar in "velmark.png|256x256/apps/$SYMBOL.png" "velmark.svg|scalable/apps/$SYMBOL.svg"; do
  [ -f "$quelle/${paar%%|*}" ] || abbruch "Das Symbol ${paar%%|*} fehlt in $quelle."
  vorbereiten "$symbole/${paar#*|}" <"$quelle/${paar%%|*}"
  draussen+=("$symbole/${paar#*|}")
done

# Start at log-in. The settings value "Autostart" remembers the user's choice: 1 on, 0 when the
# user removed the entry (or turned it off in the desktop's settings, which keep a copy with
# Hidden=true). Only an entry missing from a complete installation is the user's removal; one
# missing after an uninstallation is not.
wahl="$("$werkzeug" einstellung Autostart 2>/dev/null)" || wahl=""
if [ -e "$autostart" ]; then
  if grep -qiE '^[[:space:]]*(Hidden[[:space:]]*=[[:space:]]*true|X-GNOME-Autostart-enabled[[:space:]]*=[[:space:]]*false)' "$autostart"; then
    neue_wahl=0
  else
    neue_wahl=1
  fi
elif [ "$wahl" = 0 ] || { [ "$wahl" = 1 ] && [ $programme_da = 1 ]; }; then
  neue_wahl=0
else
  neue_wahl=1
fi
if [ $neue_wahl = 1 ]; then
  vorbereiten "$autostart" < <(zamlo_eintrag)
fi
# A turned-off entry stays as the desktop left it, but remains the installation's to remove.
if [ -e "$autostart" ] || [ $neue_wahl = 1 ]; then
  draussen+=("$autostart")
fi

# The list of installed files, for the uninstallation and the next installation.
{
  printf '%s\n' "${uebernommen[@]}" "$liste"
  [ $hauptprogramm_behalten = 1 ] && echo kvasto
  printf '%s\n' "${draussen[@]}"
} | grep -vxE 'programm\.ver|Daten\.mdb' >"$neu/$liste" || abbruch "$liste kann nicht geschrieben werden."
alte_liste=()
if [ -f "$ziel/$liste" ]; then
  mapfile -t alte_liste <"$ziel/$liste"
fi

# --- into place: renames only ------------------------------------------------------------------
unvollstaendig() {
  echo "Installation unvollständig: $* Bitte führen Sie die Installation erneut aus." >&2
  exit 1
}
if [ $erst = 1 ]; then
  mv -T "$neu" "$ziel" 2>/dev/null || abbruch "$ziel kann nicht angelegt werden."
  neu=""
else
  for name in "${uebernommen[@]}" "$liste"; do
    [ "$name" = "$liste" ] && continue
    mv -f -T "$neu/$name" "$ziel/$name" 2>/dev/null || unvollstaendig "$ziel/$name kann nicht ersetzt werden."
  done
fi
for paar in "${vorbereitet[@]}"; do
  mv -f -T "${paar%%|*}" "${paar#*|}" 2>/dev/null || unvollstaendig "${paar#*|} kann nicht ersetzt werden."
done
vorbereitet=()
if [ $erst = 0 ]; then
  mv -f -T "$neu/$liste" "$ziel/$liste" 2>/dev/null || unvollstaendig "$ziel/$liste kann nicht ersetzt werden."
  rm -rf "$neu"
  neu=""
  # What the earlier installation brought and this one does not.
  for alt in "${alte_liste[@]}"; do
    case "$alt" in
      "" | */../* | ../* | *.mdb | *.mdb-* | programm.ver) continue ;;
    esac
    grep -qxF -- "$alt" "$ziel/$liste" && continue
    case "$alt" in
      /*) rm -f -- "$alt" ;;
      */*) ;;
      *) rm -f -- "$ziel/$alt" ;;
    esac
  done
fi
if [ "$neue_wahl" != "$wahl" ]; then
  "$werkzeug" einstellung Autostart "$neue_wahl" zahl ||
    echo "Hinweis: Die Wahl zum Start bei der Anmeldung ist nicht gespeichert." >&2
fi
# A new data file has no user yet: the sign-in with password is where the first one is made (the
# sign-in without password would list nobody). A sign-in mode the user has chosen stays.
if [ $daten_neu = 1 ] && ! "$werkzeug" einstellung Kennwort >/dev/null 2>&1; then
  "$werkzeug" einstellung Kennwort 1 ||
    echo "Hinweis: Die Anmeldung mit Kennwort ist nicht eingestellt." >&2
fi
# Icon caches exist only where a tool made one; the folder's time tells the others to look again.
if [ -f "$symbole/icon-theme.cache" ] && command -v gtk-update-icon-cache >/dev/null 2>&1; then
  gtk-update-icon-cache -q -t "$symbole" || true
fi
touch "$symbole" 2>/dev/null || true

if [ $erst = 1 ]; then
  echo "Velmark $version ist installiert in $ziel."
else
  echo "Velmark $version ist aktualisiert in $ziel; Haushaltsbücher und Einstellungen sind unverändert."
fi
if [ $hauptprogramm_behalten = 1 ]; then
  echo "Das Hauptprogramm kvasto bleibt in Version $installiert_version (vom Software-Update installiert)."
fi
if [ $neue_wahl = 1 ]; then
  echo "Velmark Schnellerfassung startet bei der Anmeldung; jetzt starten: im Anwendungsmenü unter Büro."
else
  echo "Velmark Schnellerfassung startet nicht bei der Anmeldung (so gewählt); starten: im Anwendungsmenü unter Büro."
fi
