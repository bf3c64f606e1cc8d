#!/usr/bin/env bash
# The whole test suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer
# (gcc): any out-of-bounds access, use after free, leak or undefined behaviour fails it.
set -euo pipefail
cd "$(dirname "$0")/../.."
# -O1 keeps the instrumented build and run quick while still inlining little.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DSKERROW_SANITIZE=ON
cmake --build build-asan -j2
# fontconfig (through Qt's font database) keeps a cache it never frees: a leak inside the
# system library, not the program's, so it alone is suppressed.
printf 'leak:libfontconfig.so\n' > build-asan/lsan-suppressions.txt
export LSAN_OPTIONS="suppressions=$PWD/build-asan/lsan-suppressions.txt"
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The end-to-end scenarios drive the release build and have a stage of their own.
(cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 300 -LE e2e)
