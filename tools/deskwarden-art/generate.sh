#!/usr/bin/env bash
# Regenerates the tray program's pictures (data/deskwarden) with deskwarden-art.
# Usage: tools/deskwarden-art/generate.sh [BUILD_DIR]   (default: build)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}

cmake --build "$build" --target deskwarden-art -j2
mkdir -p "$root/data/deskwarden"
rm -f "$root"/data/deskwarden/*.png
"$build/bin/deskwarden-art" "$root/data/deskwarden"
