#!/usr/bin/env bash
# Builds everything and runs every test with CTest; exits non-zero on any failure.
#   scripts/test.sh              the normal suite in build/
#   scripts/test.sh --sanitize   the same under AddressSanitizer and UndefinedBehaviorSanitizer,
#                                in build-san/
# Further arguments go to ctest (for example -L e2e or -R registry). A test that could not run is
# reported as skipped, with its reason below the summary; with VELMARK_NICHTS_AUSLASSEN=1 (CI) a
# skipped test fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/pakete.sh

ordner=build
optionen=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  shift
  ordner=build-san
  optionen=(-DCMAKE_BUILD_TYPE=Debug -DVELMARK_SANITIZE=ON)
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

# shellcheck disable=SC2086
pakete_sicherstellen $VELMARK_PAKETE_BAU $VELMARK_PAKETE_TEST

cmake -S . -B "$ordner" -G Ninja "${optionen[@]}"
cmake --build "$ordner"
cd "$ordner"
status=0
rm -f ctest-ergebnis.xml
ctest --output-on-failure -j "$(nproc)" --output-junit ctest-ergebnis.xml "$@" || status=$?
# CTest shows no output of a skipped test: its reason comes from the record (Qt Test's SKIP line).
if [ -f ctest-ergebnis.xml ]; then
  ausgelassen=0
  python3 - ctest-ergebnis.xml <<'PY' || ausgelassen=1
import sys
import xml.etree.ElementTree as ET
gefunden = False
for fall in ET.parse(sys.argv[1]).getroot().iter("testcase"):
    if fall.find("skipped") is None:
        continue
    gefunden = True
    gruende = [z.split(":", 1)[-1].strip() for z in (fall.findtext("system-out") or "").splitlines()
               if z.startswith("SKIP")]
    print(f"Ausgelassen: {fall.get('name')}: {'; '.join(gruende) or 'ohne Angabe eines Grundes'}")
sys.exit(1 if gefunden else 0)
PY
  if [ $ausgelassen = 1 ] && [ "${VELMARK_NICHTS_AUSLASSEN:-0}" = 1 ]; then
    echo "Fehler: Auf diesem Rechner muss jeder Test laufen; ausgelassene Tests zählen als Fehler." >&2
    status=1
  fi
fi
exit "$status"
