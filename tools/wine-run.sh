#!/usr/bin/env bash
# Runs a Windows program under the build tree's Wine prefix: wine-run.sh BUILD PROGRAM [ARGS...]
# Used by CMake as the cross-compiling emulator, so ctest starts every test executable through it.
# Programs always run inside the build tree, so nothing they write or delete touches the sources.
set -e
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" "$1"
shift
program=$1
shift
[ -f "$program" ] && program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
case "$PWD/" in "$KIVO_BUILD"/*) ;; *) cd "$KIVO_BUILD" ;; esac
# Wine hands the error output of the first process to use the desktop to the desktop's own process, which
# lives on until no process has used the desktop for a second; ctest waits until every holder of a test's
# output has closed it, so that test would not end before then. The error output goes through a file.
errors=$(mktemp)
set +e
wine "$program" "$@" 2>"$errors"
status=$?
cat "$errors" >&2
# A program that ends at once with neither output nor a word of Wine's (seen rarely under heavy load) leaves
# only its status to go on: say it. Status 1 is a test program's own "a test failed", reported on its output.
if [ $status -ne 0 ] && [ $status -ne 1 ] && [ ! -s "$errors" ]; then
  echo "wine-run: $(basename "$program") ended with status $status, nothing on its error output" >&2
fi
rm -f "$errors"
exit $status
