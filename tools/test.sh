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
# Every test is a Windows program run by Wine, in the tree whose programs this machine runs
# (tools/program-tree.sh): the 32-bit tree itself, or beside it the same sources as 64-bit programs. The
# 32-bit tree is always built for its checks; where it cannot run, only what they read (the program with its
# resources, and so the core libraries), not the test programs.
. "$here/program-tree.sh"
kivo_program_tree "$build"
if [ "$KIVO_TREE" = "$build" ]; then
  bash "$here/build.sh" "$build"
else
  bash "$here/build.sh" "$build" kivo
fi
# The built core libraries take nothing from the system but the kernel, the registry and the runtime.
bash "$here/check-layers.sh" --imports "$build"
if [ "$KIVO_TREE" != "$build" ]; then
  build=$KIVO_TREE
  kivo_build_tree
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
