#!/usr/bin/env bash
# Builds the program alone (no tests, benchmarks or tools) and starts it on
# the sample data folder.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
NERVURIA_TARGETS=nervuria "$here/scripts/setup.sh" "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cd "$here/sample"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting on a virtual X display (xvfb-run)."
    exec xvfb-run -a -s "-screen 0 1600x1000x24" "$here/build/nervuria"
fi
exec "$here/build/nervuria"
