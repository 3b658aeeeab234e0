#!/usr/bin/env bash
# Builds everything and runs every test with CTest; exits non-zero on any failure.
#   scripts/test.sh              the normal suite in build/
#   scripts/test.sh --sanitize   the same under AddressSanitizer and UndefinedBehaviorSanitizer,
#                                in build-san/
# Further arguments go to ctest (for example -L e2e or -R registry).
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
ctest --output-on-failure -j "$(nproc)" "$@"
