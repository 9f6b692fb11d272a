#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test offscreen; runs the widget tests (label "gui")
# again under a real X server, one process per test with a time limit; then builds every layer with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs all its tests offscreen.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh"

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 0700 "$XDG_RUNTIME_DIR"
jobs="$(nproc)"

# An optimised build without debug information: a third quicker to build, and what the program runs as.
"$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=Release
(cd "$root/build" && ctest --output-on-failure --parallel "$jobs")

"$root/scripts/xvfb-tests.sh" "$root/build"

# Every layer: a folder configured for the core alone by an earlier version of this script is widened again.
"$root/scripts/build.sh" build-sanitize -DVELTRANO_SANITIZE=ON -DVELTRANO_CORE_ONLY=OFF -DCMAKE_BUILD_TYPE=Debug
(cd "$root/build-sanitize" && ctest --output-on-failure --parallel "$jobs")
