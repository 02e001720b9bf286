#!/usr/bin/env bash
# Creates the build tree's private Wine prefix once: prefix-setup.sh BUILD
# Order matters: wineboot -i, then wait for the server to finish, and only afterwards keep one running.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" "$1"
stamp="$WINEPREFIX/.kivo-ready"
server_stamp="$WINEPREFIX/.kivo-sheet-server"
menu_stamp="$WINEPREFIX/.kivo-menu-font"

# Menus in the dialogs' face, "MS Sans Serif" at 8 points: Wine draws a mnemonic's underline about one letter
# right of its letter in the default menu face (Tahoma at 8 points), in every program alike. Wine keeps the
# font as the LOGFONTW of the metric: height -11, weight 400, variable pitch, Swiss.
menu_font_lines() {
  local face="MS Sans Serif" hex i
  hex="f5,ff,ff,ff,00,00,00,00,00,00,00,00,00,00,00,00,90,01,00,00,00,00,00,00,00,00,00,22"
  for ((i = 0; i < 32; i++)); do
    if [ $i -lt ${#face} ]; then
      hex+=$(printf ',%02x,00' "'${face:$i:1}")
    else
      hex+=",00,00"
    fi
  done
  printf '\n[HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics]\n"MenuFont"=hex:%s\n' "$hex"
}
# A prefix made before the menu font was set gets it on its own.
set_menu_font() {
  local reg="$KIVO_BUILD/kivo-menu-font.reg"
  { echo REGEDIT4; menu_font_lines; } >"$reg"
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >>"$KIVO_BUILD/wineboot.log" 2>&1 </dev/null
  wineserver -w
  touch "$menu_stamp"
}

# The tests' spreadsheet: an automation server of the build tree (tests/kivo_sheetserver.exe), known to COM in
# this prefix only under the program id the spreadsheet links start. Registered once the prefix is whole:
# activation in a half-made prefix hangs for minutes.
register_sheet_server() {
  local class='{7D3E2B41-96C5-4A8F-B1E2-5C0F3A9D6E17}'
  local server
  server=$(winepath -w "$KIVO_BUILD/tests/kivo_sheetserver.exe" 2>/dev/null | sed 's/\\/\\\\/g')
  local reg="$KIVO_BUILD/kivo-sheet-server.reg"
  cat >"$reg" <<REG
REGEDIT4

[HKEY_CLASSES_ROOT\\Excel.Application\\CLSID]
@="$class"

[HKEY_CLASSES_ROOT\\CLSID\\$class]
@="KIVO test workbooks"

[HKEY_CLASSES_ROOT\\CLSID\\$class\\LocalServer32]
@="$server"

[HKEY_CLASSES_ROOT\\CLSID\\$class\\ProgID]
@="Excel.Application"
REG
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >>"$KIVO_BUILD/wineboot.log" 2>&1 </dev/null
  wineserver -w
  touch "$server_stamp"
}

if [ -f "$stamp" ]; then
  [ -f "$menu_stamp" ] || set_menu_font
  [ -f "$server_stamp" ] || register_sheet_server
  exit 0
fi

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
menu_font_lines >>"$reg"
wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >>"$KIVO_BUILD/wineboot.log" 2>&1 </dev/null
wineserver -w
touch "$menu_stamp" "$stamp"
register_sheet_server
