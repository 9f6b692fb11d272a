#!/usr/bin/env bash
# Installs what building and testing the program needs on Debian 12, and does nothing when all of it is there.
set -euo pipefail

packages=(
    g++ cmake make pkg-config
    qt6-base-dev libgl-dev libxcb-xkb-dev libx11-dev
    libtinyxml-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-wqy-microhei fonts-dejavu-core
    xvfb xauth
    xdotool
    openbox x11-utils
    poppler-utils
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$p")
    fi
done
# The offscreen and X11 (xcb) platform plugins come with Qt's GUI library; check the files, not only the package.
if ! ls /usr/lib/*/qt6/plugins/platforms/libqoffscreen.so /usr/lib/*/qt6/plugins/platforms/libqxcb.so \
    >/dev/null 2>&1; then
    missing+=(libqt6gui6)
fi

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
