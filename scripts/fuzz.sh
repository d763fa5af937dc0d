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
# Seeds: the hand-made files of fuzz/seeds/<target>, and the sample data
# (the sample database, the sample coordinate files). Each target's
# dictionary, fuzz/<target>.dict, holds the keywords of its input.
for target in "$here"/build-fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    name="$(basename "$target")"
    corpus="$here/build-fuzz/corpus/$name"
    mkdir -p "$corpus"
    seeds=()
    [ -d "$here/fuzz/seeds/$name" ] && seeds+=("$here/fuzz/seeds/$name")
    case "$name" in
        fuzz_profiledb) cp -n "$here/sample/Profils.pro" "$corpus/sample-Profils.pro" ;;
        fuzz_datreader) seeds+=("$here/sample/Airfoils") ;;
    esac
    dict=()
    [ -f "$here/fuzz/$name.dict" ] && dict=(-dict="$here/fuzz/$name.dict")
    echo "== $name for ${secs}s"
    ASAN_OPTIONS=detect_leaks=0 "$target" -max_total_time="$secs" -max_len=8192 "${dict[@]}" \
        "$corpus" "${seeds[@]}"
done
