#!/usr/bin/env bash
# Builds the program and runs the grid benchmark beside its three Qt peers (QTableWidget, QTableView over a plain
# model, QTableView over the compact model an expert writes for a hundred thousand rows), each peer in a process
# of its own, at each size and length of text, several times; then prints one table per size and text: each peer's
# minimum and median over the runs, and the grid's ratio to each peer from the minimums and from the medians (below
# 1 the grid is faster or smaller). Then the matrices' table at 64 and at 256 matrices (bench/MatrixBench.cpp), and
# the table of what the operator feels (scripts/bench-desk.sh).
#
# Settings, from the environment:
#   BENCH_ROWS     rows of cells, one table per value   (default "10000 100000")
#   BENCH_COLUMNS  columns of cells                      (default 50)
#   BENCH_TEXTS    short and/or long texts               (default "short long")
#   BENCH_RUNS     runs of every peer                    (default 3)
#   BENCH_CPUS     CPUs to pin each run to, as taskset takes them (default: none, the scheduler decides)
# Arguments go to every run of the benchmark (Google Benchmark's own, such as --benchmark_filter=redraw).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=Release >/dev/null

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 0700 "$XDG_RUNTIME_DIR"

rows_list="${BENCH_ROWS:-10000 100000}"
columns="${BENCH_COLUMNS:-50}"
texts="${BENCH_TEXTS:-short long}"
runs="${BENCH_RUNS:-3}"
pin=()
if [ -n "${BENCH_CPUS:-}" ]; then
    pin=(taskset -c "$BENCH_CPUS")
fi
peers="grid qtablewidget qtableview compact"

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
for rows in $rows_list; do
    for text in $texts; do
        for run in $(seq 1 "$runs"); do
            for peer in $peers; do
                echo "$rows x $columns, $text texts, run $run of $runs: $peer" >&2
                "${pin[@]}" "$root/build/bench/bench_grid" --peer="$peer" --rows="$rows" --columns="$columns" \
                    --text="$text" --benchmark_format=csv "$@" 2>/dev/null |
                    sed -n '/^name,/,$p' >"$out/$rows-$text-$run-$peer.csv"
            done
        done
    done
done

for rows in $rows_list; do
    for text in $texts; do
        echo
        echo "$rows x $columns cells, $text texts: milliseconds (memory: bytes per cell), minimum / median of $runs runs"
        cat "$out/$rows-$text-"*.csv | awk -F, -v runs="$runs" '
            /^name,/ {
                for (i = 1; i <= NF; i++) column[$i] = i
                next
            }
            {
                name = $1; gsub(/"/, "", name); sub(/\/iterations:[0-9]+$/, "", name)
                split(name, part, "/")
                work = part[1]; peer = part[2]
                if (work == "memory") {
                    add("memory_heap", peer, $column["\"heap_bytes_per_cell\""])
                    add("memory_resident", peer, $column["\"resident_bytes_per_cell\""])
                } else {
                    add(work, peer, $column["real_time"])
                }
            }
            function add(work, peer, value) {
                if (!(work in seen)) { seen[work] = 1; order[++works] = work }
                key = work SUBSEP peer
                values[key, ++count[key]] = value + 0
            }
            # The minimum or the median of the values of a work for a peer; -1 when there are none.
            function figure(work, peer, which,    key, n, i, j, v, t, sorted) {
                key = work SUBSEP peer
                n = count[key]
                if (n == 0) return -1
                for (i = 1; i <= n; i++) sorted[i] = values[key, i]
                for (i = 2; i <= n; i++) {
                    v = sorted[i]
                    for (j = i - 1; j >= 1 && sorted[j] > v; j--) sorted[j + 1] = sorted[j]
                    sorted[j + 1] = v
                }
                if (which == "min") return sorted[1]
                return n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
            }
            function pair(work, peer) {
                if (figure(work, peer, "min") < 0) return sprintf("%21s", "-")
                return sprintf("%10.3f /%10.3f", figure(work, peer, "min"), figure(work, peer, "median"))
            }
            function ratio(work, peer,    gmin, gmed, pmin, pmed) {
                gmin = figure(work, "grid", "min"); gmed = figure(work, "grid", "median")
                pmin = figure(work, peer, "min"); pmed = figure(work, peer, "median")
                if (gmin < 0 || pmin <= 0 || pmed <= 0) return sprintf("%13s", "-")
                return sprintf("%6.2f /%6.2f", gmin / pmin, gmed / pmed)
            }
            END {
                printf "%-25s %21s %21s %21s %21s %13s %13s %13s\n", "work", "grid", "QTableWidget", "QTableView", \
                    "compact QTableView", "grid/QTW", "grid/QTV", "grid/compact"
                for (w = 1; w <= works; w++) {
                    work = order[w]
                    printf "%-25s %s %s %s %s %s %s %s\n", work, pair(work, "grid"), pair(work, "qtablewidget"), \
                        pair(work, "qtableview"), pair(work, "compact"), ratio(work, "qtablewidget"), \
                        ratio(work, "qtableview"), ratio(work, "compact")
                }
            }
        '
    done
done

# The matrices, as many as the largest installation has and as many as matrix.xml may hold: each work of the
# program beside a plain Qt program's, minimum and median over the runs, their ratio, and what the program holds.
for matrices in 64 256; do
    echo
    echo "$matrices matrices: milliseconds, minimum / median of $runs runs"
    "${pin[@]}" "$root/build/bench/bench_matrices" --matrices="$matrices" --benchmark_repetitions="$runs" \
        --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null | awk -F, '
        /_(min|median)",/ {
            name = $1; gsub(/"/, "", name)
            split(name, part, "/"); sub(/_.*/, "", part[2])
            which = name; sub(/.*_/, "", which)
            value[part[1], part[2], which] = $3 + 0
            if ($11 != "") resident[part[1]] = $11
            if (!(part[1] in seen)) { seen[part[1]] = 1; order[++works] = part[1] }
        }
        END {
            printf "%-18s %21s %21s %13s %12s\n", "work", "program", "plain", "ratio", "resident MB"
            for (w = 1; w <= works; w++) {
                k = order[w]
                printf "%-18s %10.3f /%10.3f %10.3f /%10.3f %6.2f /%6.2f %12.1f\n", k, value[k, "program", "min"],
                    value[k, "program", "median"], value[k, "plain", "min"], value[k, "plain", "median"],
                    value[k, "program", "min"] / value[k, "plain", "min"],
                    value[k, "program", "median"] / value[k, "plain", "median"], resident[k]
            }
        }'
done

# What the operator feels, each beside a plain Qt program or a plain write: a table of its own.
echo
"$root/scripts/bench-desk.sh" "$root/build"
