#!/usr/bin/env bash
# Runs the benchmarks of what the operator feels (bench/DeskBench.cpp in memory, bench/StartUpBench.cpp under Xvfb)
# and prints one table: each measure of the program beside the plain Qt program or the plain write, as the minimum
# and the median of the repetitions, their ratios (program / plain) and the aim where there is one.
# Usage: bench-desk.sh <build folder>; VELTRANO_BENCH_REPETITIONS (default 5) sets the repetitions, and
# VELTRANO_BENCH_SMALL=1 runs each once at a small size, only to show that they work.
set -euo pipefail
build="$(cd "$1" && pwd)"
repetitions="${VELTRANO_BENCH_REPETITIONS:-5}"
sizes=(--clicks=2000 --runs=20)
starts=(--starts=10)
if [ "${VELTRANO_BENCH_SMALL:-0}" = 1 ]; then
    repetitions=1
    sizes=(--clicks=20 --runs=2 --benchmark_min_time=0.001)
    starts=(--starts=1)
fi

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 0700 "$XDG_RUNTIME_DIR"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
QT_QPA_PLATFORM=offscreen "$build/bench/bench_desk" "${sizes[@]}" --benchmark_repetitions="$repetitions" \
    --benchmark_out="$out/desk.json" --benchmark_out_format=json >&2
"$build/bench/bench_startup" "${starts[@]}" --benchmark_repetitions="$repetitions" \
    --benchmark_out="$out/startup.json" --benchmark_out_format=json >&2

# Every repetition of a benchmark gives a time (in ms) and, for the clicks, the median and the 99th percentile of
# its clicks (in ms); the table shows the minimum and the median of each over the repetitions.
awk '
    function ms(v, unit) { return unit == "us" ? v / 1000 : (unit == "ns" ? v / 1e6 : (unit == "s" ? v * 1000 : v)) }
    function add(key, v) { n[key]++; values[key, n[key]] = v }
    function sorted(key,    i, j, t) {
        for (i = 1; i <= n[key]; i++) s[i] = values[key, i]
        for (i = 2; i <= n[key]; i++) for (j = i; j > 1 && s[j - 1] > s[j]; j--) { t = s[j]; s[j] = s[j - 1]; s[j - 1] = t }
    }
    function least(key) { sorted(key); return s[1] }
    function middle(key) { sorted(key); return n[key] % 2 ? s[(n[key] + 1) / 2] : (s[n[key] / 2] + s[n[key] / 2 + 1]) / 2 }
    function flush() {
        if (name == "" || type != "iteration") return
        sub(/\/iterations:[0-9]+/, "", name); sub(/\/manual_time$/, "", name)
        add(name, ms(time, unit))
        if (p50 != "") {
            side = name; sub(/.*\//, "", side)
            add("click_p50/" side, p50 / 1000)
            add("click_p99/" side, p99 / 1000)
        }
    }
    /^    \{/ { name = ""; type = ""; time = ""; unit = ""; p50 = ""; p99 = "" }
    /"run_name":/ { line = $0; sub(/.*"run_name": "/, "", line); sub(/".*/, "", line); name = line }
    /"run_type":/ { line = $0; sub(/.*"run_type": "/, "", line); sub(/".*/, "", line); type = line }
    /"real_time":/ { line = $0; sub(/.*"real_time": /, "", line); sub(/,.*/, "", line); time = line + 0 }
    /"time_unit":/ { line = $0; sub(/.*"time_unit": "/, "", line); sub(/".*/, "", line); unit = line }
    /"p50_us":/ { line = $0; sub(/.*"p50_us": /, "", line); sub(/,.*/, "", line); p50 = line + 0 }
    /"p99_us":/ { line = $0; sub(/.*"p99_us": /, "", line); sub(/,.*/, "", line); p99 = line + 0 }
    /^    \}/ { flush() }
    function row(label, key, aim,    a, b, verdict) {
        if (!((key "/program") in n) || !((key "/plain") in n)) return
        a = key "/program"; b = key "/plain"
        verdict = ""
        if (aim == "ratio") verdict = middle(a) <= 1.3 * middle(b) ? "at most 1.3 x: met" : "at most 1.3 x: not met"
        if (aim == "within") verdict = middle(a) - middle(b) <= 1 ? "within 1 ms: met" : "within 1 ms: not met"
        printf "%-26s %10.3f %10.3f %10.3f %10.3f %8.2f %8.2f %9.3f  %s\n", label, least(a), middle(a), least(b),
            middle(b), (least(b) > 0 ? least(a) / least(b) : 0), (middle(b) > 0 ? middle(a) / middle(b) : 0),
            middle(a) - middle(b), verdict
    }
    END {
        printf "%-26s %21s %21s %17s %9s\n", "", "program (ms)", "plain (ms)", "ratio", "program"
        printf "%-26s %10s %10s %10s %10s %8s %8s %9s  %s\n", "work", "min", "median", "min", "median", "min",
            "median", "- plain", "aim (on the medians)"
        row("startup", "startup", "ratio")
        row("click_to_bytes (mean)", "click_to_bytes", "")
        row("click_to_bytes median", "click_p50", "within")
        row("click_to_bytes p99", "click_p99", "within")
        row("wall_redraw", "wall_redraw", "")
        row("wall_drag_select", "wall_drag_select", "")
        row("matrix_run (256 switches)", "matrix_run", "")
    }
' "$out/startup.json" "$out/desk.json"
