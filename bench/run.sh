#!/usr/bin/env bash
# Measures Skerrow against the floor (wc -l, cat) and the tools users would pick instead
# (mawk and gawk, Miller, DuckDB) on the same warm 3-field point files, checks that they
# agree, and writes the table with the machine's description to docs/benchmarks.md.
#   bench/run.sh [LINES ...]      default: 1000000 10000000
# Environment: RUNS (default 5), BUILD (default build-bench), SMALL (lines of the memory
# baseline, default 10000). Run bench/setup.sh first. Not part of CI: it takes minutes and
# gigabytes.
#
# The method, for every job and every tool alike: the runs are interleaved (Skerrow, then
# each peer, then Skerrow again), RUNS of each; sync before every run; the tool's output
# file removed before its run. The report gives the median and the minimum of each, and
# ratios of medians. The kernel's cost of writing an output counts on every side.
# Skerrow's time is the command's own (from the menu command to its last message box),
# on every core and with SKERROW_THREADS=1; a further row gives its whole process,
# start-up and the Open included.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
RUNS=${RUNS:-5}
BUILD=${BUILD:-build-bench}
SMALL=${SMALL:-10000}
SIZES=("$@")
[ ${#SIZES[@]} -gt 0 ] || SIZES=(1000000 10000000)
DATA=$ROOT/bench/data
RESULTS=$ROOT/bench/results
mkdir -p "$DATA" "$RESULTS"
export QT_QPA_PLATFORM=offscreen LC_ALL=C XDG_RUNTIME_DIR=$RESULTS/xdg
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

for tool in mawk gawk mlr node /usr/bin/time; do
    command -v "$tool" > /dev/null || { echo "missing $tool: run bench/setup.sh" >&2; exit 1; }
done
[ -d bench/node_modules/@duckdb/node-api ] || { echo "missing DuckDB: run bench/setup.sh" >&2; exit 1; }

cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$BUILD" -j2 --target skerrow_bench make_points > /dev/null
BENCH=$ROOT/$BUILD/bench/skerrow_bench
MAKE_POINTS=$ROOT/$BUILD/bench/make_points
# BEFORE: another build's runner (such as the commit before a change, built by this script
# into its own folder), run interleaved with this one as skerrow-before on the jobs both
# know, so that a change is measured before and after in one run.
BEFORE=${BEFORE:-}

TSV=$RESULTS/times.tsv   # lines, tool, job, run, seconds, peak KiB
: > "$TSV"
record() { printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$@" >> "$TSV"; }

# Nanoseconds as seconds.
seconds() { awk -v n="$1" 'BEGIN { printf "%.4f", n / 1e9 }'; }

# Runs a command after sync, recording its wall time and peak memory:
#   LINES TOOL JOB RUN OUTPUT command...   (OUTPUT is removed first; - for none)
# An output is flushed to the disk (sync FILE) before the clock stops, as Skerrow flushes
# what it saves: like is compared with like.
measure() {
    local lines=$1 tool=$2 job=$3 run=$4 output=$5
    shift 5
    local start end
    [ "$output" = - ] || rm -f "$output"
    sync
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$RESULTS/rss" "$@"
    [ "$output" = - ] || sync "$output"
    end=$(date +%s%N)
    record "$lines" "$tool" "$job" "$run" "$(seconds $((end - start)))" "$(tail -1 "$RESULTS/rss")"
}

# Runs one Skerrow operation in a process of its own with the workers given (all: the
# machine's), after sync; records the command's own time as the program reports it (from
# the menu command to its last message box), and the whole process's wall time.
skerrow() {
    local lines=$1 job=$2 run=$3 input=$4 output=$5 workers=$6
    local tool=skerrow bench=$BENCH
    [ "$workers" = all ] || tool=skerrow-${workers}t
    if [ "$workers" = before ]; then
        tool=skerrow-before bench=$BEFORE workers=all
    fi
    local report start end
    rm -f "$output"
    sync
    start=$(date +%s%N)
    if [ "$workers" = all ]; then
        report=$("$bench" "$job" "$input" "$output")
    else
        report=$(SKERROW_THREADS=$workers "$bench" "$job" "$input" "$output")
    fi
    end=$(date +%s%N)
    local rss open write
    rss=$(sed -n 's/^peak_rss_kib=//p' <<< "$report")
    open=$(sed -n 's/^open_seconds=\([0-9.]*\).*/\1/p' <<< "$report")
    if [ "$job" = open ]; then
        record "$lines" "$tool" open "$run" "$open" "$rss"
        record "$lines" "$tool" redraw "$run" "$(sed -n 's/^redraw_seconds=//p' <<< "$report")" "$rss"
    elif [ "$job" = zoom ]; then
        record "$lines" "$tool" zoom "$run" "$(sed -n 's/^redraw_seconds=//p' <<< "$report")" "$rss"
    else
        write=$(sed -n 's/^write_seconds=\([0-9.]*\).*/\1/p' <<< "$report")
        record "$lines" "$tool" "$job" "$run" "$write" "$rss"
    fi
    [ "$tool" != skerrow ] || record "$lines" skerrow-process "$job" "$run" "$(seconds $((end - start)))" "$rss"
    [ "$job" != rect ] || sed -n 's/^bounds=//p' <<< "$report" > "$RESULTS/bounds-$lines"
    # The points each picking job wrote, for the comparisons of like with like.
    case $job in polygon | outside | rectwide | rect)
        sed -n 's/.*written=\([0-9]*\).*/\1/p' <<< "$report" > "$RESULTS/written-$tool-$job-$lines" ;;
    esac
}

AWK_COPY='BEGIN { FS = OFS = ","; ORS = "\r\n" } { print $1, $2, $3 }'
AWK_RECT='BEGIN { FS = OFS = ","; ORS = "\r\n" }
          { x = int($1); y = int($2); if (x >= a && x <= b && y >= c && y <= d) print $1, $2, $3 }'
AWK_M2FT='BEGIN { FS = "," } { printf "%.2f,%.2f,%.3f\r\n", $1 * 3.28084, $2 * 3.28084, $3 * 3.28084 }'
MLR=(mlr --icsv --ocsv --implicit-csv-header --headerless-csv-output --ors crlf)
MLR_RECT='int($1) >= @a && int($1) <= @b && int($2) >= @c && int($2) <= @d'
MLR_M2FT='$1 = fmtnum($1 * 3.28084, "%.2f"); $2 = fmtnum($2 * 3.28084, "%.2f"); $3 = fmtnum($3 * 3.28084, "%.3f")'
DUCKDB=(node "$ROOT/bench/duckdbJob.mjs")

# One peer's run of a job: TOOL JOB LINES RUN INPUT (the rectangle's bounds are the ones
# Skerrow selected in the same round).
peer() {
    local tool=$1 job=$2 lines=$3 run=$4 input=$5
    local out="$RESULTS/$tool-$job.csv" a b c d
    [ "$job" != rect ] || IFS=, read -r a b c d < "$RESULTS/bounds-$lines"
    case "$tool:$job" in
    mawk:selectall | gawk:selectall)
        measure "$lines" "$tool" "$job" "$run" "$out" bash -c '"$1" "$2" "$3" > "$4"' _ "$tool" "$AWK_COPY" "$input" "$out" ;;
    mawk:rect | gawk:rect)
        measure "$lines" "$tool" "$job" "$run" "$out" bash -c '"$1" -v a="$5" -v b="$6" -v c="$7" -v d="$8" "$2" "$3" > "$4"' \
            _ "$tool" "$AWK_RECT" "$input" "$out" "$a" "$b" "$c" "$d" ;;
    mawk:m2ft | gawk:m2ft)
        measure "$lines" "$tool" "$job" "$run" "$out" bash -c '"$1" "$2" "$3" > "$4"' _ "$tool" "$AWK_M2FT" "$input" "$out" ;;
    mlr:selectall)
        measure "$lines" mlr "$job" "$run" "$out" bash -c '"${@:3}" cat "$1" > "$2"' _ "$input" "$out" "${MLR[@]}" ;;
    mlr:rect)
        measure "$lines" mlr "$job" "$run" "$out" bash -c '"${@:8}" filter -s a="$3" -s b="$4" -s c="$5" -s d="$6" "$7" "$1" > "$2"' \
            _ "$input" "$out" "$a" "$b" "$c" "$d" "$MLR_RECT" "${MLR[@]}" ;;
    mlr:m2ft)
        measure "$lines" mlr "$job" "$run" "$out" bash -c '"${@:4}" put "$3" "$1" > "$2"' _ "$input" "$out" "$MLR_M2FT" "${MLR[@]}" ;;
    duckdb:selectall) measure "$lines" duckdb "$job" "$run" "$out" "${DUCKDB[@]}" copy "$input" "$out" ;;
    duckdb:rect) measure "$lines" duckdb "$job" "$run" "$out" "${DUCKDB[@]}" rect "$input" "$out" "$a" "$b" "$c" "$d" ;;
    duckdb:m2ft) measure "$lines" duckdb "$job" "$run" "$out" "${DUCKDB[@]}" m2ft "$input" "$out" ;;
    esac
}

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
    for job in open selectall m2ft rect move polygon outside rectwide zoom; do
        skerrow "$SMALL" "$job" "$run" "$small" "$RESULTS/out.csv" all
    done
