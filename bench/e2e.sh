#!/usr/bin/env bash
# End to end, as a user meets it: one-second CSVs of six channels (a week at 1x, 4 and 16 weeks
# at 4x and 16x, so 4 and 16 times the points per channel) are imported with
# `kestramon --import-csv`, and every graph of each recording is rendered with
# `kestramon --render`, timed with its peak memory (/usr/bin/time -v) against the raw values the
# recording holds. At each size the chart benchmarks (cursor step, drag zoom, open to first
# image, each paired with the bare-QCustomPlot floor in the same iterations) run on as many
# points per channel. The table goes to standard output and replaces this script's own section
# of bench/RESULTS.md.
#
# Usage: bench/e2e.sh [--16x] [--reps N] [--build DIR] [--work DIR] [--no-results] [--keep]
#   --16x         also the 16x size (about 10 M points per channel; several minutes, 3 GB of disk)
#   --sizes "F.." only these factors of a week, e.g. --sizes 16
#   --reps N      --render runs per size, the median is reported (default 5)
#   --build DIR   the build directory holding bin/kestramon, bin/chartlib_bench and
#                 bin/e2e_make_csv (default: build beside this script's folder)
#   --work DIR    where the CSVs, recordings and images go (default: $TMPDIR or /tmp)
#   --no-results  print the table only; leave bench/RESULTS.md alone
#   --keep        keep the generated files (they are reused by the next run)
# Nothing here asks anything: it runs unattended and fails with a message on standard error.

set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
build="$repo/build"
work="${TMPDIR:-/tmp}"
sizes=(1 4)
reps=5
write_results=1
keep=0

die() {
    echo "e2e.sh: $*" >&2
    exit 1
}

