#!/usr/bin/env bash
# Regenerates the default skin (data/skin/default) and the prompt sounds (data/wave) from the tools.
# Usage: tools/skingen/generate.sh [BUILD_DIR]   (BUILD_DIR holds a built bin/skingen; default: build)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}

cmake --build "$build" --target skingen -j2
mkdir -p "$root/data/skin/default"
"$build/bin/skingen" "$root/data/skin/default"
"$here/make-prompts.sh" "$root/data/wave"
