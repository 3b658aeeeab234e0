#!/bin/bash
# Regenerates every picture in dist/bilder/ from the SVG sources in dist/bilder-quellen/.
#
# The generated files are committed, so the build does not need this script; run it after
# changing a source:  scripts/bilder.sh
#
# Needs rsvg-convert (librsvg2-bin), ImageMagick (convert, identify) and the DejaVu fonts
# (fonts-dejavu-core) for the lettering of the banner and the downloader logo.
set -euo pipefail
export LC_ALL=C

WURZEL="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QUELLE="$WURZEL/dist/bilder-quellen"
ZIEL="$WURZEL/dist/bilder"

# --- tools ------------------------------------------------------------------------------
fehlend=()
command -v rsvg-convert >/dev/null 2>&1 || fehlend+=(librsvg2-bin)
{ command -v convert >/dev/null 2>&1 && command -v identify >/dev/null 2>&1; } || fehlend+=(imagemagick)
if command -v fc-list >/dev/null 2>&1; then
  schriften="$(fc-list : file 2>/dev/null || true)"
  case "$schriften" in *DejaVuSans-Bold*) ;; *) fehlend+=(fonts-dejavu-core) ;; esac
else
  fehlend+=(fontconfig fonts-dejavu-core)
fi
if [ ${#fehlend[@]} -gt 0 ]; then
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null 2>&1; then
    echo "bilder.sh: installing ${fehlend[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y "${fehlend[@]}" \
      || { apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y "${fehlend[@]}"; }
  else
    echo "bilder.sh: missing tools. Install them with:" >&2
    echo "  sudo apt-get install -y ${fehlend[*]}" >&2
    exit 1
  fi
fi

mkdir -p "$ZIEL"
ARBEIT="$(mktemp -d)"
trap 'rm -rf "$ARBEIT"' EXIT

# svg SOURCE OUTPUT [SIZE]: render one SVG to PNG (with alpha), optionally square SIZE px.
svg() {
  if [ $# -ge 3 ]; then
    rsvg-convert -w "$3" -h "$3" "$QUELLE/$1" -o "$ZIEL/$2"
  else
    rsvg-convert "$QUELLE/$1" -o "$ZIEL/$2"
  fi
  echo "  $2"
}

echo "bilder.sh: writing $ZIEL"

# --- product / tray icon ------------------------------------------------------------------
# Large sizes come from the detailed drawing, 16 and 32 px from versions fitted to the pixel grid.
svg velmark.svg    velmark.png    256
svg velmark.svg    velmark-64.png  64
svg velmark.svg    velmark-48.png  48
svg velmark-32.svg velmark-32.png  32
svg velmark-16.svg velmark-16.png  16
cp "$QUELLE/velmark.svg" "$ZIEL/velmark.svg"; echo "  velmark.svg"

# --- banner of the information window (embeds velmark.svg) -------------------------------
svg info.svg info.png

# --- menu pictures --------------------------------------------------------------------------
svg velmark-16.svg    menu-starten.png  16
svg menu-einnahme.svg menu-einnahme.png 16
svg menu-ausgabe.svg  menu-ausgabe.png  16
svg menu-zuruecknehmen.svg menu-zuruecknehmen.png 16
svg menu-info.svg     menu-info.png     16
svg menu-beenden.svg  menu-beenden.png  16

# --- other pictures -------------------------------------------------------------------------
svg tipp.svg           tipp.png           32
svg kalender.svg       kalender.png       16
svg speichern.svg      speichern.png      16
svg kategorie.svg      kategorie.png      16
svg unterkategorie.svg unterkategorie.png 16
svg kategorien.svg     kategorien.png     32
svg verschieben.svg    verschieben.png    32

# --- downloader logo: 140x48, 24-bit without alpha, flattened onto white -------------------
rsvg-convert -w 140 -h 48 "$QUELLE/downloader-logo.svg" -o "$ARBEIT/logo.png"
convert "$ARBEIT/logo.png" -background white -alpha remove -alpha off -strip \
  -define png:color-type=2 -define png:bit-depth=8 "PNG24:$ZIEL/downloader-logo.png"
typ="$(identify -format '%[type] %[channels] %wx%h' "$ZIEL/downloader-logo.png")"
case "$typ" in
  "TrueColor srgb 140x48") echo "  downloader-logo.png ($typ)" ;;
  *) echo "bilder.sh: downloader-logo.png is '$typ', expected TrueColor without alpha, 140x48" >&2; exit 1 ;;
esac

# --- download animation ---------------------------------------------------------------------
# The document follows the quadratic curve (34,30) -> control (136,-2) -> (238,32), from behind
# the globe into the folder; it tilts along the curve and is largest half way. Frames 0-11 move,
# frames 12-13 show the scene without the document before the loop starts again.
BILDER=14
BEWEGT=12
rahmen=()
for ((i = 0; i < BILDER; i++)); do
  read -r tx ty winkel massstab sichtbar < <(awk -v i="$i" -v n="$BEWEGT" 'BEGIN {
    pi = atan2(0, -1)
    if (i >= n) { print "238 32 0 1 0"; exit }
    t = i / (n - 1); u = 1 - t
    x = u*u*34 + 2*t*u*136 + t*t*238
    y = u*u*30 + 2*t*u*(-2) + t*t*32
    dx = 2*u*(136 - 34) + 2*t*(238 - 136)
    dy = 2*u*(-2 - 30) + 2*t*(32 - (-2))
    w = atan2(dy, dx) * 180 / pi
    s = 0.6 + 0.45 * sin(pi * t)
    printf "%.2f %.2f %.1f %.3f 1\n", x, y, w, s }')
  sed -e "s|id=\"dokument\" transform=\"[^\"]*\" opacity=\"[^\"]*\"|id=\"dokument\" transform=\"translate($tx $ty) rotate($winkel) scale($massstab)\" opacity=\"$sichtbar\"|" \
    "$QUELLE/download.svg" > "$ARBEIT/bild.svg"
  grep -q "translate($tx $ty)" "$ARBEIT/bild.svg" || { echo "bilder.sh: download.svg has no group 'dokument'" >&2; exit 1; }
  datei="$(printf '%s/bild-%02d.png' "$ARBEIT" "$i")"
  rsvg-convert -w 272 -h 60 "$ARBEIT/bild.svg" -o "$datei"
  rahmen+=("$datei")
done
convert -delay 8 -loop 0 "${rahmen[@]:0:$((BILDER - 1))}" -delay 30 "${rahmen[$((BILDER - 1))]}" \
  -alpha off -dither None -colors 64 +map -layers Optimize "$ZIEL/download.gif"
echo "  download.gif ($(identify "$ZIEL/download.gif" | wc -l) frames, $(stat -c %s "$ZIEL/download.gif") bytes)"

echo "bilder.sh: done"
