#!/usr/bin/env bash
# Installs what the build needs on Debian 12 (as root), then configures and
# builds into the folder given as first argument. Further arguments go to cmake.
# NERVURIA_TARGETS names the targets to build (all of them when unset).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
shift || true

need=(build-essential cmake qt6-base-dev qt6-translations-l10n fonts-liberation xvfb xauth poppler-utils qt6-svg-dev libdxflib-dev libpolyclipping-dev libgoogle-perftools-dev pkg-config
      dpkg-dev desktop-file-utils # the Debian package and its checks
      qt6-tools-dev qt6-l10n-tools) # lupdate/lrelease and their CMake functions (English texts)
missing=()
for p in "${need[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build" "$@" >/dev/null
targets=()
for t in ${NERVURIA_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
