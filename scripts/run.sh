#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it on the sample configuration of res/. It runs in a
# working folder of its own (run/ at the top of the repository) that holds a copy of the samples, so the program's
# changes to its settings never touch res/; an existing run/ keeps the operator's settings.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" build

work="$root/run"
mkdir -p "$work"
for name in command.xml system.xml matrix.xml; do
    if [ ! -e "$work/$name" ]; then
        cp "$root/res/$name" "$work/$name"
    fi
done
cd "$work"
exec "$root/build/ui/veltrano" "$@"
