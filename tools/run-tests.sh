#!/usr/bin/env bash
# Installs what is missing, builds Skerrow and its tests, runs every test, and
# cross-builds the Windows program skerrow.exe. Further stages (sanitizers, fuzzing,
# end-to-end runs) live in tools/test-stages/ and run in name order; each installs
# what it needs itself.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 300)
cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release -DSKERROW_TESTS=OFF
cmake --build build-win -j2
echo "built build-win/skerrow.exe"
for stage in tools/test-stages/*.sh; do
    [ -e "$stage" ] || continue
    echo "== $stage"
    bash "$stage"
done
