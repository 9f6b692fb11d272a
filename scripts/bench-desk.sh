#!/usr/bin/env bash
# Runs the benchmarks of what the operator feels (bench/DeskBench.cpp in memory, bench/StartUpBench.cpp under Xvfb)
# and prints one table: each measure of the program beside what a Qt programmer writes for it, as the minimum and the
# median of the repetitions (of the starts, for the start-up), their ratios (program / plain) and the aim where there
# is one. The start-up is also shown beside a bare QMainWindow, which draws no text, picture or control, and as the
# program's start over the plain window's in the same round: the median of those paired ratios, which the aim is
# judged on, their middle half and their range; and the time from each window's first frame to its final one.
# Usage: bench-desk.sh <build folder>; VELTRANO_BENCH_REPETITIONS (default 5) sets the repetitions,
# VELTRANO_BENCH_STARTS (default 21) the rounds of starts, and VELTRANO_BENCH_SMALL=1 runs each once at a small
# size, only to show that they work.
set -euo pipefail
build="$(cd "$1" && pwd)"
repetitions="${VELTRANO_BENCH_REPETITIONS:-5}"
sizes=(--clicks=2000 --runs=20)
starts=(--starts="${VELTRANO_BENCH_STARTS:-21}")
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
"$build/bench/bench_startup" "${starts[@]}" --benchmark_out="$out/startup.json" --benchmark_out_format=json >&2

