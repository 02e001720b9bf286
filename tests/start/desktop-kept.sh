#!/usr/bin/env bash
# The test session's desktop outlives a pause between programs. Wine closes a desktop a second after its last
# program ended, under any program starting at that moment; the session keeps it in use (tools/session.sh).
# Run alone, so that no other test's program holds the desktop meanwhile.   desktop-kept.sh SOURCE BUILD
set -uo pipefail
source=$1
build=$2
. "$source/tools/wine-env.sh" "$build"
# The process of this prefix's desktop.
desktop_process() {
  local pid prefix
  for pid in $(pgrep -f 'explorer.exe /desktop'); do
    prefix=$(tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | sed -n 's/^WINEPREFIX=//p')
    [ -n "$prefix" ] && [ "$(readlink -f "$prefix")" = "$(readlink -f "$WINEPREFIX")" ] && echo "$pid"
  done
}
# A program of the desktop that ends at once (with its own exit code, 7).
bash "$source/tools/wine-run.sh" "$build" "$build/tests/kivo_exitcode.exe" >/dev/null 2>&1
before=$(desktop_process)
sleep 2
after=$(desktop_process)
if [ -z "$before" ] || [ "$before" != "$after" ]; then
  echo "FAILED: the desktop's process was '$before' when the last program ended and '$after' 2 s later"
  exit 1
fi
