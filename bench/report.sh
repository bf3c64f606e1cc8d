#!/usr/bin/env bash
# Turns bench/run.sh's measurements into the Markdown of docs/benchmarks.md:
#   report.sh TIMES.tsv CHECKS.txt SMALL RUNS LINES...
set -euo pipefail
TSV=$1 CHECKS=$2 SMALL=$3 RUNS=$4
shift 4
LC_ALL=C

# Median and minimum of each (lines, tool, job): "lines tool job median minimum peakKiB",
# the peak memory that of the median run.
medians() {
    sort -t$'\t' -k1,1n -k2,2 -k3,3 -k5,5g "$TSV" | awk -F'\t' '
        function flush() { if (n) { m = int((n + 1) / 2); print key, s[m], s[1], r[m] } }
        { k = $1 " " $2 " " $3
          if (k != key) { flush(); key = k; n = 0 }
          s[++n] = $5; r[n] = $6 }
        END { flush() }'
}
MED=$(medians)

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
mem=$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
disk=$(df -h --output=source,fstype,size "$(dirname "$TSV")" | tail -1 | awk '{ print $1 " (" $2 ", " $3 ")" }')
os=$(. /etc/os-release && echo "$PRETTY_NAME")
kernel=$(uname -r)

cat <<HEAD
# Benchmarks

