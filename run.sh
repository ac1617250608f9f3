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
exec build/default/app/vespin-run "$@"
