#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the desktop program need.
# Runs apt-get only for packages that are missing; uses sudo when not root.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libtomlplusplus-dev libpng-dev
    qt6-base-dev libsdl2-dev
    libz80ex-dev pasmo
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
