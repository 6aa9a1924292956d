#!/usr/bin/env bash
# Sets up, builds and starts the player from the build tree (a portable copy:
# its program folder is build/bin). The bundled local services start first on
# 127.0.0.1:17380, where the shipped services.ini points, so that music plays
# without the internet; they stop when the player exits.
set -euo pipefail
cd "$(dirname "$0")/.."

PORT=17380

./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(tavo-musicbox tavo-tool program_data)
if [ -d tools/tavo-services ]; then targets+=(tavo-services); fi
ninja -C build "${targets[@]}"

port_open() { (exec 3<>"/dev/tcp/127.0.0.1/$PORT") 2>/dev/null; }

services_pid=""
stop_services() {
  if [ -n "$services_pid" ]; then
    kill "$services_pid" 2>/dev/null || true
    wait "$services_pid" 2>/dev/null || true
  fi
}
trap stop_services EXIT INT TERM

if [ -x build/bin/tavo-services ]; then
  if port_open; then
    echo "run.sh: port $PORT is already in use; using what listens there" >&2
  else
    build/bin/tavo-services --port "$PORT" &
    services_pid=$!
    for _ in $(seq 1 100); do
      port_open && break
      if ! kill -0 "$services_pid" 2>/dev/null; then
        echo "run.sh: the local services did not start" >&2
        services_pid=""
        break
      fi
      sleep 0.05
    done
  fi
else
  echo "run.sh: build/bin/tavo-services not found; online sources need services.ini to point elsewhere" >&2
fi

status=0
build/bin/tavo-musicbox "$@" || status=$?
exit "$status"
