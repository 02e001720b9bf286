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
if [ -f "$KIVO_BUILD/wine.display" ]; then
  DISPLAY=$(cat "$KIVO_BUILD/wine.display")
  export DISPLAY
fi
