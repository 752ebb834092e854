#!/usr/bin/env bash
# Renders the reference pictures in references/ anew from the build in $1 (default build/), after a
# deliberate change to what the windows or the paper show. Look at each picture git lists as changed;
# the commit that changes a reference says why it changed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
cmake --build "$build" -j2 --target test_pictures test_print test_helpviewer
cd "$build/data"
export QT_QPA_PLATFORM=offscreen TALLYROLL_UPDATE_REFERENCES=1
"$build/tests/gui/test_pictures"
"$build/tests/print/test_print" pictures
(cd "$build" && "$build/tests/help/test_helpviewer" contents)
git -C "$root" status --short references
