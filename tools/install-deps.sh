#!/usr/bin/env bash
# Installs what building, running and testing Skerrow needs on Debian 12, if missing.
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev libgl-dev libgtest-dev fonts-liberation
          g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
