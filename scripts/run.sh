#!/usr/bin/env bash
# Builds the suite's desktop programs and starts the tray program DeskWarden on the embedded default
# installation. Installs what it needs first. The system root (registry, accounts, installation folder)
# defaults to $XDG_DATA_HOME/deskwarden; set WARDEN_ROOT to keep a demonstration elsewhere.
#
# The first start on a new installation asks for the administrator and his voice word; afterwards the
# program lives in the notification area (a desktop with a tray, or any tray host such as trayer).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${WARDEN_BUILD_DIR:-$top/build}"

"$top/scripts/install-deps.sh"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Only what a person starts from here: the tray program, the lock screen it starts with its voice check,
# the administration tool that makes the installation, and the slides of the lock screen.
targets=(DeskWarden wardenctl deskwarden_images)
if cmake --build "$build" --target help | grep -q '^ScreenVeil:'; then
    targets+=(ScreenVeil screenveil-voice)
fi
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

root="${WARDEN_ROOT:-${XDG_DATA_HOME:-$HOME/.local/share}/deskwarden}"
program="$root/program"
echo "== setting up the default installation in $program (users and settings already there are kept)"
"$build/bin/wardenctl" init "$program"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "DeskWarden is a desktop program: start this script from a desktop session (or set DISPLAY)." >&2
    exit 1
fi
echo "== starting DeskWarden (it keeps running in the notification area; its menu ends it)"
exec "$build/bin/DeskWarden" "$@"
