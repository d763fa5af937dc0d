#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while
# (seconds per target as first argument, 60 by default).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
secs="${1:-60}"
for p in clang libclang-rt-14-dev; do
    dpkg -s "$p" >/dev/null 2>&1 || { apt-get update -qq; DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$p"; }
done
CXX=clang++ CC=clang "$here/scripts/setup.sh" "$here/build-fuzz" -DNERVURIA_FUZZ=ON -DNERVURIA_SANITIZE=ON \
    -DBUILD_TESTING=OFF -DNERVURIA_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
for target in "$here"/build-fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    corpus="$here/build-fuzz/corpus/$(basename "$target")"
    mkdir -p "$corpus"
    echo "== $(basename "$target") for ${secs}s"
    ASAN_OPTIONS=detect_leaks=0 "$target" -max_total_time="$secs" -max_len=4096 "$corpus"
done
