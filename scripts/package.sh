#!/usr/bin/env bash
# Builds what the Debian package needs and packs it:
#   bash scripts/package.sh [BUILD_FOLDER]
# (build-package by default; the tests give their own build folder, whose
# work is then reused). Writes BUILD_FOLDER/nervuria_<version>_amd64.deb and
# prints its path last.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build-package}"

# The package's files live under /usr, where the program is built to look
# for its sample; cpack's own build step would build everything, not only
# the program.
NERVURIA_TARGETS="nervuria package_files" "$here/scripts/setup.sh" "$build" \
    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
    $([ -f "$build/CMakeCache.txt" ] || echo "-DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DNERVURIA_BENCH=OFF")

rm -f "$build"/nervuria_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/nervuria_*_amd64.deb)"
echo "$deb"
