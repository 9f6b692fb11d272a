#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test; then builds the layers below the user
# interface with AddressSanitizer and UndefinedBehaviorSanitizer and runs their tests again.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh"

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 0700 "$XDG_RUNTIME_DIR"
jobs="$(nproc)"

"$root/scripts/build.sh" build
(cd "$root/build" && ctest --output-on-failure --parallel "$jobs")

"$root/scripts/build.sh" build-sanitize -DVELTRANO_SANITIZE=ON -DVELTRANO_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=Debug
(cd "$root/build-sanitize" && ctest --output-on-failure --parallel "$jobs")
