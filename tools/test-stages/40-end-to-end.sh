#!/usr/bin/env bash
# End-to-end stage: the Linux build in a real window on Xvfb, bare, under Openbox and at a
# device pixel ratio of 2, and skerrow.exe under Wine, bare and installed by its NSIS
# installer, all driven by xdotool (CTest label e2e); skerrow.exe imports only system DLLs
# and carries its manifest, version and icon; the Windows zip holds the program, README and
# examples, and its skerrow.exe is the same in both respects; the Debian package
# built by CPack installs with apt and its program starts and exits.
# Runs after the main build, which leaves build/ and build-win/skerrow.exe.
set -euo pipefail
cd "$(dirname "$0")/../.."
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# xvfb: the X server; xdotool: real input events; imagemagick: screenshots and pixels;
# wine and wine64: the Windows build, with the X libraries that Wine's X11 driver loads at
# run time (its packages only recommend them); dpkg-dev: dpkg-shlibdeps for the package;
# openbox: a real window manager for the scenario's second run; x11-utils: xwininfo, which
# tells where a reparented window really is; nsis: makensis, for CPack's Windows installer.
tools/ensure-packages.sh xvfb xdotool imagemagick wine wine64 libxrender1 libxcursor1 libxi6 libxrandr2 \
    libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1 dpkg-dev openbox x11-utils nsis

# skerrow-drag-source stands in for a file manager in the desktop scenario's drag and drop.
cmake --build build -j2 --target skerrow skerrow_drag_source
tests/e2e/exe-imports.sh build-win/skerrow.exe
tests/e2e/exe-resources.sh build-win/skerrow.exe "$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-win/CMakeCache.txt)"
(cd build-win && rm -f skerrow-*-win64.zip skerrow-*-win64.exe && cpack -G "ZIP;NSIS")
tests/e2e/windows-zip.sh build-win/skerrow-*-win64.zip
(cd build && SKERROW_E2E=1 ctest -L e2e --output-on-failure --no-tests=error)
# The window manager's scenario twice more: it must pass three runs in a row.
(cd build && SKERROW_E2E=1 ctest -R '^e2e_linux_openbox$' --repeat until-fail:2 --output-on-failure --no-tests=error)
(cd build && rm -f skerrow_*.deb && cpack -G DEB)
$sudo env SKERROW_E2E=1 tests/e2e/package-test.sh build/skerrow_*.deb build/e2e/package
