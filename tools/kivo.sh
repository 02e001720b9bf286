#!/usr/bin/env bash
# Sets up the tools (first time), builds KIVO and starts it: kivo.sh [ARGS...]
# On a machine without a display it runs on a virtual screen (Xvfb). KIVO_BUILD_DIR names another build
# folder (default build), KIVO_PREFIX another prefix in it (default userprefix). Where the kernel starts no
# 32-bit program, KIVO is built and run as a 64-bit program, in that folder's name with "-x64"
# (tools/program-tree.sh).
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
root=$(cd "$here/.." && pwd)
build=${KIVO_BUILD_DIR:-$root/build}

# Runs one step of the start; when it fails, says which and stops with its status.
step() {
  local what=$1 status=0
  shift
  "$@" || status=$?
  if [ $status -ne 0 ]; then
    echo "kivo.sh: $what failed (status $status)" >&2
    exit $status
  fi
}

step "setting up the tools" bash "$here/install-deps.sh"
# Asked once Wine is there: which tree's program this machine runs.
. "$here/program-tree.sh"
kivo_program_tree "$build"
build=$KIVO_TREE
# Only the program and what it needs: the tests are built by test.sh or build.sh.
step "building KIVO" kivo_build_tree kivo kivo_printer
# The person's own prefix, apart from the tests', with a printer that prints to a file as its default.
export KIVO_PREFIX=${KIVO_PREFIX:-userprefix}
step "making the Wine prefix" bash "$here/prefix-setup.sh" "$build"
. "$here/wine-env.sh" "$build"
# The session's server must be the first of the prefix to run: every Wine program after it (the printer's
# installer too) then sees the screen.
if [ -z "${DISPLAY:-}" ]; then
  . "$here/session.sh" "$build"
  step "starting the virtual screen" kivo_session_start
fi
install_printer() {
  wine "$build/kivo_printer.exe" "$(winepath -w "$root/resources/printer/KivoPostScript.ppd" 2>/dev/null)" \
    </dev/null && touch "$WINEPREFIX/.kivo-printer"
}
if [ ! -f "$WINEPREFIX/.kivo-printer" ]; then
  step "installing the printer" install_printer
fi
# Wine writes the program's command line from the arguments and escapes any double quote in them, so a path
# quoted for the program ('"Z:\jobs\my-job.txt"') would not arrive quoted. Arguments holding a double quote
# are therefore passed as written, through cmd, which starts the program with the line unchanged (and waits
# for it); an argument with a blank and no quote gets quotes, as Wine gives it.
run_kivo() {
  local arg line quoted=0
  for arg in "$@"; do
    [[ $arg == *'"'* ]] && quoted=1
  done
  if [ "$quoted" = 0 ]; then
    wine "$build/kivo.exe" "$@"
    return
  fi
  line="\"$(winepath -w "$build/kivo.exe" 2>/dev/null)\""
  for arg in "$@"; do
    if [[ $arg != *'"'* && ( -z $arg || $arg == *[[:blank:]]* ) ]]; then
      line+=" \"$arg\""
    else
      line+=" $arg"
    fi
  done
  KIVO_COMMAND_LINE=$line wine cmd /v:on /c '!KIVO_COMMAND_LINE!'
}
run_kivo "$@"