Skerrow against the floor (\`wc -l\`, \`cat > /dev/null\`) and the tools a user would pick
for the same jobs (mawk, Debian's default \`awk\`, and GNU awk; Miller; DuckDB through its
Node.js package), on the same warm 3-field point files made by \`bench/makePoints.cpp\`
(six-digit eastings, seven-digit northings with two or three decimals, elevations with
three). Made by \`bench/run.sh\` (after \`bench/setup.sh\`).

**Method.** For every job and every tool alike: $RUNS runs of each, interleaved (Skerrow
on every worker, Skerrow on one, then each peer, then Skerrow again); \`sync\` before every
run; the tool's output file removed before its run. The tables give the median and the
minimum of each, and ratios of medians. The kernel's cost of writing an output counts on
every side, and so does putting it on the disk: Skerrow's save flushes its file before it
reports it saved, and every other tool's output (\`cat in > out\`, the copy's floor,
among them) is flushed with \`sync FILE\` before its clock stops. **skerrow-before**,
where it stands, is another build run interleaved with this one (\`BEFORE=\` of
\`bench/run.sh\`), the program before a change. Skerrow's time is the command's own, from the menu command to its last
message box, measured inside a headless process (\`bench/skerrowBench.cpp\`) that answers
the dialogs as a user would: **skerrow** on every worker the machine has, **skerrow-1t**
with \`SKERROW_THREADS=1\`; **skerrow-process** is the whole process of the first, with
its start-up and the Open. A write operation's peak memory includes the Open before it.
The other tools' times are whole processes (for DuckDB that includes starting Node.js,
about 0.1 s). DuckDB and Skerrow use every core; awk and Miller one.

Machine: $cpu, $(nproc) cores, $mem memory, disk $disk, $os, Linux $kernel. Load average
at the end: $(cut -d' ' -f1-3 /proc/loadavg).

Jobs: **open** Open (the one pass, the read-back of the last line, the fit) and drawing;
**redraw** the drawing alone; **selectall** "Select All Pts." as comma separated copies;
**m2ft** "Select All Pts." metres to feet; **rect** a rectangle over the middle half of the
frame both ways (about a quarter of the points) as copies; **move** "Move All Pts.";
**polygon** a 50-vertex star over the middle of the frame, of the rectangle's area (about
as many points), as copies; **outside** "Points Outside" with the rectangle of rect (the
other three quarters or so); **rectwide** a rectangle over the frame's width and its lower
three quarters (about as many points as outside); **zoom** a Redraw of the view zoomed to
the rectangle of rect, every line read, against **redraw** of the whole file.
Peers: awk \`print \$1, \$2, \$3\` / whole-number bounds with \`int()\` / \`printf
"%.2f,%.2f,%.3f"\` of the products; Miller \`cat\` / \`filter\` with \`int()\` / \`put\` with
\`fmtnum\`; DuckDB \`COPY (SELECT ... FROM read_csv(..., all_varchar=true) WHERE
trunc(CAST(x AS DOUBLE)) BETWEEN ...) TO ...\`.
HEAD

for lines in "$@"; do
    size=$(du -h "$(dirname "$TSV")/../data/points-$lines.csv" 2>/dev/null | cut -f1 || echo "?")
    echo
    echo "## $lines lines ($size)"
    echo
    echo "| job | tool | median s | min s | × wc -l | tool ÷ Skerrow | peak MiB |"
    echo "| --- | --- | ---: | ---: | ---: | ---: | ---: |"
    awk -v L="$lines" '
        $1 == L { t[$2 " " $3] = $4; lo[$2 " " $3] = $5; r[$2 " " $3] = $6; if ($2 == "wc") wc = $4 }
        END {
            n = split("count:wc read:cat copy:cat open:skerrow open:skerrow-1t open:skerrow-before open:skerrow-process redraw:skerrow redraw:skerrow-1t redraw:skerrow-before selectall:skerrow selectall:skerrow-1t selectall:skerrow-before selectall:skerrow-process selectall:duckdb selectall:mawk selectall:gawk selectall:mlr m2ft:skerrow m2ft:skerrow-1t m2ft:skerrow-before m2ft:skerrow-process m2ft:duckdb m2ft:mawk m2ft:gawk m2ft:mlr rect:skerrow rect:skerrow-1t rect:skerrow-before rect:skerrow-process rect:duckdb rect:mawk rect:gawk rect:mlr move:skerrow move:skerrow-1t move:skerrow-before move:skerrow-process polygon:skerrow polygon:skerrow-1t outside:skerrow outside:skerrow-1t rectwide:skerrow rectwide:skerrow-1t zoom:skerrow zoom:skerrow-1t", rows, " ")
            for (i = 1; i <= n; i++) {
                split(rows[i], p, ":"); k = p[2] " " p[1]
                if (!(k in t)) continue
                s = "skerrow " p[1]
                ratio = (p[2] != "skerrow" && p[2] != "wc" && p[2] != "cat" && (s in t)) ? sprintf("%.1f", t[k] / t[s]) : "–"
                if (k == "cat copy" && ("skerrow selectall" in t)) ratio = sprintf("%.1f", t[k] / t["skerrow selectall"])
                printf "| %s | %s | %.3f | %.3f | %.1f | %s | %.1f |\n", p[1], p[2], t[k], lo[k], t[k] / wc, ratio, r[k] / 1024
            } }' <<< "$MED"
done

last=${*: -1}
echo
echo "## Targets, $last lines"
echo
# The median of the ratios of the copy to the cat copy of the same round, at the last size.
pairs=$(awk -F'\t' -v L="$last" '$1 == L && $2 == "skerrow" && $3 == "selectall" { s[$4] = $5 }
        $1 == L && $2 == "cat" && $3 == "copy" { c[$4] = $5 }
        END { for (r in s) if (r in c) print s[r] / c[r] }' "$TSV" | sort -g | awk '{ v[NR] = $1 } END { print NR ? v[int((NR + 1) / 2)] : 0 }')
awk -v L="$last" -v S="$SMALL" -v pairs="$pairs" '
    function check(ok) { return ok ? "met" : "**missed**" }
    $1 == L { t[$2 " " $3] = $4; r[$2 " " $3] = $6 }
    $1 == S && $2 == "skerrow" { small[$3] = $6 }
    END {
        wc = t["wc count"]
        o = t["skerrow open"] / wc
        printf "- Open plus drawing: %.3f s = %.1f × wc -l (target: within 3 ×): %s.\n", t["skerrow open"], o, check(o <= 3)
        n = split("selectall m2ft rect", jobs, " ")
        for (i = 1; i <= n; i++) {
            j = jobs[i]; s = t["skerrow " j]
            awk = t["mawk " j] < t["gawk " j] ? t["mawk " j] : t["gawk " j]
            name = t["mawk " j] < t["gawk " j] ? "mawk" : "gawk"
            printf "- %s: the faster awk (%s) ÷ Skerrow %.1f × (target ≥ 25): %s; DuckDB ÷ Skerrow %.1f × (target ≥ 10): %s.\n",
                   j, name, awk / s, check(awk / s >= 25), t["duckdb " j] / s, check(t["duckdb " j] / s >= 10)
        }
        # The copy against its floor: the ratio of the medians, and the median of the
        # ratios of the interleaved pairs (each run of the copy with the cat of its own round).
        c = t["skerrow selectall"] / t["cat copy"]
        printf "- Copy of all points ÷ cat in > out (both flushed; target ≤ 1.3): %.2f × (%s); median of the interleaved pairs %.2f × (%s).\n",
               c, check(c <= 1.3), pairs, check(pairs <= 1.3)
        if ("skerrow-before selectall" in t) {
            printf "- Before ÷ after, every worker:"
            n = split("open selectall m2ft rect move", jobs, " ")
            for (i = 1; i <= n; i++)
                printf " %s %.3f s ÷ %.3f s%s", jobs[i], t["skerrow-before " jobs[i]], t["skerrow " jobs[i]], i < n ? ";" : ".\n"
            n = split("selectall m2ft rect", jobs, " ")
            for (i = 1; i <= n; i++) {
                j = jobs[i]; awk = t["mawk " j] < t["gawk " j] ? t["mawk " j] : t["gawk " j]
                printf "- %s, the faster awk ÷ Skerrow before %.1f ×, after %.1f ×; DuckDB ÷ Skerrow before %.1f ×, after %.1f ×.\n",
                       j, awk / t["skerrow-before " j], awk / t["skerrow " j], t["duckdb " j] / t["skerrow-before " j], t["duckdb " j] / t["skerrow " j]
            }
        }
        p = t["skerrow polygon"] / t["skerrow rect"]
        printf "- polygon ÷ rect (target ≤ 1.5): %.2f × (%s); outside ÷ rectwide (target ≤ 1): %.2f × (%s); zoom ÷ redraw (target ≤ 1): %.2f × (%s).\n",
               p, check(p <= 1.5), t["skerrow outside"] / t["skerrow rectwide"], check(t["skerrow outside"] <= t["skerrow rectwide"]),
               t["skerrow zoom"] / t["skerrow redraw"], check(t["skerrow zoom"] <= t["skerrow redraw"])
        n = split("open redraw selectall m2ft rect move", jobs, " ")
        printf "- One worker ÷ every worker (target ≥ 1.6 on two cores):"
        for (i = 1; i <= n; i++) {
            g = t["skerrow-1t " jobs[i]] / t["skerrow " jobs[i]]
            printf " %s %.2f × (%s)%s", jobs[i], g, check(g >= 1.6), i < n ? ";" : ".\n"
        }
        n = split("open selectall m2ft rect move", jobs, " ")
        printf "- Peak memory, %d lines minus %d lines (target: within 10 MiB):", L, S
        for (i = 1; i <= n; i++) {
            d = (r["skerrow " jobs[i]] - small[jobs[i]]) / 1024
            printf " %s %+.1f MiB (%s)%s", jobs[i], d, check(d <= 10), i < n ? ";" : ".\n"
        }
    }' <<< "$MED"
echo
echo "## Agreement"
echo
echo "Copies are compared byte for byte after dropping carriage returns on both sides"
echo "(Skerrow, awk and Miller write CRLF, DuckDB LF). Converted values are compared as numbers."
echo
echo '```'
cat "$CHECKS"
echo '```'
# What bounds the figures, from profiles: kept by hand beside the scripts.
FINDINGS="$(dirname "$0")/findings.md"
if [ -f "$FINDINGS" ]; then
    echo
    cat "$FINDINGS"
fi
