#!/usr/bin/env bash
# Installs what is missing, builds and starts Vespin. ./run.sh [FILE]
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
if [ -x build/default/app/vespin ]; then
    exec build/default/app/vespin "$@"
fi
# Until the desktop program is built, run the machine headless for ten seconds of emulated time
# and write what the screen shows.
echo "The desktop program is not built yet; running vespin-run for 500 frames instead." >&2
build/default/app/vespin-run "$@" --frames 500 --screenshot vespin-screen.png
echo "The screen after 500 frames: vespin-screen.png" >&2
