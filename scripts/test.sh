#!/usr/bin/env bash
# Sets up, builds and runs every test: first a normal build (g++), then the
# whole suite again under AddressSanitizer + UndefinedBehaviorSanitizer
# (clang), which also builds the fuzz targets and gives each a short run.
#
#   scripts/test.sh            both passes
#   scripts/test.sh --fast     the normal build only
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

./scripts/setup.sh || exit 1

jobs=$(nproc)

# Each pass builds and tests on its own: a failure in the first does not hide
# what the second would find. The script fails when either pass failed.
normal_pass() {
  echo "== build (g++) ==" >&2
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
    ninja -C build &&
    (cd build && ctest --output-on-failure -j "$jobs")
}

sanitizer_pass() {
  echo "== build (clang, ASan + UBSan, fuzz targets) ==" >&2
  CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DTAVO_SANITIZE=ON -DTAVO_FUZZ=ON -DTAVO_BENCH=OFF >/dev/null &&
    ninja -C build-asan &&
    (cd build-asan && ctest --output-on-failure -j "$jobs")
}

normal_pass; normal=$?
if [ "${1:-}" = "--fast" ]; then exit $normal; fi
sanitizer_pass; sanitizer=$?

echo "== normal pass: $([ $normal -eq 0 ] && echo passed || echo FAILED)," \
  "sanitizer pass: $([ $sanitizer -eq 0 ] && echo passed || echo FAILED) ==" >&2
[ $normal -eq 0 ] && [ $sanitizer -eq 0 ]