done

for lines in "${SIZES[@]}"; do
    input=$DATA/points-$lines.csv
    [ -f "$input" ] || "$MAKE_POINTS" "$lines" 3 "$input"
    cat "$input" > /dev/null  # warm
    echo "== $lines lines ($(du -h "$input" | cut -f1)), load: $(cut -d' ' -f1-3 /proc/loadavg)"
    for run in $(seq "$RUNS"); do
        measure "$lines" wc count "$run" - bash -c 'wc -l < "$0" > /dev/null' "$input"
        measure "$lines" cat read "$run" - bash -c 'cat "$0" > /dev/null' "$input"
        for job in open selectall m2ft rect move polygon outside rectwide zoom; do
            skerrow "$lines" "$job" "$run" "$input" "$RESULTS/skerrow-$job.csv" all
            skerrow "$lines" "$job" "$run" "$input" "$RESULTS/skerrow-1t-$job.csv" 1
            case $job in open | selectall | m2ft | rect | move)
                [ -z "$BEFORE" ] || skerrow "$lines" "$job" "$run" "$input" "$RESULTS/skerrow-before-$job.csv" before ;;
            esac
            # The floor of a copy: the kernel reading the file and writing it whole.
            [ "$job" != selectall ] ||
                measure "$lines" cat copy "$run" "$RESULTS/cat-copy.csv" bash -c 'cat "$1" > "$2"' _ "$input" "$RESULTS/cat-copy.csv"
            case $job in selectall | m2ft | rect) for tool in mawk gawk mlr duckdb; do peer "$tool" "$job" "$lines" "$run" "$input"; done ;; esac
        done
    done
    IFS=, read -r a b c d < "$RESULTS/bounds-$lines"
    {
        echo "$lines lines, rectangle X $a..$b, Y $c..$d ($(wc -l < "$RESULTS/skerrow-rect.csv") points):"
        for job in selectall rect m2ft move polygon outside rectwide; do
            echo "  $job, all workers vs one: $(same_bytes "$RESULTS/skerrow-$job.csv" "$RESULTS/skerrow-1t-$job.csv")"
        done
        echo "  points written: rect $(cat "$RESULTS/written-skerrow-rect-$lines"), polygon $(cat "$RESULTS/written-skerrow-polygon-$lines"), outside $(cat "$RESULTS/written-skerrow-outside-$lines"), rectwide $(cat "$RESULTS/written-skerrow-rectwide-$lines")"
        echo "  rect and outside together: $(sort "$RESULTS/skerrow-rect.csv" "$RESULTS/skerrow-outside.csv" | cmp -s - <(sort "$RESULTS/skerrow-selectall.csv") && echo "every point once" || echo "DIFFERENT from all points")"
        for tool in mawk gawk mlr duckdb; do
            echo "  copy of all points, Skerrow vs $tool: $(same_bytes "$RESULTS/skerrow-selectall.csv" "$RESULTS/$tool-selectall.csv")"
            echo "  rectangle copy, Skerrow vs $tool: $(same_bytes "$RESULTS/skerrow-rect.csv" "$RESULTS/$tool-rect.csv")"
            echo "  metres to feet, Skerrow vs $tool: $(same_values "$RESULTS/skerrow-m2ft.csv" "$RESULTS/$tool-m2ft.csv")"
        done
    } | tee -a "$CHECKS"
done

bash "$ROOT/bench/report.sh" "$TSV" "$CHECKS" "$SMALL" "$RUNS" "${SIZES[@]}" | tee "$ROOT/docs/benchmarks.md"
rm -f "$RESULTS"/*.csv
