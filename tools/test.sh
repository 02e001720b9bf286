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
# The built core libraries take nothing from the system but the kernel, the registry and the runtime.
bash "$here/check-layers.sh" --imports "$build"
# Every test is a Windows program run by Wine. A machine whose kernel refuses 32-bit programs (some virtual
# machines run only 64-bit ones) cannot start 32-bit Wine: there the same sources are built once more as
# 64-bit programs, beside the 32-bit tree, and the suite runs on those under 64-bit Wine.
if ! grep -q '^CMAKE_TOOLCHAIN_FILE.*mingw-x86_64' "$build/CMakeCache.txt" &&
   [[ "$(wine --version 2>&1 || true)" == *"Exec format error"* ]]; then
  echo "---- this machine cannot run 32-bit programs: the tests run as 64-bit programs, built in $build-x64"
  build=$build-x64
  KIVO_TOOLCHAIN=mingw-x86_64 bash "$here/build.sh" "$build"
fi
bash "$here/prefix-setup.sh" "$build"
. "$here/session.sh" "$build"
kivo_session_start
cd "$build"
set +e
# A test that fails is run once more: Wine start-up may stall on a busy machine, while a real fault fails
# every time. Every test that needed the second run is named at the end: a flaky test is a fault to mend.
# At most eight at once: more only lengthens the queues on the focus and clipboard locks.
jobs=${KIVO_JOBS:-$(nproc)}
[ "$jobs" -gt 8 ] && jobs=8
# A --repeat of the caller's replaces this one (ctest takes only one).
repeat="--repeat until-pass:2"
case " $* " in *" --repeat "*) repeat="" ;; esac
ctest --output-on-failure --timeout 300 $repeat -j "$jobs" "$@"
status=$?
# Each run of a test leaves a "N/M Test: NAME" line in the log; a name met twice needed the retry.
if [ -n "$repeat" ] && [ -f Testing/Temporary/LastTest.log ]; then
  retried=$(sed -n 's#^[0-9]*/[0-9]* Test: ##p' Testing/Temporary/LastTest.log | sort | uniq -d)
  if [ -n "$retried" ]; then
    echo "---- tests that needed a retry"
    sed 's/^/  /' <<<"$retried"
  fi
fi
# The failures again at the end, where a reader of only the last lines sees them.
if [ $status -ne 0 ] && [ -f Testing/Temporary/LastTest.log ]; then
  echo "---- failures"
  grep -E -A5 ': Failure$|Unexpected message box|exception' Testing/Temporary/LastTest.log | cut -c1-160 | tail -40
fi
exit $status
