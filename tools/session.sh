# Sourced: starts an Xvfb (24-bit screen) and a persistent wineserver for build directory $1 and stops both
# when the calling shell exits. Output never goes to a pipe the caller reads, so nothing hangs on it.
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" "$1"

kivo_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${KIVO_XVFB_PID:-}" ]; then kill "$KIVO_XVFB_PID" >/dev/null 2>&1 || true; fi
  rm -f "$KIVO_DISPLAY_FILE"
}

kivo_session_start() {
  # Named after the prefix, as the display file is: each prefix's session has a screen of its own.
  local base=${KIVO_DISPLAY_FILE%.display}
  local fdfile="$base.displayfd" log="$base.xvfb.log"
  rm -f "$fdfile"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >"$log" 2>&1 &
  KIVO_XVFB_PID=$!
  local waited=0
  while [ ! -s "$fdfile" ] && [ $waited -lt 100 ]; do sleep 0.1; waited=$((waited + 1)); done
  if [ ! -s "$fdfile" ]; then echo "Xvfb did not start (see $log)" >&2; return 1; fi
  DISPLAY=":$(head -n1 "$fdfile")"
  export DISPLAY
  echo "$DISPLAY" >"$KIVO_DISPLAY_FILE"
  trap kivo_session_stop EXIT
  # A server that Wine started for this prefix before the screen was there (the prefix's first boot, a
  # tool run without a display) ends a few seconds after its last program: wait for it, so that the
  # session's server and everything it starts see this screen.
  if ! timeout 30 wineserver -w >/dev/null 2>&1 </dev/null; then
    echo "A Wine server of $WINEPREFIX still runs (another session of this prefix?)" >&2
    return 1
  fi
  wineserver -p >/dev/null 2>&1 </dev/null
  # The first start after boot loads the prefix; do it here, not inside a timed test.
  wine cmd /c exit 0 >/dev/null 2>&1 </dev/null || true
  # A program that keeps the desktop in use until the server is killed: Wine closes a desktop a second after
  # its last program ended, under any program starting then (tests/support/desktopkeeper).
  if [ -f "$KIVO_BUILD/tests/kivo_desktopkeeper.exe" ]; then
    wine "$KIVO_BUILD/tests/kivo_desktopkeeper.exe" >/dev/null 2>&1 </dev/null &
  fi
}
