#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest: once as built, once more
# under AddressSanitizer and UndefinedBehaviorSanitizer, then a short fuzzing round when clang is there.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# One formatter for all C++ (.clang-format): an unformatted file fails the run.
git ls-files -z -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h' |
  xargs -0 clang-format --dry-run --Werror

scripts/build.sh build

# The whole suite runs under a comma-decimal locale: figures must not depend on it.
if locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  export LC_ALL=de_DE.UTF-8
fi
(cd build && ctest --output-on-failure -j2 --timeout 300)

# The same tests with the sanitizers; benchmarks are not needed there. Leaks are checked too.
# The end-to-end tests and the tests on a real X server (*_x11) stay out: there system libraries
# (libxkbcommon-x11, fontconfig) trip the sanitizers on their own code.
scripts/build.sh build-asan -DTALLYROLL_SANITIZE=ON -DBUILD_TESTING=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
(cd build-asan &&
  ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure -j2 --timeout 900 -E '^e2e_|_x11$')

# The type a packager picks most: the program must build warning-free at -O3 too.
scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON

if command -v clang++ >/dev/null; then
  scripts/fuzz.sh 20
fi
