#!/usr/bin/env bash
# The long run of the two reliability tests, with AddressSanitizer and UndefinedBehaviorSanitizer: saves killed at
# 1,000 random moments, and 100,000 generated hostile configuration files through the start-up path. Prints the
# figures and fails when any kill or case failed. CI runs the same tests at 100 kills and 2,000 cases.
#
# Environment: VELTRANO_KILLS (1000), VELTRANO_HOSTILE_CASES (100000), VELTRANO_HOSTILE_SEED (1011),
# VELTRANO_KILL_SEED (11), STRESS_JOBS (4: test processes at a time). The files of a failed case are kept in
# build-stress/hostile-failures/, ready to become a regression folder in tests/fixtures/hostile/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh"

build="$root/build-stress"
cmake -S "$root" -B "$build" -DVELTRANO_SANITIZE=ON -DVELTRANO_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" --parallel "${STRESS_JOBS:-4}" --target test_kill test_hostile

export VELTRANO_KILLS="${VELTRANO_KILLS:-1000}"
export VELTRANO_HOSTILE_CASES="${VELTRANO_HOSTILE_CASES:-100000}"
export VELTRANO_HOSTILE_KEEP="$build/hostile-failures"
jobs="${STRESS_JOBS:-4}"
logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT

cd "$build"
started=$(date +%s)

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

grep -h 'case [0-9]* of seed' "$logs"/shard-*.log || true
grep -h 'after kill' "$logs/kill.log" || true

kills_line=$(grep -h '^kills:' "$logs/kill.log" || echo "kills: the kill test did not finish (status $kill_status)")
cases=$(grep -ho 'cases: [0-9]*' "$logs"/shard-*.log | awk '{s += $2} END {print s + 0}')
case_failures=$(grep -ho 'failures: [0-9]*' "$logs"/shard-*.log | awk '{s += $2} END {print s + 0}')
regressions=$(grep -o '[0-9]* tests\? from [0-9]* test suite' "$logs/regressions.log" | head -1 | awk '{print $1}')
regression_failures=$(grep -c '^\[  FAILED  \] Regressions' "$logs/regressions.log" || true)

echo
echo "$kills_line"
echo "cases: $cases, failures: $case_failures (seed ${VELTRANO_HOSTILE_SEED:-1011})"
echo "regression folders: ${regressions:-0}, failures: $regression_failures"
echo "time: $(( $(date +%s) - started )) s"

if [ "$kill_status" -ne 0 ] || [ "$case_failures" -ne 0 ] || [ "$regression_failures" -ne 0 ] ||
    [ "$cases" -ne "$VELTRANO_HOSTILE_CASES" ]; then
    exit 1
fi
