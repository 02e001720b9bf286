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
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$root/build/kivo.exe" "$@"
fi
. "$here/session.sh" "$root/build"
kivo_session_start
wine "$root/build/kivo.exe" "$@"
