# Sourced: starts an Xvfb (24-bit screen) and a persistent wineserver for build directory $1 and stops both
# when the calling shell exits. Output never goes to a pipe the caller reads, so nothing hangs on it.
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" "$1"

kivo_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${KIVO_XVFB_PID:-}" ]; then kill "$KIVO_XVFB_PID" >/dev/null 2>&1 || true; fi
  rm -f "$KIVO_BUILD/wine.display"
}

kivo_session_start() {
  local fdfile="$KIVO_BUILD/xvfb.displayfd"
  rm -f "$fdfile"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >"$KIVO_BUILD/xvfb.log" 2>&1 &
  KIVO_XVFB_PID=$!
  local waited=0
  while [ ! -s "$fdfile" ] && [ $waited -lt 100 ]; do sleep 0.1; waited=$((waited + 1)); done
  if [ ! -s "$fdfile" ]; then echo "Xvfb did not start (see $KIVO_BUILD/xvfb.log)" >&2; return 1; fi
  DISPLAY=":$(head -n1 "$fdfile")"
  export DISPLAY
  echo "$DISPLAY" >"$KIVO_BUILD/wine.display"
  trap kivo_session_stop EXIT
  wineserver -p >/dev/null 2>&1 </dev/null
  # The first start after boot loads the prefix; do it here, not inside a timed test.
  wine cmd /c exit 0 >/dev/null 2>&1 </dev/null || true
}
