#!/usr/bin/env bash
# Builds the whole suite and runs every test. Installs what it needs first.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${WARDEN_BUILD_DIR:-$top/build}"

"$top/scripts/install-deps.sh"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
