#!/usr/bin/env bash
# Runs the widget tests of a build folder (ctest label "gui") under real X servers (Xvfb and Qt's xcb platform),
# one process per test within the time limit its registration gives it. The tests are dealt out over one server
# per core: tests on one server run one at a time, as they share its pointer and keyboard focus.
# Usage: xvfb-tests.sh <build folder>
set -euo pipefail
build="$(cd "$1" && pwd)"
root="$(cd "$(dirname "$0")/.." && pwd)"
# For a sanitizer build: the X11 platform brings libraries that keep memory to the end of the process.
export LSAN_OPTIONS="suppressions=$root/scripts/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
shards="${VELTRANO_XVFB_SERVERS:-$(nproc)}"

work="$(mktemp -d)"
servers=()
cleanup() {
    for pid in "${servers[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# The servers admit only clients that hold this cookie; a server accepts every cookie its file lists.
cookie="$(mcookie)"
export XAUTHORITY="$work/Xauthority"
xauth -q add :0 . "$cookie"

for i in $(seq 1 "$shards"); do
    # Each server picks a free display and writes its number once it accepts connections.
    Xvfb -displayfd 3 -auth "$XAUTHORITY" -nolisten tcp -screen 0 1280x1024x24 \
        3>"$work/display$i" >"$work/xvfb$i.log" 2>&1 &
    servers+=("$!")
done
displays=()
for i in $(seq 1 "$shards"); do
    for _ in $(seq 1 100); do
        if grep -q '^[0-9][0-9]*$' "$work/display$i" 2>/dev/null; then
            break
        fi
        sleep 0.1
    done
    display="$(head -n 1 "$work/display$i")"
    if [ -z "$display" ]; then
        echo "Xvfb did not start:" >&2
        cat "$work/xvfb$i.log" >&2
        exit 1
    fi
    xauth -q add ":$display" . "$cookie"
    displays+=("$display")
done

echo "Widget tests under Xvfb on displays ${displays[*]}"
runs=()
for i in $(seq 1 "$shards"); do
    (cd "$build" && DISPLAY=":${displays[$((i - 1))]}" QT_QPA_PLATFORM=xcb \
        ctest -L gui -I "$i,,$shards" --output-on-failure >"$work/run$i.log" 2>&1) &
    runs+=("$!")
done
status=0
for i in $(seq 1 "$shards"); do
    if ! wait "${runs[$((i - 1))]}"; then
        status=1
    fi
    cat "$work/run$i.log"
done
exit "$status"
