# Sourced by the other tools: the Wine environment of one build directory ($1, made absolute in KIVO_BUILD).
# Each build tree has its own 32-bit prefix, so registry and INI tests never touch anyone's own Wine settings.
# The program started by kivo.sh (KIVO_PREFIX=userprefix) has a prefix of its own, with a default printer and
# the person's preferences, which the tests must not see.
KIVO_BUILD=$(cd "${1:?build directory}" && pwd)
export WINEPREFIX="$KIVO_BUILD/${KIVO_PREFIX:-wineprefix}"
export WINEARCH=win32
# KIVO_WINEDEBUG turns Wine channels on for a debugging run (say warn+heap); else the tests' own default
# (KIVO_DEFAULT_WINEDEBUG, the heap checks of some test programs); quiet otherwise.
export WINEDEBUG=${KIVO_WINEDEBUG:-${KIVO_DEFAULT_WINEDEBUG:--all}}
export WINEDLLOVERRIDES="mscoree,mshtml="
# The virtual screen a session started for this prefix (session.sh) is named in a file beside it; one left
# by a session that was killed names a screen that is gone (its socket with it).
KIVO_DISPLAY_FILE="$KIVO_BUILD/${KIVO_PREFIX:-wine}.display"
if [ -f "$KIVO_DISPLAY_FILE" ]; then
  kivo_display=$(cat "$KIVO_DISPLAY_FILE")
  if [ -S "/tmp/.X11-unix/X${kivo_display#:}" ]; then
    DISPLAY=$kivo_display
    export DISPLAY
  fi
fi
