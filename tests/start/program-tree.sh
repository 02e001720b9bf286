#!/usr/bin/env bash
# Which build tree the tools run (tools/program-tree.sh) where the kernel starts no 32-bit program, simulated
# as it shows: the system's wine (and wine-stable) fail with the 32-bit loader's "Exec format error", status 2;
# and where 32-bit Wine starts. The tools' own 64-bit wine folder first on PATH, as in a 64-bit test session,
# must not hide the failing one.   program-tree.sh SOURCE
set -uo pipefail
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/no32" "$work/runs32" "$work/tree64"
for name in wine wine-stable; do
  printf '#!/bin/sh\necho "/usr/bin/%s: 45: exec: /usr/lib/wine/wine: Exec format error" >&2\nexit 2\n' "$name" \
    >"$work/no32/$name"
  printf '#!/bin/sh\necho wine-8.0\n' >"$work/runs32/$name"
done
chmod +x "$work"/no32/* "$work"/runs32/*
echo "CMAKE_TOOLCHAIN_FILE:FILEPATH=$source/cmake/mingw-x86_64.cmake" >"$work/tree64/CMakeCache.txt"

failed=0
# expect WINE-FOLDER BUILD TOOLCHAIN-GIVEN TREE TOOLCHAIN
expect() {
  local tree toolchain
  tree=$(PATH="$source/tools/wine64:$work/$1:$PATH" KIVO_TOOLCHAIN=$3 bash -c \
    '. "$0/tools/program-tree.sh"; kivo_program_tree "$1" 2>/dev/null; echo "$KIVO_TREE|$KIVO_TREE_TOOLCHAIN"' \
    "$source" "$2")
  if [ "$tree" != "$4|$5" ]; then
    echo "FAILED: wine as in $1, tree $2, KIVO_TOOLCHAIN '$3': got '$tree', expected '$4|$5'"
    failed=1
  fi
}
expect no32 "$work/build" "" "$work/build-x64" mingw-x86_64
expect no32 "$work/tree64" "" "$work/tree64" ""
expect no32 "$work/new-x64" mingw-x86_64 "$work/new-x64" mingw-x86_64
expect runs32 "$work/build" "" "$work/build" ""
[ $failed = 0 ] && echo "program tree: 64-bit where no 32-bit program starts, else as given"
exit $failed
