#!/usr/bin/env bash
# Installs, as root on Debian 12, whichever of the build and test packages are missing.
# Usage: scripts/install-deps.sh [run|test]
set -euo pipefail
packages=(cmake g++ make pkg-config qt6-base-dev fonts-noto-cjk qt6-translations-l10n)
if [ "${1:-run}" = test ]; then
    packages+=(libgtest-dev libbenchmark-dev xvfb xauth imagemagick clang libclang-rt-14-dev
               valgrind desktop-file-utils appstream dpkg-dev file locales poppler-utils)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
