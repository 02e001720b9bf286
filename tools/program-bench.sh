#!/usr/bin/env bash
# The program benchmark: kivo.exe timed from outside, on a virtual screen of its own, as a person runs it.
#   program-bench.sh [BUILD [PART...]]   PART: million, montecarlo, script (default: all three), script-status,
#                                         linked, linked-status
# kivo_program_probe writes the trees with the program's own writers (a decision over 1,000 chance nodes of 999
# terminals: 1,000,001 nodes; the Monte Carlo tree; 200 small trees and a script opening them), then starts the
# program on each and times every step until the frame answers again, and the longest the frame took to answer
# a message during the step ("worst"). script-status runs the script while another program asks the program's
# script "Status" over DDE once a second: its asks, answers and slowest answer (seconds) are figures too.
# linked and linked-status do the same on 200 copies of the tests' every-feature tree, whose DDE links name a
# program that does not run.
# kivo_bench's figure for the same work is printed beside it.
# KIVO_EXE names another kivo.exe to time (of the same build folder), say an earlier one to compare.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-build}
[ $# -gt 0 ] && shift
case "$build" in /*) ;; *) build="$root/$build" ;; esac
# Where the kernel starts no 32-bit program, the programs timed are 64-bit ones, in BUILD-x64.
. "$root/tools/program-tree.sh"
kivo_program_tree "$build"
build=$KIVO_TREE
kivo_build_tree kivo kivo_bench kivo_program_probe >/dev/null || exit 1
# The prefix the tests run in: without its settings Wine waits 2 s for a window manager at each window hidden.
bash "$root/tools/prefix-setup.sh" "$build" || exit 1
. "$root/tools/session.sh" "$build"
kivo_session_start
work=$(mktemp -d "$build/program-bench.XXXXXX")
trap 'rm -rf "$work"; kivo_session_stop' EXIT
windir=$(winepath -w "$work")
probe="$build/bench/kivo_program_probe.exe"

# kivo_bench's figures for the same work: the same tree through the program's commands in a frame of its
# own process, and the same Monte Carlo tree's trials (optimal path fixed, as the dialog's default runs).
bench=$( (cd "$build" && wine "$build/bench/kivo_bench.exe" TreeProgramMillionNodes 2>/dev/null;
          wine "$build/bench/kivo_bench.exe" MonteCarloTrials 2>/dev/null) | tr -d '\r')
benchOf() {
  case "$1" in
    open) echo "$bench" | sed -n 's/^File Open of .*: \([0-9.]*\) s .*/\1/p' ;;
    rollback) echo "$bench" | sed -n 's/^Analysis > Roll Back: \([0-9.]*\) s.*/\1/p' ;;
    save) echo "$bench" | sed -n 's/^File Save: \([0-9.]*\) s.*/\1/p' ;;
    montecarlo) echo "$bench" | sed -n 's/.*optimal path fixed: error 0, \([0-9.]*\) us per trial.*/\1/p' |
                  awk '{ printf "%.2f", $1 * 32000 / 1e6 }' ;;
  esac
}

echo "load: $(uptime)"
wine "$probe" write "$windir" "$(winepath -w "$root/tests/model/files/every-feature-before-columns.tre")" 2>/dev/null | tr -d '\r'
printf '%-24s %10s %12s %12s\n' step seconds "worst answer" kivo_bench
wine "$probe" run "$(winepath -w "${KIVO_EXE:-$build/kivo.exe}")" "$windir" "$@" 2>/dev/null | tr -d '\r' |
  while read -r tag name seconds _ worst; do
    [ "$tag" = figure ] || { [ -n "$tag" ] && echo "$tag $name $seconds $worst"; continue; }
    printf '%-24s %10s %12s %12s\n' "$name" "$seconds" "${worst:--}" "$(benchOf "$name")"
  done
echo "load: $(uptime)"
