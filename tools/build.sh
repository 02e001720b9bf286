#!/usr/bin/env bash
# Configures (first time) and builds KIVO, its tests and kivo_bench, or only the named targets and what they
# need: build.sh [BUILD [TARGET...]]   (default: build, everything; KIVO_JOBS compiles that many at once)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-build}
[ $# -gt 0 ] && shift
case "$build" in /*) ;; *) build="$root/$build" ;; esac
if [ ! -f "$build/CMakeCache.txt" ]; then
  # KIVO_TOOLCHAIN=mingw-x86_64 configures a 64-bit tree (cmake/mingw-x86_64.cmake says when).
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/${KIVO_TOOLCHAIN:-mingw-i686}.cmake" >/dev/null
fi
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
cmake --build "$build" -j "${KIVO_JOBS:-$(nproc)}" "${targets[@]}"
