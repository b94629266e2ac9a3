#!/usr/bin/env bash
# Installs, as root on Debian 12, whichever of the build and test packages are missing.
# Usage: scripts/install-deps.sh [run|test]      what building, or every check, needs
#        scripts/install-deps.sh --only P...     the packages named (the Windows and
#                                                WebAssembly scripts name theirs)
set -euo pipefail
case "${1:-run}" in
--only)
    shift
    packages=("$@")
    ;;
test)
    packages=(cmake g++ make pkg-config qt6-base-dev fonts-noto-cjk qt6-translations-l10n
              libgtest-dev libbenchmark-dev xvfb xauth imagemagick clang libclang-rt-14-dev
              valgrind desktop-file-utils appstream dpkg-dev file locales poppler-utils)
    ;;
*)
    packages=(cmake g++ make pkg-config qt6-base-dev fonts-noto-cjk qt6-translations-l10n)
    ;;
esac
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "missing packages: ${missing[*]} (run as root, or apt-get install them)"
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
