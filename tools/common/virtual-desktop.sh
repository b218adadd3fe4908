# Sourced by the screenshot scripts: a virtual display with a quiet desktop behind the windows, so that a
# shaped window's outline shows. After `start_virtual_desktop DISPLAY WIDTH HEIGHT`, DISPLAY names it,
# $tmp is a scratch folder, and on exit the program whose process id is in $app, the desktop, the display
# and $tmp are cleaned up.
start_virtual_desktop() {
    local width=$2 height=$3
    tmp=$(mktemp -d)
    Xvfb "$1" -screen 0 "${width}x${height}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    trap stop_virtual_desktop EXIT
    export DISPLAY=$1 XDG_RUNTIME_DIR=$tmp/runtime
    mkdir -m 0700 "$XDG_RUNTIME_DIR"
    sleep 1
    convert -size "${width}x${height}" gradient:'#5b6f95-#28344f' "$tmp/desktop.png"
    display -immutable -geometry +0+0 "$tmp/desktop.png" &
    desktop=$!
    sleep 1
}

stop_virtual_desktop() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
    [ -n "${desktop:-}" ] && kill "$desktop" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$tmp"
}
