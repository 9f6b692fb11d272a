#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test offscreen; runs the widget tests (label "gui")
# again under a real X server, one process per test with a time limit; runs the built program end to end on X
# servers of its own (label "e2e"); then builds every layer with AddressSanitizer and UndefinedBehaviorSanitizer,
# runs all its tests offscreen and the sanitized program through the end-to-end scenes once.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh"

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 0700 "$XDG_RUNTIME_DIR"
jobs="$(nproc)"

# An optimised build without debug information: a third quicker to build, and what the program runs as.
"$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=Release
(cd "$root/build" && ctest --output-on-failure --parallel "$jobs" -LE e2e)

"$root/scripts/xvfb-tests.sh" "$root/build"

# The whole program end to end, as an operator meets it: its scenes under a window manager and without one, and
# kills while it saves, each on an X server of its own and side by side. Pictures of its windows land in
# build/screens/.
e2e_started=$(date +%s)
(cd "$root/build" && ctest --output-on-failure --parallel 3 -L e2e)
echo "End-to-end suite: $(($(date +%s) - e2e_started)) s"

# Every layer: a folder configured for the core alone by an earlier version of this script is widened again.
"$root/scripts/build.sh" build-sanitize -DVELTRANO_SANITIZE=ON -DVELTRANO_CORE_ONLY=OFF -DCMAKE_BUILD_TYPE=Debug
(cd "$root/build-sanitize" && ctest --output-on-failure --parallel "$jobs" -LE e2e)
# The sanitized program through the scenes under the window manager; the kills stay with the optimised build.
(cd "$root/build-sanitize" && ctest --output-on-failure -R E2eScenesUnderWindowManager)
