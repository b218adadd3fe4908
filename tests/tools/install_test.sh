#!/usr/bin/env bash
# `cmake --install` of the whole suite into a throwaway prefix: programs, libraries, shipped data, desktop
# entry and icons land where they belong, and the installed wardenctl makes a working installation from
# the data beside it, also after the prefix has been moved.
set -u
cmake="$1"
build="$(realpath "$2")"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
prefix="$root/prefix"

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }
has() { [ -e "$2" ] && pass || fail "$1: no $2"; }

if ! "$cmake" --install "$build" --prefix "$prefix" >"$root/install.log" 2>&1; then
    fail "cmake --install"; sed 's/^/  | /' "$root/install.log"
    echo "install: $passed passed, $failed failed"; exit 1
fi

for program in wardenctl voice-dialog halvox; do
    [ -x "$prefix/bin/$program" ] && pass || fail "no program $prefix/bin/$program"
done
for library in libHalvoxEngine.so libCipherWell.so libTalkLib.so; do has "library" "$prefix/lib/$library"; done
# The programs find the suite's libraries through their RPATH, not through the build tree.
if ldd "$prefix/bin/voice-dialog" | grep -q "libHalvoxEngine.so => $prefix/bin/../lib/"; then pass; else
    fail "voice-dialog does not load the installed engine library"; ldd "$prefix/bin/voice-dialog" | grep -i halvox; fi

share="$prefix/share/deskwarden"
has "engine models" "$share/engine/iwrec/fiwr.bin"
has "default skin" "$share/skin/default/skin.ini"
has "prompt sound" "$share/wave/sv_rec.wav"
has "password words" "$share/vocabulary.tsv"
has "the manual the tray menu opens" "$share/help/manual.html"
for n in 1 2 3 4 5; do has "lock screen slide" "$share/images/screen0$n.bmp"; done

desktop="$prefix/share/applications/deskwarden.desktop"
has "desktop entry" "$desktop"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" >"$root/validate" 2>&1 && ! grep -qE "error|warning" "$root/validate" && pass \
        || { fail "the desktop entry does not validate"; cat "$root/validate"; }
else
    fail "desktop-file-validate is missing (scripts/install-deps.sh installs desktop-file-utils)"
fi
for line in "Name=Marlow Desk Warden" "Exec=DeskWarden %f" "Icon=deskwarden" "Terminal=false" \
    "Type=Application" "Categories=Utility;Security;"; do
    grep -qxF "$line" "$desktop" && pass || fail "the desktop entry lacks '$line'"
done

# Each icon sits in the folder of its own size: the PNG header's width and height say which it is.
for size in 16 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/deskwarden.png"
    if [ -f "$icon" ]; then
        read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$icon")
        [ "$w" = "$size" ] && [ "$h" = "$size" ] && pass || fail "$icon is $w x $h"
    else
        fail "no icon $icon"
    fi
done

# The installed wardenctl takes its shipped data from the prefix, wherever the prefix now lies.
mv "$prefix" "$root/moved"
export WARDEN_ROOT="$root/system"
if "$root/moved/bin/wardenctl" init "$root/app" >"$root/out" 2>&1; then pass; else fail "installed wardenctl init"; cat "$root/out"; fi
grep -qF "shipped data: $root/moved/share/deskwarden " "$root/out" && pass || { fail "init did not use the moved prefix's data"; cat "$root/out"; }
has "skin from the prefix" "$root/app/skin/default/skin.ini"
has "slides from the prefix" "$root/app/images/screen05.bmp"
"$root/moved/bin/wardenctl" check >"$root/out" 2>&1 && pass || { fail "the new installation fails the strict check"; cat "$root/out"; }

echo "install: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
