#!/usr/bin/env bash
# Sets up, builds and starts the player from the build tree (a portable copy:
# its program folder is build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build tavo-musicbox tavo-tool program_data
exec build/bin/tavo-musicbox "$@"
