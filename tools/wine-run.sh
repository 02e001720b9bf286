#!/usr/bin/env bash
# Runs a Windows program under the build tree's Wine prefix: wine-run.sh BUILD PROGRAM [ARGS...]
# Used by CMake as the cross-compiling emulator, so ctest starts every test executable through it.
# Programs always run inside the build tree, so nothing they write or delete touches the sources.
set -e
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" "$1"
# Wine's own errors stay on for the test programs: the few ways Wine ends a program early (a display it
# cannot open, memory it cannot map) say why only there, and ctest shows a program's output only when it fails.
[ -n "${KIVO_WINEDEBUG:-}${KIVO_DEFAULT_WINEDEBUG:-}" ] || export WINEDEBUG=-all,err+all
shift
program=$1
shift
[ -f "$program" ] && program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
case "$PWD/" in "$KIVO_BUILD"/*) ;; *) cd "$KIVO_BUILD" ;; esac
# Wine hands the error output of the first process to use the desktop to the desktop's own process, which
# lives on until no process has used the desktop for a second; ctest waits until every holder of a test's
# output has closed it, so that test would not end before then. The error output goes through a file.
errors=$(mktemp)
written=$(mktemp)
set +e
# The output also goes through a count of its bytes: a program that ends having written nothing at all is
# named below (a test program writes before its first test runs).
wine "$program" "$@" 2>"$errors" | tee "$written"
status=${PIPESTATUS[0]}
cat "$errors" >&2
if [ $status -ne 0 ] && [ ! -s "$errors" ] && [ ! -s "$written" ]; then
  echo "wine-run: $(basename "$program") ended with status $status before writing anything" >&2
fi
rm -f "$errors" "$written"
exit $status
