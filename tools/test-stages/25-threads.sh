#!/usr/bin/env bash
# The tests that run the passes on one worker and on several, built with ThreadSanitizer
# (gcc): any data race between the workers, or between them and the thread that merges
# their results, fails the stage.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DSKERROW_TSAN=ON
cmake --build build-tsan -j2 --target test_app test_output test_plot
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
# Four workers on two cores: more interleavings than the machine's count would give.
(cd build-tsan && SKERROW_THREADS=4 QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 600 \
    -R 'Workers|PlainLineWriting|Thinning')
