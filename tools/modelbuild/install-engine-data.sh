#!/usr/bin/env bash
# Installs the shipped engine models into an engine folder (the suite's installer will do the same):
#   tools/modelbuild/install-engine-data.sh ENGINE_FOLDER [SOURCE (default: data/engine)]
# Copies word<K>/*.bin and iwrec/*.bin, overwriting older copies, and creates user/ and work/.
set -euo pipefail
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 ENGINE_FOLDER [SOURCE]" >&2
    exit 2
fi
target=$1
source=${2:-$(cd "$(dirname "$0")/../.." && pwd)/data/engine}
shopt -s nullglob
folders=("$source"/word* "$source"/iwrec)
[ -d "$source/iwrec" ] || { echo "$source holds no iwrec/ folder" >&2; exit 1; }
for folder in "${folders[@]}"; do
    [ -d "$folder" ] || continue
    mkdir -p "$target/$(basename "$folder")"
    cp -f "$folder"/*.bin "$target/$(basename "$folder")/"
done
mkdir -p "$target/user" "$target/work"
