#!/usr/bin/env bash
# Fails when the program's code names a dialog template, menu, accelerator table, icon, cursor or bitmap by a
# number that no resource of the program carries, and prints the file and line:
#   check-resources.sh [SOURCE ROOT]   (default: the repository holding this script)
# A resource id in code is written as `...TemplateId = N`, `...Resource = N`, `ResourceId(N, ...)`,
# `ProgramDialog name(N)` or `AppDialog(N)`.
set -euo pipefail
root=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
cd "$root"

# Every id the resources define: the dialog catalogue, the pictures and the resource scripts.
carried=$( {
    sed -n 's/^dialog[[:space:]]\+\([0-9]\+\).*/\1/p' resources/dialogs/*.dlg
    sed -n 's/^\(bitmap\|icon\)[[:space:]]\+//p' resources/art/*.art | tr ' ' '\n'
    sed -n 's/^cursor[[:space:]]\+\([0-9]\+\).*/\1/p' resources/art/*.art
    sed -n 's/^\([0-9]\+\)[[:space:]]\+\(DIALOG\|MENU\|ACCELERATORS\|ICON\|CURSOR\|BITMAP\)\b.*/\1/p' resources/*.rc
} | sort -u)

status=0
# One definition per dialog and picture: the linker keeps only one of two with the same type and id.
while IFS= read -r id; do
    [ -n "$id" ] || continue
    echo "$id is defined more than once" >&2
    status=1
done < <( {
    sed -n 's/^dialog[[:space:]]\+\([0-9]\+\).*/DIALOG \1/p' resources/dialogs/*.dlg
    sed -n 's/^\([0-9]\+\)[[:space:]]\+\(DIALOG\|BITMAP\|ICON\|CURSOR\)\b.*/\2 \1/p' resources/*.rc
    awk '$1 == "bitmap" || $1 == "icon" { for (i = 2; i <= NF; i++) print toupper($1), $i }
         $1 == "cursor" { print "CURSOR", $2 }' resources/art/*.art 2>/dev/null
} | sort | uniq -d)

folders=""
for folder in formula app treewin graph dialogs influence script; do
    [ -d "$folder" ] && folders="$folders $folder"
done
while IFS= read -r hit; do
    [ -n "$hit" ] || continue
    where=${hit%:*}
    id=${hit##*:}
    if ! grep -qx "$id" <<<"$carried"; then
        echo "no resource $id: $where" >&2
        status=1
    fi
done < <(grep -rnoE --include='*.cpp' --include='*.h' \
    '(TemplateId|Resource)[[:space:]]*=[[:space:]]*[0-9]+|ResourceId\([0-9]+|ProgramDialog [A-Za-z_]+\([0-9]+\)|AppDialog\([0-9]+\)' \
    $folders | sed -E 's/^([^:]+:[0-9]+):.*[^0-9]([0-9]+)\)?$/\1:\2/')
# Every menu item has its status-bar help: a string whose id is the item's command.
strings=$(sed -n 's/^[[:space:]]*\([0-9]\+\),.*/\1/p' resources/Strings.rc | sort -u)
while IFS= read -r id; do
    [ -n "$id" ] || continue
    if ! grep -qx "$id" <<<"$strings"; then
        echo "menu item $id has no status-bar help in resources/Strings.rc" >&2
        status=1
    fi
done < <(sed -n 's/.*MENUITEM[[:space:]]*"[^"]*"[[:space:]]*,[[:space:]]*\([0-9]\+\).*/\1/p' resources/Menus.rc | sort -u)
exit $status
