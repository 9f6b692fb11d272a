#!/usr/bin/env bash
# The long run of the reliability tests, with AddressSanitizer and UndefinedBehaviorSanitizer: saves killed 1,000
# times, 100,000 generated hostile configuration files through the start-up path, then the built program itself
# started 2,000 times on generated configurations under X servers of its own (its window, its message about the
# files it could not use, File, Exit, no file changed), and the running program killed 1,000 times while it saves
# from its dialogs. Each kill is timed from a save, to land between its new file's appearing and its rename; the
# figures say how many did. Prints the figures and fails when any kill or case failed. CI runs the same tests at
# 100 kills and 2,000 cases, the program on 33 bad files, and 100 kills of the running program.
#
# Environment: VELTRANO_KILLS (1000), VELTRANO_HOSTILE_CASES (100000), VELTRANO_HOSTILE_SEED (1011),
# VELTRANO_KILL_SEED (11), VELTRANO_START_CASES (2000), VELTRANO_START_SEED (23), VELTRANO_E2E_KILLS (1000),
# STRESS_JOBS (4: test processes at a time). The files of a failed case are kept in build-stress/hostile-failures/,
# ready to become a regression folder in tests/fixtures/hostile/; a failed start names its case, which
# VELTRANO_START_FIRST runs again; a failed kill of the running program keeps its screen in build-stress/screens/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh"

build="$root/build-stress"
cmake -S "$root" -B "$build" -DVELTRANO_SANITIZE=ON -DVELTRANO_CORE_ONLY=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" --parallel "${STRESS_JOBS:-4}" --target test_kill test_hostile test_ui_hostile_start veltrano \
    test_e2e

export VELTRANO_KILLS="${VELTRANO_KILLS:-1000}"
export VELTRANO_HOSTILE_CASES="${VELTRANO_HOSTILE_CASES:-100000}"
export VELTRANO_HOSTILE_KEEP="$build/hostile-failures"
export VELTRANO_START_CASES="${VELTRANO_START_CASES:-2000}"
export VELTRANO_E2E_KILLS="${VELTRANO_E2E_KILLS:-1000}"
# The X11 platform's system libraries keep memory to the end of the program.
export LSAN_OPTIONS="suppressions=$root/scripts/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
jobs="${STRESS_JOBS:-4}"
logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT

cd "$build"
started=$(date +%s)

# The running program killed while it saves from its dialogs, on an X server of its own, beside everything else.
"$build/tests/e2e/test_e2e" --gtest_filter='KilledWhileSaving.*' >"$logs/e2e-kill.log" 2>&1 &
e2e_kill_pid=$!

# The kill test runs beside the first shards of cases; each shard is one test process.
"$build/tests/test_kill" >"$logs/kill.log" 2>&1 &
kill_pid=$!
shards=$("$build/tests/test_hostile" --gtest_list_tests | grep -c 'NeitherCrashNorHangNorLoseAFile/')
seq 0 $((shards - 1)) | xargs -P "$jobs" -I{} sh -c \
    '"$0"/tests/test_hostile --gtest_filter="Shards/HostileFiles.NeitherCrashNorHangNorLoseAFile/{}" \
        >"$1/shard-{}.log" 2>&1 || true' "$build" "$logs"
kill_status=0
wait "$kill_pid" || kill_status=$?
"$build/tests/test_hostile" --gtest_filter='Regressions/*' >"$logs/regressions.log" 2>&1 || true

# The program: each shard starts its own X server and takes every shard-th case.
start_shards=$("$build/tests/ui/test_ui_hostile_start" --gtest_list_tests | grep -c 'TheRightMessageLeavesFromTheMenuAndChangesNoFile/')
seq 0 $((start_shards - 1)) | xargs -P "$jobs" -I{} sh -c \
    '"$0"/tests/ui/test_ui_hostile_start --gtest_filter="Shards/GeneratedStarts.*/{}" \
        >"$1/start-{}.log" 2>&1 || true' "$build" "$logs"

e2e_kill_status=0
wait "$e2e_kill_pid" || e2e_kill_status=$?

grep -h 'case [0-9]* of seed' "$logs"/shard-*.log || true
grep -h 'after kill' "$logs/kill.log" || true
grep -h '^start [0-9]* of seed' "$logs"/start-*.log || true

kills_line=$(grep -h '^kills:' "$logs/kill.log" || echo "kills: the kill test did not finish (status $kill_status)")
cases=$(grep -ho 'cases: [0-9]*' "$logs"/shard-*.log | awk '{s += $2} END {print s + 0}')
case_failures=$(grep -ho 'failures: [0-9]*' "$logs"/shard-*.log | awk '{s += $2} END {print s + 0}')
regressions=$(grep -o '[0-9]* tests\? from [0-9]* test suite' "$logs/regressions.log" | head -1 | awk '{print $1}')
regression_failures=$(grep -c '^\[  FAILED  \] Regressions' "$logs/regressions.log" || true)
starts=$(grep -ho 'program starts, .* cases: [0-9]*' "$logs"/start-*.log | awk '{s += $NF} END {print s + 0}')
start_failures=$(grep -ho 'cases: [0-9]*, failures: [0-9]*' "$logs"/start-*.log | awk '{s += $NF} END {print s + 0}')

echo
echo "$kills_line"
echo "cases: $cases, failures: $case_failures (seed ${VELTRANO_HOSTILE_SEED:-1011})"
echo "regression folders: ${regressions:-0}, failures: $regression_failures"
echo "program starts: $starts, failures: $start_failures (seed ${VELTRANO_START_SEED:-23})"
echo "program $(grep -h '^kills:' "$logs/e2e-kill.log" || echo "kills: did not finish (status $e2e_kill_status)")"
grep -h 'Failure' -A4 "$logs/e2e-kill.log" || true
echo "time: $(( $(date +%s) - started )) s"

if [ "$kill_status" -ne 0 ] || [ "$case_failures" -ne 0 ] || [ "$regression_failures" -ne 0 ] ||
    [ "$cases" -ne "$VELTRANO_HOSTILE_CASES" ] || [ "$start_failures" -ne 0 ] ||
    [ "$starts" -ne "$((VELTRANO_START_CASES - ${VELTRANO_START_FIRST:-0}))" ] || [ "$e2e_kill_status" -ne 0 ]; then
    exit 1
fi
