#!/usr/bin/env bash
# Sets up the tools (first time), builds KIVO and starts it: kivo.sh [ARGS...]
# On a machine without a display it runs on a virtual screen (Xvfb).
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
root=$(cd "$here/.." && pwd)
bash "$here/install-deps.sh"
# Only the program and what it needs: the tests are built by test.sh or build.sh.
bash "$here/build.sh" "$root/build" kivo
bash "$here/prefix-setup.sh" "$root/build"
if [ -n "${DISPLAY:-}" ]; then
  . "$here/wine-env.sh" "$root/build"
  exec wine "$root/build/kivo.exe" "$@"
fi
. "$here/session.sh" "$root/build"
kivo_session_start
wine "$root/build/kivo.exe" "$@"
