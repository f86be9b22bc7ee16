#!/usr/bin/env bash
# Installs the Debian packages Quennary builds and tests with (run as root, or with sudo present).
set -euo pipefail
packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libqt6svg6-dev qt6-svg-dev qt6-multimedia-dev
    qt6-networkauth-dev qtkeychain-qt6-dev
    libsqlite3-dev sqlite3 libexiv2-dev libheif-dev libde265-dev libraw-dev libplist-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth
    desktop-file-utils dpkg-dev
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y "${missing[@]}"
fi
