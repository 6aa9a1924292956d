#!/usr/bin/env bash
# Sets up, builds and starts the player from the build tree (a portable copy:
# its program folder is build/bin). The player itself starts the bundled
# local services where the shipped services.ini points (127.0.0.1:17380) and
# stops them when it exits.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build tavo-musicbox tavo-services program_data
exec build/bin/tavo-musicbox "$@"
