# Sourced by the other tools: the Wine environment of one build directory ($1, made absolute in KIVO_BUILD).
# Each build tree has its own prefix (32-bit; 64-bit for a 64-bit tree), so registry and INI tests never touch
# anyone's own Wine settings.
# The program started by kivo.sh (KIVO_PREFIX=userprefix) has a prefix of its own, with a default printer and
# the person's preferences, which the tests must not see.
KIVO_BUILD=$(cd "${1:?build directory}" && pwd)
export WINEPREFIX="$KIVO_BUILD/${KIVO_PREFIX:-wineprefix}"
export WINEARCH=win32
# A 64-bit build tree (cmake/mingw-x86_64.cmake) runs under 64-bit Wine in a 64-bit prefix.
if grep -q '^CMAKE_TOOLCHAIN_FILE.*mingw-x86_64' "$KIVO_BUILD/CMakeCache.txt" 2>/dev/null; then
  export WINEARCH=win64
  export WINELOADER=/usr/lib/wine/wine64
  kivo_wine64_path=$(cd "$(dirname "${BASH_SOURCE[0]}")/wine64" && pwd)
  case ":$PATH:" in *":$kivo_wine64_path:"*) ;; *) PATH="$kivo_wine64_path:$PATH" ;; esac
fi
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
