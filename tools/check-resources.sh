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

# The program's folders, as the build lists them.
program=$(sed -n 's/^set(KIVO_PROGRAM_FOLDERS \(.*\))$/\1/p' CMakeLists.txt)
folders=""
for folder in formula $program; do
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
# A menu text's mnemonic marks a letter: an "&" (not "&&") before a blank, a tab or the end of the text fails.
while IFS= read -r hit; do
    [ -n "$hit" ] || continue
    echo "mnemonic on no letter: resources/Menus.rc:$hit" >&2
    status=1
done < <(awk '/^[[:space:]]*(MENUITEM|POPUP)[[:space:]]*"/ {
        text = $0
        sub(/^[^"]*"/, "", text)
        sub(/".*$/, "", text)
        gsub(/&&/, "", text)
        if (text ~ /&([[:space:]]|\\t|$)/) print FNR ": " $0
    }' resources/Menus.rc)
# Every menu item has its status-bar help: a string whose id is the item's command.
strings=$(sed -n 's/^[[:space:]]*\([0-9]\+\),.*/\1/p' resources/Strings.rc | sort -u)
while IFS= read -r id; do
    [ -n "$id" ] || continue
    if ! grep -qx "$id" <<<"$strings"; then
        echo "menu item $id has no status-bar help in resources/Strings.rc" >&2
        status=1
    fi
done < <(sed -n 's/.*MENUITEM[[:space:]]*"[^"]*"[[:space:]]*,[[:space:]]*\([0-9]\+\).*/\1/p' resources/Menus.rc | sort -u)

# Program code names a resource's id by its generated name (CommandIds.h), never by its number: a number of 100
# or more that equals a command, menu, dialog or control id fails, unless that line, or a comment line right
# above it, says `// not a resource id` (a size or count that merely has the same value).
names=$(mktemp)
trap 'rm -f "$names" "$names.new"' EXIT
bash tools/command-ids.sh "$root" "$names"
while IFS= read -r hit; do
    [ -n "$hit" ] || continue
    echo "resource id by number, not by name: $hit" >&2
    status=1
done < <(find formula model $program -name '*.cpp' -o -name '*.h' 2>/dev/null |
    sort |
    xargs awk -v idfile="$names" '
        BEGIN { while ((getline line < idfile) > 0) if (match(line, /= [0-9]+;/)) id[substr(line, RSTART + 2, RLENGTH - 3)] = 1 }
        FNR == 1 { block = 0; marked = 0 }
        {
            line = $0
            exempt = marked
            marked = line ~ /^[ \t]*\/\/ not a resource id/
            if (exempt || line ~ /\/\/ not a resource id/) next
            if (block) { if (sub(/.*\*\//, "", line)) block = 0; else next }
            gsub(/"([^"\\]|\\.)*"/, "\"\"", line)
            gsub(/'"'"'([^'"'"'\\]|\\.)*'"'"'/, "0", line)
            sub(/\/\/.*/, "", line)
            gsub(/\/\*([^*]|\*[^\/])*\*\//, "", line)
            if (sub(/\/\*.*/, "", line)) block = 1
            if (line ~ /^[ \t]*#[ \t]*include/) next
            rest = line
            while (match(rest, /[0-9A-Za-z_.]+/)) {
                word = substr(rest, RSTART, RLENGTH)
                rest = substr(rest, RSTART + RLENGTH)
                if (word ~ /^[0-9]+$/ && word + 0 >= 100 && (word in id)) { print FILENAME ":" FNR ": " word; break }
            }
        }')
exit $status
