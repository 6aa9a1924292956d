#!/usr/bin/env bash
# Sets up, builds and runs every test: first a normal build (g++), then the
# whole suite again under AddressSanitizer + UndefinedBehaviorSanitizer
# (clang), which also builds the fuzz targets and gives each a short run.
#
#   scripts/test.sh            both passes
#   scripts/test.sh --fast     the normal build only
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh

jobs=$(nproc)

echo "== build (g++) ==" >&2
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build
(cd build && ctest --output-on-failure -j "$jobs")

if [ "${1:-}" = "--fast" ]; then exit 0; fi

echo "== build (clang, ASan + UBSan, fuzz targets) ==" >&2
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DTAVO_SANITIZE=ON -DTAVO_FUZZ=ON -DTAVO_BENCH=OFF >/dev/null
ninja -C build-asan
(cd build-asan && ctest --output-on-failure -j "$jobs")
