#!/usr/bin/env bash
# Configures and builds tallyroll in build/ (or in the folder given as $1, with extra cmake options after it),
# with warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLYROLL_WERROR=ON "$@" >/dev/null
cmake --build "$dir" -j2
