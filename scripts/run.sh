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

root="${WARDEN_ROOT:-${XDG_DATA_HOME:-$HOME/.local/share}/deskwarden}"
# The installation folder is also the engine folder: the voice dialog points the engine at it.
program="$root/program"
echo "== setting up the default installation in $program (users and settings already there are kept)"
"$build/bin/wardenctl" init "$program"

sample="$top/data/samples/sample.wav"
echo "== endpoint detection of the bundled sample ($sample)"
"$build/bin/halvox" endpoint "$sample" --trim

# A speaker enrols the word "ひまわり" (himawari, code aaj) with five readings and then verifies with a
# sixth; a second speaker tries the same word. The readings are spoken by espeak-ng.
readings="$(mktemp -d)"
trap 'rm -rf "$readings"' EXIT
speak() { # voice, take, output
    local rate=$((150 + 6 * $2)) pitch=$((45 + 3 * $2))
    espeak-ng -v "$1" -s "$rate" -p "$pitch" -w "$readings/raw.wav" "himawari"
    sox -V1 -R -D "$readings/raw.wav" -r 11025 -c 1 -b 16 "$3" gain -n -8 pad 0.$((5 + $2)) 3 trim 0s 33075s
}
for take in 0 1 2 3 4 5; do speak en+m3 "$take" "$readings/user-$take.wav"; done
speak de+f4 2 "$readings/other.wav"

echo "== enrolment of demo-user with five readings"
"$build/bin/halvox" enrol --dir "$program" --user demo-user --word aaj --text ひまわり \
    "$readings"/user-{0,1,2,3,4}.wav
echo "== verification of a sixth reading by the same speaker"
"$build/bin/halvox" verify --dir "$program" --user demo-user --word aaj "$readings/user-5.wav" || true
echo "== verification of another speaker saying the same word"
"$build/bin/halvox" verify --dir "$program" --user demo-user --word aaj "$readings/other.wav" || true
