#!/usr/bin/env bash
# Measures Skerrow against the floor (wc -l, cat) and the tools users would pick instead
# (awk, Miller, DuckDB) on the same warm 3-field point files, checks that they agree,
# and writes the table with the machine's description to docs/benchmarks.md.
#   bench/run.sh [LINES ...]      default: 1000000 10000000
# Environment: RUNS (default 3, the median is reported), BUILD (default build-bench),
# SMALL (lines of the memory baseline run, default 10000). Run bench/setup.sh first.
# Not part of CI: it takes minutes and gigabytes.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
RUNS=${RUNS:-3}
BUILD=${BUILD:-build-bench}
SMALL=${SMALL:-10000}
SIZES=("$@")
[ ${#SIZES[@]} -gt 0 ] || SIZES=(1000000 10000000)
DATA=$ROOT/bench/data
RESULTS=$ROOT/bench/results
mkdir -p "$DATA" "$RESULTS"
export QT_QPA_PLATFORM=offscreen LC_ALL=C XDG_RUNTIME_DIR=$RESULTS/xdg
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

for tool in mlr gawk node /usr/bin/time; do
    command -v "$tool" > /dev/null || { echo "missing $tool: run bench/setup.sh" >&2; exit 1; }
done
[ -d bench/node_modules/@duckdb/node-api ] || { echo "missing DuckDB: run bench/setup.sh" >&2; exit 1; }

cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$BUILD" -j2 --target skerrow_bench make_points > /dev/null
BENCH=$ROOT/$BUILD/bench/skerrow_bench
MAKE_POINTS=$ROOT/$BUILD/bench/make_points

TSV=$RESULTS/times.tsv   # lines, tool, job, run, seconds, peak KiB
: > "$TSV"
record() { printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$@" >> "$TSV"; }

# The outputs of the jobs before (hundreds of megabytes) are written back to the disk
# before each run starts, so that no run pays for another's write-back.
settle() { sync; }

# Runs a command, recording its wall time and peak memory: LINES TOOL JOB RUN command...
measure() {
    local lines=$1 tool=$2 job=$3 run=$4
    shift 4
    local start end
    settle
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$RESULTS/rss" "$@"
    end=$(date +%s%N)
    record "$lines" "$tool" "$job" "$run" "$(awk -v n=$((end - start)) 'BEGIN { printf "%.4f", n / 1e9 }')" \
        "$(tail -1 "$RESULTS/rss")"
}

# Runs one Skerrow operation; records the time the program itself reports for it (the
# command from its menu click to its last message box, without the process start) and
# the process's peak memory.
skerrow() {
    local lines=$1 job=$2 run=$3 input=$4 output=$5
    local report
    rm -f "$output"
    settle
    report=$("$BENCH" "$job" "$input" "$output")
    local rss open write
    rss=$(sed -n 's/^peak_rss_kib=//p' <<< "$report")
    open=$(sed -n 's/^open_seconds=\([0-9.]*\).*/\1/p' <<< "$report")
    if [ "$job" = open ]; then
        record "$lines" skerrow open "$run" "$open" "$rss"
        record "$lines" skerrow redraw "$run" "$(sed -n 's/^redraw_seconds=//p' <<< "$report")" "$rss"
    else
        write=$(sed -n 's/^write_seconds=\([0-9.]*\).*/\1/p' <<< "$report")
        record "$lines" skerrow "$job" "$run" "$write" "$rss"
    fi
    [ "$job" != rect ] || sed -n 's/^bounds=//p' <<< "$report" > "$RESULTS/bounds-$lines"
}

AWK_COPY='BEGIN { FS = OFS = ","; ORS = "\r\n" } { print $1, $2, $3 }'
AWK_RECT='BEGIN { FS = OFS = ","; ORS = "\r\n" }
          { x = int($1); y = int($2); if (x >= a && x <= b && y >= c && y <= d) print $1, $2, $3 }'
AWK_M2FT='BEGIN { FS = "," } { printf "%.2f,%.2f,%.3f\r\n", $1 * 3.28084, $2 * 3.28084, $3 * 3.28084 }'
MLR=(mlr --icsv --ocsv --implicit-csv-header --headerless-csv-output --ors crlf)
MLR_RECT='int($1) >= @a && int($1) <= @b && int($2) >= @c && int($2) <= @d'
MLR_M2FT='$1 = fmtnum($1 * 3.28084, "%.2f"); $2 = fmtnum($2 * 3.28084, "%.2f"); $3 = fmtnum($3 * 3.28084, "%.3f")'
DUCKDB=(node "$ROOT/bench/duckdbJob.mjs")

# Peers write CRLF where they can (DuckDB writes LF); every comparison drops the CRs of
# both sides alike.
same_bytes() {
    if cmp -s <(tr -d '\r' < "$1") <(tr -d '\r' < "$2"); then echo "identical"; else echo "DIFFERENT"; fi
}
# Converted values: X and Y must be equal numbers; elevations (held in single precision
# by Skerrow) may differ by one unit of their third decimal. Prints the verdict.
same_values() {
    paste -d, <(tr -d '\r' < "$1") <(tr -d '\r' < "$2") | awk -F, '
        { if ($1 + 0 != $4 + 0 || $2 + 0 != $5 + 0) xy++
          d = $3 - $6; if (d < 0) d = -d
          if (d > 0.0000001) z++
          if (d > 0.0010001) far++ }
        END { printf "%s (%d lines; X,Y differing: %d; elevations off by one in the last decimal: %d, by more: %d)\n",
                     (xy || far) ? "DIFFERENT" : "agree", NR, xy, z - far, far }'
}

CHECKS=$RESULTS/checks.txt
: > "$CHECKS"
small=$DATA/points-$SMALL.csv
[ -f "$small" ] || "$MAKE_POINTS" "$SMALL" 3 "$small"
for run in $(seq "$RUNS"); do
    for job in open selectall m2ft rect move; do skerrow "$SMALL" "$job" "$run" "$small" "$RESULTS/out.csv"; done
done

for lines in "${SIZES[@]}"; do
    input=$DATA/points-$lines.csv
    [ -f "$input" ] || "$MAKE_POINTS" "$lines" 3 "$input"
    cat "$input" > /dev/null  # warm
    echo "== $lines lines ($(du -h "$input" | cut -f1)), load: $(cut -d' ' -f1-3 /proc/loadavg)"
    for run in $(seq "$RUNS"); do
        measure "$lines" wc count "$run" bash -c 'wc -l < "$0" > /dev/null' "$input"
        measure "$lines" cat read "$run" bash -c 'cat "$0" > /dev/null' "$input"
        for job in open selectall m2ft rect move; do
            skerrow "$lines" "$job" "$run" "$input" "$RESULTS/skerrow-$job.csv"
        done
        IFS=, read -r a b c d < "$RESULTS/bounds-$lines"
        measure "$lines" awk selectall "$run" bash -c 'gawk "$1" "$2" > "$3"' _ "$AWK_COPY" "$input" "$RESULTS/awk-selectall.csv"
        measure "$lines" awk rect "$run" bash -c 'gawk -v a="$4" -v b="$5" -v c="$6" -v d="$7" "$1" "$2" > "$3"' \
            _ "$AWK_RECT" "$input" "$RESULTS/awk-rect.csv" "$a" "$b" "$c" "$d"
        measure "$lines" awk m2ft "$run" bash -c 'gawk "$1" "$2" > "$3"' _ "$AWK_M2FT" "$input" "$RESULTS/awk-m2ft.csv"
        measure "$lines" mlr selectall "$run" bash -c '"${@:3}" cat "$1" > "$2"' _ "$input" "$RESULTS/mlr-selectall.csv" "${MLR[@]}"
        measure "$lines" mlr rect "$run" bash -c '"${@:8}" filter -s a="$3" -s b="$4" -s c="$5" -s d="$6" "$7" "$1" > "$2"' \
            _ "$input" "$RESULTS/mlr-rect.csv" "$a" "$b" "$c" "$d" "$MLR_RECT" "${MLR[@]}"
        measure "$lines" mlr m2ft "$run" bash -c '"${@:4}" put "$3" "$1" > "$2"' _ "$input" "$RESULTS/mlr-m2ft.csv" "$MLR_M2FT" "${MLR[@]}"
        measure "$lines" duckdb selectall "$run" "${DUCKDB[@]}" copy "$input" "$RESULTS/duckdb-selectall.csv"
        measure "$lines" duckdb rect "$run" "${DUCKDB[@]}" rect "$input" "$RESULTS/duckdb-rect.csv" "$a" "$b" "$c" "$d"
        measure "$lines" duckdb m2ft "$run" "${DUCKDB[@]}" m2ft "$input" "$RESULTS/duckdb-m2ft.csv"
    done
    {
        echo "$lines lines, rectangle X $a..$b, Y $c..$d ($(wc -l < "$RESULTS/skerrow-rect.csv") points):"
        for peer in awk mlr duckdb; do
            echo "  copy of all points, Skerrow vs $peer: $(same_bytes "$RESULTS/skerrow-selectall.csv" "$RESULTS/$peer-selectall.csv")"
            echo "  rectangle copy, Skerrow vs $peer: $(same_bytes "$RESULTS/skerrow-rect.csv" "$RESULTS/$peer-rect.csv")"
            echo "  metres to feet, Skerrow vs $peer: $(same_values "$RESULTS/skerrow-m2ft.csv" "$RESULTS/$peer-m2ft.csv")"
        done
    } | tee -a "$CHECKS"
done

bash "$ROOT/bench/report.sh" "$TSV" "$CHECKS" "$SMALL" "$RUNS" "${SIZES[@]}" | tee "$ROOT/docs/benchmarks.md"
rm -f "$RESULTS"/*.csv
