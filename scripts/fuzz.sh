#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer and
# runs each for a bounded time on a copy of its seed corpus.
#   scripts/fuzz.sh [seconds per target, default 60] [target ...]
# A find stops with a non-zero exit. Its input is kept in build-fuzz/funde/ and copied into the
# target's seed corpus under tests/fuzz/korpus/, where the normal test run replays it (korpus_*):
# once fixed, commit it there as the regression test.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/pakete.sh
# shellcheck disable=SC2086
pakete_sicherstellen $VELMARK_PAKETE_BAU clang libclang-rt-14-dev

sekunden=${1:-60}
shift || true
export CC=clang CXX=clang++
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMARK_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
ziele=("$@")
if [ ${#ziele[@]} -eq 0 ]; then
  mapfile -t ziele < <(sed -n 's/^velmark_fuzz_ziel(\([a-z_]*\).*/\1/p' tests/fuzz/CMakeLists.txt)
fi
cmake --build build-fuzz --target "${ziele[@]}"
mkdir -p build-fuzz/funde
for ziel in "${ziele[@]}"; do
  korpus="tests/fuzz/korpus/${ziel#fuzz_}"
  arbeit="build-fuzz/korpus/${ziel#fuzz_}"
  mkdir -p "$arbeit"
  cp -n "$korpus"/* "$arbeit"/ 2>/dev/null || true
  echo "== $ziel ($sekunden s)"
  protokoll="build-fuzz/$ziel.log"
  if ! ASAN_OPTIONS=detect_leaks=0 "build-fuzz/fuzz/$ziel" -max_total_time="$sekunden" \
    -artifact_prefix="build-fuzz/funde/$ziel-" -print_final_stats=1 "$arbeit" >"$protokoll" 2>&1; then
    grep -v '^INFO\|^#' "$protokoll" | tail -n 40
    for fund in build-fuzz/funde/"$ziel"-*; do
      [ -f "$fund" ] && cp "$fund" "$korpus/fund-$(sha1sum "$fund" | cut -c1-12)"
    done
    echo "$ziel: Fund in build-fuzz/funde/, kopiert nach $korpus/ (Protokoll: $protokoll)"
    exit 1
  fi
  tail -n 4 "$protokoll"
done
echo "Alle Fuzz-Ziele ohne Fund."
