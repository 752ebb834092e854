#!/usr/bin/env bash
# Builds the Debian package of tallyroll into build/ (tallyroll_<version>_<arch>.deb), shows
# its control fields and file list, and lints it (errors fail the script). Installs nothing: `sudo apt install ./build/tallyroll_*.deb`
# is left to the user.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
(cd build && cpack -G DEB)
deb=$(ls -t build/tallyroll_*.deb | head -n 1)
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"
lintian --fail-on error "$deb"
echo "built $deb"
