#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer included) and runs each for a bounded time from its seed
# corpus. Any crash, sanitizer report, timeout or failed check fails the stage; the input
# that caused it is kept in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${SKERROW_FUZZ_SECONDS:-40}

tools/ensure-packages.sh clang libclang-rt-14-dev

targets=(lineReader parseLine openFile writeLine dialogEntry exponentForm)
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKERROW_FUZZ=ON -DSKERROW_TESTS=OFF \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
cmake --build build-fuzz -j2 --target "${targets[@]/#/fuzz_}"

# fontconfig (through Qt's font database) keeps a cache it never frees: a leak inside the
# system library, not the program's, so it alone is suppressed.
printf 'leak:libfontconfig.so\n' > build-fuzz/lsan-suppressions.txt
export LSAN_OPTIONS="suppressions=$PWD/build-fuzz/lsan-suppressions.txt"
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
mkdir -p build-fuzz/findings build-fuzz/tmp
# The targets' scratch files, kept out of /tmp even when a run ends in a finding.
export TMPDIR="$PWD/build-fuzz/tmp"
for target in "${targets[@]}"; do
    # New inputs go to a scratch folder; the seed corpus in the repository is only read.
    work="build-fuzz/corpus/$target"
    rm -rf "$work"
    mkdir -p "$work"
    echo "== fuzz_$target for ${seconds}s"
    build-fuzz/fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -max_len=4096 \
        -print_final_stats=1 -artifact_prefix="build-fuzz/findings/$target-" "$work" "fuzz/corpus/$target"
done
