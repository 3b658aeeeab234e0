#!/usr/bin/env bash
# Benchmarks on a large household book, each measured against the raw engine in the same run:
# installs what it needs, builds in release mode in build-bench/, makes the large book, runs
# every benchmark and prints one table (figure, median, reference, ratio, goal, met or not).
# Exits 0 whether the goals are met or not; it is no test and not part of CI.
#   scripts/bench.sh [--schnell]    --schnell: fewer repetitions, for a quick look
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/pakete.sh

wiederholungen=9
laeufe=5
if [ "${1:-}" = "--schnell" ]; then
  wiederholungen=3
  laeufe=2
fi

# shellcheck disable=SC2086
pakete_sicherstellen $VELMARK_PAKETE_BAU $VELMARK_PAKETE_TEST $VELMARK_PAKETE_BENCH

bau=build-bench
ergebnis=$bau/ergebnis
cmake -S . -B "$bau" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMARK_TESTS=OFF -DVELMARK_BENCH=ON >/dev/null
cmake --build "$bau" -j "$(nproc)" >/dev/null
mkdir -p "$ergebnis"
rm -f "$ergebnis"/*.json

echo "Großes Haushaltsbuch ..." >&2
"$bau/bench/velmark-grossbuch" "$bau/grossbuch" >&2

echo "Messungen im Prozess (Protokoll: $ergebnis/bench.log) ..." >&2
VELMARK_GROSSBUCH="$bau/grossbuch" "$bau/bench/velmark-bench" \
  --benchmark_repetitions="$wiederholungen" \
  --benchmark_enable_random_interleaving=true \
  --benchmark_min_time=0.5 \
  --benchmark_out="$ergebnis/bench.json" --benchmark_out_format=json \
  >"$ergebnis/bench.log" 2>&1 || echo "velmark-bench ist fehlgeschlagen (siehe $ergebnis/bench.log)" >&2

echo "zamlo unter Xvfb und IceWM ..." >&2
python3 bench/tray.py --programmordner "$bau/Velmark" --werkzeuge "$bau/bench" \
  --grossbuch "$bau/grossbuch" --ausgabe "$ergebnis/tray.json" --laeufe "$laeufe" --ruhe 10 ||
  echo "Die Messung von zamlo ist fehlgeschlagen" >&2

python3 bench/tabelle.py "$ergebnis/bench.json" "$ergebnis/tray.json" | tee "$ergebnis/tabelle.txt"
exit 0
