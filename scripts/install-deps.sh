#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the suite needs.
# Safe to run again: it does nothing (and prints nothing) when everything is present.
set -euo pipefail

packages=(
    # toolchain and test frameworks
    build-essential cmake ninja-build pkg-config clang-format
    # libFuzzer comes with clang
    clang
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    # libraries of the suite
    libcrypto++-dev libjpeg62-turbo-dev qt6-base-dev libasound2-dev libsqlite3-dev libxcb1-dev
    fonts-ipafont-gothic
    # sound tools for test audio, the corpus and the prompt sounds
    espeak-ng flite sox libsox-fmt-base
    # desktop under a virtual display, screenshots
    xvfb xauth x11-utils imagemagick xdotool trayer
    # the desktop entry's check in the install test
    desktop-file-utils
    # scripts that derive reference values
    python3 python3-numpy
    # the DET curve of docs/accuracy.md
    python3-matplotlib
    # voice logon through PAM: the module's headers and the test driver
    libpam0g-dev pamtester
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    sudo=sudo
else
    sudo=
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