while (($#)); do
    case "$1" in
    --16x) sizes=(1 4 16) ;;
    --sizes)
        [[ $# -ge 2 && "$2" =~ ^[1-9][0-9]*( [1-9][0-9]*)*$ ]] || die "--sizes takes factors such as \"1 4 16\""
        read -r -a sizes <<<"$2"
        shift
        ;;
    --reps)
        [[ $# -ge 2 && "$2" =~ ^[1-9][0-9]*$ ]] || die "--reps takes a positive count"
        reps=$2
        shift
        ;;
    --build)
        [[ $# -ge 2 ]] || die "--build takes a directory"
        build=$2
        shift
        ;;
    --work)
        [[ $# -ge 2 ]] || die "--work takes a directory"
        work=$2
        shift
        ;;
    --no-results) write_results=0 ;;
    --keep) keep=1 ;;
    -h | --help)
        sed -n '2,/^# Nothing/p' "$0" | sed 's/^# \{0,1\}//'
        exit 0
        ;;
    *) die "unknown argument $1 (see --help)" ;;
    esac
    shift
done

kestramon="$build/bin/kestramon"
chartbench="$build/bin/chartlib_bench"
makecsv="$build/bin/e2e_make_csv"
for program in "$kestramon" "$chartbench" "$makecsv"; do
    [[ -x "$program" ]] || die "$program is missing: cmake --build $build --target kestramon chartlib_bench e2e_make_csv"
done
[[ -x /usr/bin/time ]] || die "/usr/bin/time (GNU time) is needed for the peak memory"

week=604800
columns=6
# Bytes per line: the CSV (about 68), the recording (six 8-byte values and a 14-byte time),
# the images are small. Twice the recording's size is left for the import's temporary file.
need=0
for f in "${sizes[@]}"; do
    need=$((need + f * week * (68 + 2 * 62)))
done
mkdir -p "$work/plotcore-e2e"
work="$work/plotcore-e2e"
echo "Disk space where the files go ($work):" >&2
df -h "$work" >&2
avail=$(df --output=avail -B1 "$work" | tail -1 | tr -d ' ')
((avail > need)) || die "$work has $((avail >> 20)) MiB free; this run needs about $((need >> 20)) MiB"

load1() { cut -d' ' -f1 /proc/loadavg; }
echo "Load average at start: $(cut -d' ' -f1-3 /proc/loadavg)" >&2

results="$work/results.tsv"
: >"$results"

# Runs a command under /usr/bin/time; prints "seconds peak_kib" and leaves its output in $work/last.out.
timed() {
    local report="$work/time.txt"
    if ! /usr/bin/time -v -o "$report" "$@" >"$work/last.out" 2>&1; then
        cat "$work/last.out" >&2
        die "failed: $*"
    fi
    awk -F': ' '
        /Elapsed \(wall clock\)/ {
            n = split($2, p, ":"); s = 0
            for (i = 1; i <= n; ++i) s = s * 60 + p[i]
        }
        /Maximum resident set size/ { kib = $2 }
        END { printf "%.3f %d\n", s, kib }' "$report"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Renders a recording $reps times; prints "median_seconds median_peak_kib graphs".
render_runs() {
    local rec=$1 times=() peaks=() t p
    for ((r = 0; r < reps; ++r)); do
        rm -rf "$work/images"
        read -r t p < <(timed env QT_QPA_PLATFORM=offscreen "$kestramon" --render "$work/images" "$rec")
        times+=("$t")
        peaks+=("$p")
    done
    local graphs
    graphs=$(grep -o '^[0-9]* graph' "$work/last.out" | cut -d' ' -f1 || true)
    echo "$(printf '%s\n' "${times[@]}" | median) $(printf '%s\n' "${peaks[@]}" | median) ${graphs:-?}"
}

# The fixed cost of a render (Qt, fonts, the engine, the windows): an hour of the same data.
"$makecsv" 3600 "$work/base.csv"
rm -f "$work/base.rec"
timed "$kestramon" --import-csv "$work/base.csv" "$work/base.rec" >/dev/null
read -r _ base_kib _ < <(render_runs "$work/base.rec")
echo "--render of an hour (fixed cost): peak $((base_kib / 1024)) MiB" >&2
printf 'base\t%s\n' "$base_kib" >>"$results"

for f in "${sizes[@]}"; do
    n=$((f * week))
    csv="$work/e2e-$n.csv"
    rec="$work/e2e-$n.rec"
    [[ -f "$csv" ]] || "$makecsv" "$n" "$csv"
    rm -f "$rec"
    read -r import_s import_kib < <(timed "$kestramon" --import-csv "$csv" "$rec")
    echo "${f}x: imported $(stat -c %s "$csv") bytes in ${import_s} s, peak $((import_kib / 1024)) MiB (load $(load1))" >&2
    load_render=$(load1)
    read -r render_s render_kib graphs < <(render_runs "$rec")
    echo "${f}x: --render of $graphs graph(s): median ${render_s} s, peak $((render_kib / 1024)) MiB (load $(load1))" >&2
    printf 'render\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$f" "$n" "$(stat -c %s "$csv")" "$import_s" "$import_kib" \
        "$render_s" "$render_kib" "$graphs" >>"$results"
    printf 'load\t%s\t%s\n' "$f" "$load_render" >>"$results"
    json="$work/chart-$n.json"
    PLOTCORE_BENCH_POINTS=$n QT_QPA_PLATFORM=offscreen "$chartbench" \
        --benchmark_filter='^BM_Library_(CursorKeyAndPaint|DragZoomAndPaint|OpenToFirstImage)/' \
        --benchmark_out="$json" --benchmark_out_format=json >/dev/null 2>"$work/chart.err" ||
        {
            cat "$work/chart.err" >&2
            die "chartlib_bench failed at ${f}x"
        }
    printf 'chart\t%s\t%s\n' "$f" "$json" >>"$results"
    echo "${f}x: chart benchmarks done (load $(load1))" >&2
    ((keep)) || rm -f "$csv" "$rec"
done
((keep)) || rm -rf "$work/images" "$work/base.csv" "$work/base.rec"
echo "Load average at end: $(cut -d' ' -f1-3 /proc/loadavg)" >&2

python3 - "$results" "$repo/bench/RESULTS.md" "$write_results" "$reps" "$(cut -d' ' -f1-3 /proc/loadavg)" <<'EOF'
import json, sys

results, markdown, write, reps, load_end = sys.argv[1], sys.argv[2], sys.argv[3] == "1", sys.argv[4], sys.argv[5]
WEEK, COLUMNS = 604800, 6
base_kib, renders, loads, charts = 0, [], {}, {}
for line in open(results):
    f = line.rstrip("\n").split("\t")
    if f[0] == "base":
        base_kib = int(f[1])
    elif f[0] == "render":
        renders.append(f[1:])
    elif f[0] == "load":
        loads[f[1]] = f[2]
    elif f[0] == "chart":
        medians = {}
        for b in json.load(open(f[2]))["benchmarks"]:
            if b.get("aggregate_name") == "median":
                medians[b["run_name"].split("/")[0]] = b
        charts[f[1]] = medians

def mb(b):
    return f"{b / 1e6:,.1f} MB"

rows = []
rows.append("| Size | Points per channel | Raw values | CSV import: s, MB/s, peak | --render: median s (graphs) | --render peak | Peak / raw | (Peak - fixed) / raw | Load |")
rows.append("|---|---|---|---|---|---|---|---|---|")
for f, n, csv_bytes, import_s, import_kib, render_s, render_kib, graphs in renders:
    n = int(n)
    raw = n * (COLUMNS * 8 + 14)
    peak = int(render_kib) * 1024
    speed = int(csv_bytes) / 1e6 / max(float(import_s), 1e-9)
    rows.append(
        f"| {f}x | {n:,} | {mb(raw)} | {float(import_s):.1f} s, {speed:.0f} MB/s, {mb(int(import_kib) * 1024)} "
        f"| {float(render_s):.2f} ({graphs}) | {mb(peak)} | {peak / raw:.2f} | {(peak - base_kib * 1024) / raw:.2f} "
        f"| {loads.get(f, '?')} |")

names = [("BM_Library_CursorKeyAndPaint", "Cursor step (arrow key, read-out, paint)", "bare full redraw"),
         ("BM_Library_DragZoomAndPaint", "Drag zoom (press, drag, release, paint)", "bare zoom and redraw"),
         ("BM_Library_OpenToFirstImage", "Open to first image", "bare open to first image")]
chart_rows = ["| Action | Size | Median ms | Floor | Floor ms | Ratio (median of per-repetition ratios) | Load |",
              "|---|---|---|---|---|---|---|"]
for name, label, floor in names:
    for f in sorted(charts, key=int):
        b = charts[f].get(name)
        if b is None:
            continue
        chart_rows.append(f"| {label} | {f}x | {b['ms']:.1f} | {floor} | {b['floor_ms']:.1f} | {b['ratio']:.2f} | {b['load1']:.1f} |")

section = "\n".join([
    "<!-- bench/e2e.sh: begin (this section is rewritten by every run of the script) -->",
    "## End to end (bench/e2e.sh)",
    "",
    "Six channels of one-second data (1x = a week, 604,800 points per channel; 4x and 16x = 4 and 16 weeks) "
    "written as CSV, imported with `kestramon --import-csv` and rendered with `kestramon --render` "
    f"(every graph of the recording, medians of {reps} runs, peak resident memory from /usr/bin/time). "
    "Raw values: six 8-byte values and one 14-byte time per point, what the recording holds. "
    f"Fixed cost: the peak of rendering an hour of the same data, {mb(base_kib * 1024)}. "
    f"Load average (1, 5, 15 minutes) at the end: {load_end}.",
    "",
    *rows,
    "",
    "Chart benchmarks (bench/chartlib, the same number of points per channel, six subsets on two stacked "
    "axis rectangles, 1200 x 700): each iteration runs the floor (a bare QCustomPlot program with the same "
    "axis rectangles and pens) and then the work; medians of 5 repetitions.",
    "",
    *chart_rows,
    "<!-- bench/e2e.sh: end -->",
])
print(section)
if write:
    try:
        text = open(markdown).read()
    except FileNotFoundError:
        text = ""
    begin, end = text.find("<!-- bench/e2e.sh: begin"), text.find("<!-- bench/e2e.sh: end -->")
    if begin >= 0 and end > begin:
        text = text[:begin] + section + text[end + len("<!-- bench/e2e.sh: end -->"):]
    else:
        text = section + "\n\n" + text
    # Replaced whole: a crash leaves the old file or the new one, never half of either.
    temporary = markdown + ".part"
    with open(temporary, "w") as out:
        out.write(text)
    import os
    os.replace(temporary, markdown)
EOF
