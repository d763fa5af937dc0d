#!/usr/bin/env bash
# Builds everything and runs every test: once in an ordinary build, once
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export QT_QPA_PLATFORM=offscreen

"$here/scripts/setup.sh" "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd "$here/build" && ctest --output-on-failure -j2)

# A folder's permissions do not bind root: the writing test runs once more
# as an ordinary user, so that a read-only folder really refuses the
# temporary file.
if [ "$(id -u)" -eq 0 ] && command -v runuser >/dev/null; then
    tmp="$(mktemp -d)"
    cp "$here/build/tests/tst_wholefile" "$tmp/"
    chmod 1777 "$tmp"
    chmod 755 "$tmp/tst_wholefile"
    (cd "$tmp" && runuser -u nobody -- env QT_QPA_PLATFORM=offscreen TMPDIR="$tmp" HOME="$tmp" \
        XDG_DATA_HOME="$tmp/data" ./tst_wholefile)
    rm -rf "$tmp"
fi

# The Debian package, made from the build above: its files, desktop entry and
# manual page, unpacked into a throw-away root.
deb="$("$here/scripts/package.sh" "$here/build" | tail -n 1)"
"$here/packaging/check_package.sh" "$deb"

"$here/scripts/setup.sh" "$here/build-asan" -DCMAKE_BUILD_TYPE=Debug -DNERVURIA_SANITIZE=ON -DNERVURIA_BENCH=OFF
# Qt keeps some allocations for the life of the process; leaks are not what
# this run looks for.
(cd "$here/build-asan" && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j2)
