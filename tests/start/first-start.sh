#!/usr/bin/env bash
# The README's first command on a machine where the person's prefix does not exist yet, as a person runs
# it without a display: kivo.sh makes the prefix, installs the printer, starts its own screen and the
# program, whose frame must come up (after its first question, to create the tables directory, where the
# build has none yet: answered Yes); the frame closed, kivo.sh ends well and leaves no screen behind.
#   first-start.sh SOURCE BUILD
set -uo pipefail
source=$1
build=$2
prefix=first-start-prefix
rm -rf "${build:?}/$prefix" "$build/$prefix.display"
log=$(mktemp)
env -u DISPLAY KIVO_BUILD_DIR="$build" KIVO_PREFIX=$prefix setsid bash "$source/tools/kivo.sh" >"$log" 2>&1 &
kivo=$!
fail() {
  echo "FAILED: $1"
  echo "---- kivo.sh said:"
  tail -20 "$log"
  kill -- -$kivo 2>/dev/null
  sleep 2
  kill -9 -- -$kivo 2>/dev/null
  WINEPREFIX="$build/$prefix" wineserver -k 2>/dev/null
  rm -f "$log"
  exit 1
}
frame_title="KIVO 3.5 - [Untitled Tree 1]"
# The first visible top-level window of that screen titled as one of the arguments after the first, which
# is how long to wait (seconds): its title and id.
window_named() {
  local seconds=$1 id title wanted
  shift
  for ((waited = 0; waited < seconds * 2; waited++)); do
    kill -0 $kivo 2>/dev/null || fail "kivo.sh ended while waiting for \"$*\""
    if [ -f "$build/$prefix.display" ]; then
      for id in $(DISPLAY=$(cat "$build/$prefix.display") xdotool search --onlyvisible --name . 2>/dev/null); do
        title=$(DISPLAY=$(cat "$build/$prefix.display") xdotool getwindowname "$id")
        for wanted in "$@"; do
          if [ "$title" = "$wanted" ]; then
            echo "$id $title"
            return 0
          fi
        done
      done
    fi
    sleep 0.5
  done
  return 1
}
first=$(window_named 240 "KIVO" "$frame_title") || fail "neither the first question nor the frame within 240 s"
export DISPLAY=$(cat "$build/$prefix.display")
if [ "${first#* }" = "KIVO" ]; then
  xdotool windowfocus --sync "${first%% *}" key Return
fi
frame=$(window_named 60 "$frame_title") || fail "no frame after the first question"
frame=${frame%% *}
# The splash stands over the frame for its two seconds and takes the keys meanwhile, as it would a person's.
for ((waited = 0; waited < 40; waited++)); do
  [ "$(xdotool search --onlyvisible --classname . 2>/dev/null | wc -l)" = 1 ] && break
  sleep 0.5
done
xdotool windowfocus --sync "$frame" key alt+F4
for ((waited = 0; waited < 60; waited++)); do
  kill -0 $kivo 2>/dev/null || break
  sleep 0.5
done
kill -0 $kivo 2>/dev/null && fail "kivo.sh still runs 30 s after its frame was closed"
wait $kivo
status=$?
[ $status -eq 0 ] || fail "kivo.sh ended with status $status"
[ ! -f "$build/$prefix.display" ] || fail "the session's screen was left behind"
rm -rf "${build:?}/$prefix" "$log"
echo "first start: frame up, closed, clean end"
