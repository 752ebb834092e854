#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build

# The whole suite runs under a comma-decimal locale: figures must not depend on it.
if locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  export LC_ALL=de_DE.UTF-8
fi
(cd build && ctest --output-on-failure -j2 --timeout 300)
