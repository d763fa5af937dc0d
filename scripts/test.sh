#!/usr/bin/env bash
# Builds everything and runs every test: once in an ordinary build, once
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export QT_QPA_PLATFORM=offscreen

"$here/scripts/setup.sh" "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd "$here/build" && ctest --output-on-failure -j2)

"$here/scripts/setup.sh" "$here/build-asan" -DCMAKE_BUILD_TYPE=Debug -DNERVURIA_SANITIZE=ON -DNERVURIA_BENCH=OFF
# Qt keeps some allocations for the life of the process; leaks are not what
# this run looks for.
(cd "$here/build-asan" && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j2)
