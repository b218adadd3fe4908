#!/usr/bin/env bash
# Builds the suite and runs it on its embedded default installation. Installs what it needs first.
# The system root (registry, accounts, installation folder) defaults to $XDG_DATA_HOME/deskwarden;
# set WARDEN_ROOT to keep a demonstration elsewhere.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${WARDEN_BUILD_DIR:-$top/build}"

"$top/scripts/install-deps.sh"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"

sample="$top/data/samples/sample.wav"
echo "== endpoint detection of the bundled sample ($sample)"
"$build/bin/halvox" endpoint "$sample" --trim
echo "== the same reading as an enrolment reading"
"$build/bin/halvox" endpoint "$sample" --enrol --trim
echo "== its first feature vectors"
"$build/bin/halvox" features "$sample" | head -n 6
