#!/usr/bin/env bash
# Creates the build tree's private Wine prefix once: prefix-setup.sh BUILD
# Order matters: wineboot -i, then wait for the server to finish, and only afterwards keep one running.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" "$1"
stamp="$WINEPREFIX/.kivo-ready"
[ -f "$stamp" ] && exit 0

rm -rf "$WINEPREFIX"
wineboot -i >"$KIVO_BUILD/wineboot.log" 2>&1 </dev/null
wineserver -w

# Debian's Wine leaves the Fonts folder empty: bring in Wine's own fonts, and map the classic faces
# to the Liberation fonts so each face keeps its own metrics.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
for dir in /usr/share/wine/fonts /usr/lib/wine/fonts; do
  [ -d "$dir" ] && cp -f "$dir"/* "$fonts"/ 2>/dev/null || true
done
for ttf in /usr/share/fonts/truetype/liberation/*.ttf; do
  [ -f "$ttf" ] && cp -f "$ttf" "$fonts"/
done

reg="$KIVO_BUILD/kivo-prefix.reg"
cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"Times New Roman"="Liberation Serif"
"Courier New"="Liberation Mono"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"=""
REG
wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >>"$KIVO_BUILD/wineboot.log" 2>&1 </dev/null
wineserver -w
touch "$stamp"
