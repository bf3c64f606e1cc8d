#!/usr/bin/env bash
# Instructions a line of each job, on one worker, counted by callgrind: repeatable for the
# same binary and input whatever else the machine does, so two builds can be compared
# where seconds cannot. A line's cost is the difference between a run over 1,000,000 lines
# and one over 500,000, divided by 500,000, so that start-up and the dialogs drop out.
#   bench/lineInstructions.sh [BUILD]      default BUILD: build-bench (a Release build)
# Each job is the headless runner's (bench/skerrowBench.cpp): its Open and drawing, then
# the job. Prints one line per job: "job instructions-a-line".
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-bench}
command -v valgrind > /dev/null || { echo "valgrind is needed" >&2; exit 1; }
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$BUILD" -j2 --target skerrow_bench make_points > /dev/null
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen SKERROW_THREADS=1 XDG_RUNTIME_DIR=$WORK
"$BUILD/bench/make_points" 500000 3 "$WORK/half.csv" > /dev/null
"$BUILD/bench/make_points" 1000000 3 "$WORK/whole.csv" > /dev/null

# Instructions of one run: the total callgrind writes at the end of its output file.
instructions() {
    local job=$1 input=$2
    rm -f "$WORK/out.csv" "$WORK/callgrind.out"
    valgrind --tool=callgrind --callgrind-out-file="$WORK/callgrind.out" \
        "$BUILD/bench/skerrow_bench" "$job" "$input" "$WORK/out.csv" > /dev/null 2>&1
    sed -n 's/^summary: \([0-9]*\).*/\1/p' "$WORK/callgrind.out"
}

for job in ${JOBS:-open selectall rect m2ft move}; do
    half=$(instructions "$job" "$WORK/half.csv")
    whole=$(instructions "$job" "$WORK/whole.csv")
    echo "$job $(( (whole - half) / 500000 ))"
done
