#!/usr/bin/env bash
# Installs what building, running and testing Skerrow needs on Debian 12, if missing.
set -euo pipefail
exec "$(dirname "$0")/ensure-packages.sh" cmake ninja-build g++ qt6-base-dev libgl-dev libgtest-dev \
    fonts-liberation fonts-wine g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
