#!/usr/bin/env bash
# Checks the layers, builds everything and runs all tests under Wine and Xvfb:
#   test.sh [BUILD [CTEST ARGS...]]   (default: build)
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
root=$(cd "$here/.." && pwd)
build=${1:-build}
[ $# -gt 0 ] && shift
case "$build" in /*) ;; *) build="$root/$build" ;; esac
# Includes that run upward through the layers fail the run before anything is built.
bash "$here/check-layers.sh" "$root"
# So does a resource id in the program's code that no resource carries.
bash "$here/check-resources.sh" "$root"
bash "$here/build.sh" "$build"
bash "$here/prefix-setup.sh" "$build"
. "$here/session.sh" "$build"
kivo_session_start
cd "$build"
set +e
# A test that fails is run up to twice more: on a busy machine another test process's window may take the
# activation, or Wine start-up may stall, while a real fault fails every time.
ctest --output-on-failure --timeout 300 --repeat until-pass:3 -j "$(nproc)" "$@"
status=$?
exit $status
