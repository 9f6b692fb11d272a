#!/usr/bin/env bash
# Builds the program and runs the grid benchmark beside QTableWidget, then prints a table of the two and their
# ratio (grid / QTableWidget: below 1 the grid is faster or smaller). Arguments go to the benchmark, for instance
# --rows=2000 or --benchmark_repetitions=3.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" build >/dev/null

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 0700 "$XDG_RUNTIME_DIR"

out="$(mktemp)"
trap 'rm -f "$out"' EXIT
"$root/build/bench/bench_grid" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$out" --benchmark_out_format=json "$@" >&2

# One figure per benchmark: the median of the repetitions, or the single run; memory in bytes per cell.
awk '
    function flush() {
        if (name == "") return
        if (type == "aggregate" && aggregate != "median") { name = ""; return }
        sub(/\/iterations:[0-9]+$/, "", name)
        value[name] = (bytes != "") ? bytes : time
        unit[name] = (bytes != "") ? "B/cell" : tunit
        name = ""
    }
    /^    \{/ { name = ""; type = ""; aggregate = ""; bytes = ""; time = ""; tunit = "" }
    /"run_name":/ { line = $0; sub(/.*"run_name": "/, "", line); sub(/".*/, "", line); name = line }
    /"run_type":/ { line = $0; sub(/.*"run_type": "/, "", line); sub(/".*/, "", line); type = line }
    /"aggregate_name":/ { line = $0; sub(/.*"aggregate_name": "/, "", line); sub(/".*/, "", line); aggregate = line }
    /"real_time":/ { line = $0; sub(/.*"real_time": /, "", line); sub(/,.*/, "", line); time = line + 0 }
    /"time_unit":/ { line = $0; sub(/.*"time_unit": "/, "", line); sub(/".*/, "", line); tunit = line }
    /"bytes_per_cell":/ { line = $0; sub(/.*"bytes_per_cell": /, "", line); sub(/,.*/, "", line); bytes = line + 0 }
    /^    \}/ { flush() }
    END {
        split("build redraw page_down_and_back select_and_redraw memory", works, " ")
        printf "%-22s %18s %18s %7s\n", "work", "grid", "QTableWidget", "ratio"
        for (i = 1; i <= 5; i++) {
            w = works[i]
            g = w "/grid"; q = w "/qtablewidget"
            if (!(g in value) || !(q in value)) continue
            ratio = value[q] > 0 ? sprintf("%.2f", value[g] / value[q]) : "-"
            printf "%-22s %11.3f %-6s %11.3f %-6s %7s\n", w, value[g], unit[g], value[q], unit[q], ratio
        }
    }
' "$out"

# What the operator feels, each beside a plain Qt program or a plain write: a table of its own.
echo
"$root/scripts/bench-desk.sh" "$root/build"
