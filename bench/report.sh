#!/usr/bin/env bash
# Turns bench/run.sh's measurements into the Markdown of docs/benchmarks.md:
#   report.sh TIMES.tsv CHECKS.txt SMALL RUNS LINES...
set -euo pipefail
TSV=$1 CHECKS=$2 SMALL=$3 RUNS=$4
shift 4
LC_ALL=C

# Median of each (lines, tool, job): "lines tool job seconds peakKiB".
medians() {
    sort -t$'\t' -k1,1n -k2,2 -k3,3 -k5,5g "$TSV" | awk -F'\t' '
        function flush() { if (n) { m = int((n + 1) / 2); print key, s[m], r[m] } }
        { k = $1 " " $2 " " $3
          if (k != key) { flush(); key = k; n = 0 }
          s[++n] = $5; r[n] = $6 }
        END { flush() }'
}
MED=$(medians)

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
mem=$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
disk=$(df -h --output=source,fstype,size "$(dirname "$TSV")" | tail -1 | awk '{ print $1 " (" $2 ", " $3 ")" }')
rotational=$(lsblk -dno ROTA "$(df --output=source "$(dirname "$TSV")" | tail -1)" 2>/dev/null | tr -d ' ' || echo "?")
os=$(. /etc/os-release && echo "$PRETTY_NAME")
kernel=$(uname -r)

cat <<HEAD
# Benchmarks

Skerrow against the floor (\`wc -l\`, \`cat > /dev/null\`) and the tools a user would pick
for the same jobs (GNU awk, Miller, DuckDB through its Node.js package), on the same warm
3-field point files made by \`bench/makePoints.cpp\` (six-digit eastings, seven-digit
northings with two or three decimals, elevations with three). Made by \`bench/run.sh\`
(after \`bench/setup.sh\`); the median of $RUNS runs of each figure. Every run starts after
\`sync\`, so that none pays for writing back the outputs of the jobs before it.

Machine: $cpu, $(nproc) cores, $mem memory, disk $disk (rotational: $rotational),
$os, Linux $kernel. Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg).

Skerrow's times are the command's own, from the menu click to its last message box,
measured inside a headless process (\`bench/skerrowBench.cpp\`) that answers the dialogs
as a user would; each operation runs in a process of its own. A write operation's peak
memory includes the Open before it. The other tools' times are whole processes (for
DuckDB that includes starting Node.js, about 0.1 s). DuckDB uses every core; Skerrow,
awk and Miller use one.

Jobs: **open** Open (counting pass, read-back of the last line, parsing pass, fit) and
drawing; **redraw** the drawing alone; **selectall** "Select All Pts." as comma separated
copies; **m2ft** "Select All Pts." metres to feet; **rect** a rectangle over the middle
half of the frame both ways (about a quarter of the points) as copies; **move** "Move All
Pts.". Peers: awk \`print \$1, \$2, \$3\` / whole-number bounds with \`int()\` / \`printf
"%.2f,%.2f,%.3f"\` of the products; Miller \`cat\` / \`filter\` with \`int()\` / \`put\` with
\`fmtnum\`; DuckDB \`COPY (SELECT ... FROM read_csv(..., all_varchar=true) WHERE
trunc(CAST(x AS DOUBLE)) BETWEEN ...) TO ...\`.
HEAD

for lines in "$@"; do
    size=$(du -h "$(dirname "$TSV")/../data/points-$lines.csv" 2>/dev/null | cut -f1 || echo "?")
    echo
    echo "## $lines lines ($size)"
    echo
    echo "| job | tool | median s | × wc -l | × fastest peer | peak MiB |"
    echo "| --- | --- | ---: | ---: | ---: | ---: |"
    awk -v L="$lines" '
        $1 == L { t[$2 " " $3] = $4; r[$2 " " $3] = $5; if ($2 == "wc") wc = $4
                  if ($2 != "skerrow" && $2 != "wc" && $2 != "cat") {
                      if (!($3 in best) || $4 < best[$3]) best[$3] = $4 } }
        END {
            n = split("count:wc read:cat open:skerrow redraw:skerrow selectall:skerrow selectall:duckdb selectall:awk selectall:mlr m2ft:skerrow m2ft:duckdb m2ft:awk m2ft:mlr rect:skerrow rect:duckdb rect:awk rect:mlr move:skerrow", rows, " ")
            for (i = 1; i <= n; i++) {
                split(rows[i], p, ":"); k = p[2] " " p[1]
                if (!(k in t)) continue
                peer = (p[1] in best) ? sprintf("%.2f", t[k] / best[p[1]]) : "–"
                printf "| %s | %s | %.3f | %.1f | %s | %.1f |\n", p[1], p[2], t[k], t[k] / wc, peer, r[k] / 1024
            } }' <<< "$MED"
done

last=${*: -1}
echo
echo "## Targets, $last lines"
echo
awk -v L="$last" -v S="$SMALL" '
    $1 == L { t[$2 " " $3] = $4; r[$2 " " $3] = $5 }
    $1 == S && $2 == "skerrow" { small[$3] = $5 }
    END {
        wc = t["wc count"]
        printf "- Open plus drawing: %.2f s = %.1f × wc -l (target: within 8 ×).\n", t["skerrow open"], t["skerrow open"] / wc
        n = split("selectall m2ft rect", jobs, " ")
        for (i = 1; i <= n; i++) {
            j = jobs[i]; s = t["skerrow " j]
            printf "- %s: DuckDB / Skerrow %.1f × (target ≥ 3), awk / Skerrow %.1f ×, Miller / Skerrow %.1f × (target ≥ 20).\n",
                   j, t["duckdb " j] / s, t["awk " j] / s, t["mlr " j] / s
        }
        n = split("open selectall m2ft rect move", jobs, " ")
        printf "- Peak memory, %d lines minus %d lines (target: within 10 MiB):", L, S
        for (i = 1; i <= n; i++) printf " %s %+.1f MiB%s", jobs[i], (r["skerrow " jobs[i]] - small[jobs[i]]) / 1024, i < n ? ";" : ".\n"
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
