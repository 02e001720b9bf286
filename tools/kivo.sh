#!/usr/bin/env bash
# Sets up the tools (first time), builds KIVO and starts it: kivo.sh [ARGS...]
# On a machine without a display it runs on a virtual screen (Xvfb).
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
root=$(cd "$here/.." && pwd)
bash "$here/install-deps.sh"
# Only the program and what it needs: the tests are built by test.sh or build.sh.
bash "$here/build.sh" "$root/build" kivo kivo_printer
# The person's own prefix, apart from the tests', with a printer that prints to a file as its default.
export KIVO_PREFIX=userprefix
bash "$here/prefix-setup.sh" "$root/build"
. "$here/wine-env.sh" "$root/build"
if [ ! -f "$WINEPREFIX/.kivo-printer" ]; then
  wine "$root/build/kivo_printer.exe" "$(winepath -w "$root/resources/printer/KivoPostScript.ppd" 2>/dev/null)" \
    </dev/null && touch "$WINEPREFIX/.kivo-printer"
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
    wine "$root/build/kivo.exe" "$@"
    return
  fi
  line="\"$(winepath -w "$root/build/kivo.exe" 2>/dev/null)\""
  for arg in "$@"; do
    if [[ $arg != *'"'* && ( -z $arg || $arg == *[[:blank:]]* ) ]]; then
      line+=" \"$arg\""
    else
      line+=" $arg"
    fi
  done
  KIVO_COMMAND_LINE=$line wine cmd /v:on /c '!KIVO_COMMAND_LINE!'
}
if [ -n "${DISPLAY:-}" ]; then
  run_kivo "$@"
  exit
fi
. "$here/session.sh" "$root/build"
kivo_session_start
run_kivo "$@"
