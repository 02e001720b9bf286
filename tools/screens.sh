#!/usr/bin/env bash
# The screenshot tour: screens.sh [BUILD] [--repaint]   (default: build; BUILD-x64 where the kernel starts no
# 32-bit program, see tools/program-tree.sh)
# Builds the tour program if needed and runs it on a virtual screen. The program starts as KIVO does, builds a
# small tree, rolls it back, opens Preferences, the Variables window, a sensitivity graph, the Markov window
# with a graph and its report, and Print Preview. After each step, once the program is idle, it names the
# step in a request file; this script then takes a picture of the whole screen (ImageMagick's import) into
# BUILD/screens/NN-step.png and removes the request, and the program goes on.
# With --repaint, the program repaints all its windows after each picture and has the screen pictured again;
# the script then names every step whose picture differs from the repaint's (kept as NN-step-repaint.png):
# a window that shows on the screen what it would not paint afresh. Feedback drawn over a window while a
# mouse button is held (a band, a drag) and a list's focus frame are not repainted, so such steps differ.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
build=build
repaint=
for argument in "$@"; do
  case "$argument" in
    --repaint) repaint=1 ;;
    *) build=$argument ;;
  esac
done
case "$build" in /*) ;; *) build="$root/$build" ;; esac
command -v import >/dev/null || { echo "screens.sh needs ImageMagick's import" >&2; exit 1; }
# Where the kernel starts no 32-bit program, the tour runs as a 64-bit program, in BUILD-x64.
. "$here/program-tree.sh"
kivo_program_tree "$build"
build=$KIVO_TREE
kivo_build_tree kivo_tour >/dev/null
bash "$here/prefix-setup.sh" "$build"

# The program looks for its tables beside itself and offers to make the folder; an installed program has it.
mkdir -p "$build/tests/Tables"
out="$build/screens"
rm -rf "$out"
mkdir -p "$out"
request="$out/request"

. "$here/session.sh" "$build"
kivo_session_start
KIVO_TOUR_REPAINT=$repaint wine "$build/tests/kivo_tour.exe" "$(winepath -w "$request")" >"$out/tour.log" 2>&1 &
tour=$!
# Poll for requests while the tour runs; the program waits for each picture before it goes on. A program that
# asks for nothing in a minute (a paint that never ends starves its timer) is pictured and stopped.
last=$SECONDS
while kill -0 "$tour" 2>/dev/null; do
  if [ -s "$request" ]; then
    name=$(cat "$request")
    import -window root "$out/$name.png"
    rm -f "$request"
    echo "$out/$name.png"
    last=$SECONDS
  elif [ $((SECONDS - last)) -gt 60 ]; then
    import -window root "$out/stuck.png"
    echo "the tour stopped coming to rest (see $out/stuck.png and $out/tour.log)" >&2
    kill "$tour"
    exit 1
  fi
  sleep 0.05
done
wait "$tour"
[ -n "$repaint" ] || exit 0
differing=0
for again in "$out"/*-repaint.png; do
  [ -e "$again" ] || continue
  first=${again%-repaint.png}.png
  pixels=$(compare -metric AE "$first" "$again" null: 2>&1 || true)
  if [ "$pixels" = 0 ]; then
    rm -f "$again"
  else
    echo "$(basename "$first" .png): $pixels pixels differ from a full repaint (see $again)"
    differing=$((differing + 1))
  fi
done
echo "$differing pictures differ from a full repaint"
