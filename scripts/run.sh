#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it in the sample configuration folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" build

cd "$root/res"
exec "$root/build/ui/veltrano" "$@"
