#!/usr/bin/env bash
# End-to-end stage: the Linux build in a real window on Xvfb, bare and under Openbox, and
# skerrow.exe under Wine,
# both driven by xdotool (CTest label e2e); skerrow.exe imports only system DLLs; the
# Debian package built by CPack installs with apt and its program starts and exits.
# Runs after the main build, which leaves build/ and build-win/skerrow.exe.
set -euo pipefail
cd "$(dirname "$0")/../.."
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# xvfb: the X server; xdotool: real input events; imagemagick: screenshots and pixels;
# wine and wine64: the Windows build, with the X libraries that Wine's X11 driver loads at
# run time (its packages only recommend them); dpkg-dev: dpkg-shlibdeps for the package;
# openbox: a real window manager for the scenario's second run; x11-utils: xwininfo, which
# tells where a reparented window really is.
tools/ensure-packages.sh xvfb xdotool imagemagick wine wine64 libxrender1 libxcursor1 libxi6 libxrandr2 \
    libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1 dpkg-dev openbox x11-utils

cmake --build build -j2 --target skerrow
tests/e2e/exe-imports.sh build-win/skerrow.exe
(cd build && SKERROW_E2E=1 ctest -L e2e --output-on-failure --no-tests=error)
(cd build && rm -f skerrow_*.deb && cpack -G DEB)
$sudo env SKERROW_E2E=1 tests/e2e/package-test.sh build/skerrow_*.deb build/e2e/package