# Every repetition of a benchmark gives a time (in ms) and, for the clicks, the median and the 99th percentile of
# its clicks (in ms), for a start the peak resident memory (in MiB) and the time from its first frame to its final
# one (in ms); the table shows the minimum and the median of each over the repetitions. A start's repetition is its
# round, which pairs the program's start with the plain window's.
awk '
    function ms(v, unit) { return unit == "us" ? v / 1000 : (unit == "ns" ? v / 1e6 : (unit == "s" ? v * 1000 : v)) }
    function add(key, v) { n[key]++; values[key, n[key]] = v }
    function sorted(key,    i, j, t) {
        for (i = 1; i <= n[key]; i++) s[i] = values[key, i]
        for (i = 2; i <= n[key]; i++) for (j = i; j > 1 && s[j - 1] > s[j]; j--) { t = s[j]; s[j] = s[j - 1]; s[j - 1] = t }
    }
    function least(key) { sorted(key); return s[1] }
    function most(key) { sorted(key); return s[n[key]] }
    function middle(key) { sorted(key); return n[key] % 2 ? s[(n[key] + 1) / 2] : (s[n[key] / 2] + s[n[key] / 2 + 1]) / 2 }
    # The value a quarter (or three quarters) of the way up, between neighbours as the position falls.
    function quartile(key, q,    at, low) {
        sorted(key); at = 1 + (n[key] - 1) * q; low = int(at)
        return low >= n[key] ? s[n[key]] : s[low] + (at - low) * (s[low + 1] - s[low])
    }
    function flush() {
        if (name == "" || type != "iteration") return
        sub(/\/iterations:[0-9]+/, "", name); sub(/\/repeats:[0-9]+/, "", name); sub(/\/manual_time$/, "", name)
        add(name, ms(time, unit))
        side = name; sub(/.*\//, "", side)
        if (p50 != "") {
            add("click_p50/" side, p50 / 1000)
            add("click_p99/" side, p99 / 1000)
        }
        if (rss != "")
            add("startup_rss/" side, rss)
        if (firstToFinal != "")
            add("startup_first_to_final/" side, firstToFinal)
        if (name ~ /^startup\// && round != "")
            start[side, round] = ms(time, unit)
    }
    /^    \{/ { name = ""; type = ""; time = ""; unit = ""; p50 = ""; p99 = ""; rss = ""; firstToFinal = ""; round = "" }
    /"run_name":/ { line = $0; sub(/.*"run_name": "/, "", line); sub(/".*/, "", line); name = line }
    /"run_type":/ { line = $0; sub(/.*"run_type": "/, "", line); sub(/".*/, "", line); type = line }
    /"real_time":/ { line = $0; sub(/.*"real_time": /, "", line); sub(/,.*/, "", line); time = line + 0 }
    /"time_unit":/ { line = $0; sub(/.*"time_unit": "/, "", line); sub(/".*/, "", line); unit = line }
    /"p50_us":/ { line = $0; sub(/.*"p50_us": /, "", line); sub(/,.*/, "", line); p50 = line + 0 }
    /"p99_us":/ { line = $0; sub(/.*"p99_us": /, "", line); sub(/,.*/, "", line); p99 = line + 0 }
    /"peak_rss_mib":/ { line = $0; sub(/.*"peak_rss_mib": /, "", line); sub(/,.*/, "", line); rss = line + 0 }
    /"first_to_final_ms":/ { line = $0; sub(/.*"first_to_final_ms": /, "", line); sub(/,.*/, "", line); firstToFinal = line + 0 }
    /"repetition_index":/ { line = $0; sub(/.*"repetition_index": /, "", line); sub(/,.*/, "", line); round = line + 0 }
    /"error_occurred": true/ { type = "" }
    /^    \}/ { flush() }
    function row(label, key, aim, peer,    a, b, verdict) {
        if (peer == "") peer = "plain"
        if (!((key "/program") in n) || !((key "/" peer) in n)) return
        a = key "/program"; b = key "/" peer
        verdict = ""
        if (aim == "ratio") verdict = middle(a) <= 1.1 * middle(b) ? "at most 1.10 x: met" : "at most 1.10 x: not met"
        if (aim == "within") verdict = middle(a) - middle(b) <= 0.03 ? "within 0.03 ms: met" : "within 0.03 ms: not met"
        printf "%-30s %10.3f %10.3f %10.3f %10.3f %8.2f %8.2f %9.3f  %s\n", label, least(a), middle(a), least(b),
            middle(b), (least(b) > 0 ? least(a) / least(b) : 0), (middle(b) > 0 ? middle(a) / middle(b) : 0),
            middle(a) - middle(b), verdict
    }
    # The program over the plain window round by round, where both started.
    function paired(    r, verdict) {
        for (r = 0; r < 10000; r++)
            if (("program", r) in start && ("plain", r) in start && start["plain", r] > 0)
                add("startup_paired", start["program", r] / start["plain", r])
        if (!("startup_paired" in n)) return
        verdict = middle("startup_paired") <= 1.1 ? "at most 1.10 x: met" : "at most 1.10 x: not met"
        printf "%-30s median %.2f, middle half %.2f to %.2f, all %.2f to %.2f (%d rounds)  %s\n",
            "  paired, round by round", middle("startup_paired"), quartile("startup_paired", 0.25),
            quartile("startup_paired", 0.75), least("startup_paired"), most("startup_paired"), n["startup_paired"], verdict
    }
    END {
        printf "%-30s %21s %21s %17s %9s\n", "", "program", "plain", "ratio", "program"
        printf "%-30s %10s %10s %10s %10s %8s %8s %9s  %s\n", "work (ms; memory: MiB)", "min", "median", "min",
            "median", "min", "median", "- plain", "aim (on the medians)"
        row("startup, final frame", "startup", "")
        paired()
        row("startup, first to final frame", "startup_first_to_final", "")
        row("startup peak resident", "startup_rss", "ratio")
        row("  beside a bare QMainWindow", "startup", "", "bare")
        row("  its peak resident", "startup_rss", "", "bare")
        row("click_to_bytes (mean)", "click_to_bytes", "")
        row("click_to_bytes median", "click_p50", "within")
        row("click_to_bytes p99", "click_p99", "within")
        row("wall_redraw", "wall_redraw", "")
        row("wall_drag_select", "wall_drag_select", "")
        row("matrix_run (256 switches)", "matrix_run", "")
    }
' "$out/startup.json" "$out/desk.json"
