#!/usr/bin/env bash
# Writes the header that names every command, menu, accelerator table, dialog and dialog control id of the
# program's resources:   command-ids.sh SOURCE-ROOT OUTPUT
# Commands are named by their menu and item captions ("&Options" + "&Add Branches" is OptionsAddBranches),
# dialogs by their captions (a page by the "# Page:" line before it), controls by their texts or the label
# in front of them (a radio button by both); resources/names.txt names the rest and wins over a caption. Two ids that would take the
# same name fail the build.
set -euo pipefail
root=$1
out=$2
mkdir -p "$(dirname "$out")"
awk -v names="$root/resources/names.txt" '
function camel(text,    out, n, i, words, w) {
    sub(/\\t.*/, "", text)
    gsub(/\([^)]*\)/, "", text)
    gsub(/&/, "", text)
    gsub(/[^A-Za-z0-9]+/, " ", text)
    n = split(text, words, " ")
    out = ""
    for (i = 1; i <= n; ++i) {
        w = words[i]
        out = out toupper(substr(w, 1, 1)) substr(w, 2)
    }
    if (out ~ /^[0-9]/)
        out = "N" out
    return out
}
function quoted(line,    s) {
    if (!match(line, /"([^"]|"")*"/))
        return ""
    s = substr(line, RSTART + 1, RLENGTH - 2)
    gsub(/""/, "\"", s)
    return s
}
function name_command(id, name) {
    if (id in command || name == "")
        return
    command[id] = name
}
function fail(message) {
    print "command-ids.sh: " message > "/dev/stderr"
    failed = 1
    exit 1
}
BEGIN {
    while ((getline line < names) > 0) {
        split(line, f, " ")
        if (f[1] == "command") command[f[2]] = f[3]
        else if (f[1] == "menu") menu[f[2]] = f[3]
        else if (f[1] == "accelerators") accel[f[2]] = f[3]
        else if (f[1] == "control") controlName[f[2] SUBSEP f[3]] = f[4]
        else if (f[1] == "dialog") dialogGiven[f[2]] = f[3]
    }
}
# Menus.rc: macros of menu items, then MENU and ACCELERATORS blocks.
FILENAME ~ /Menus\.rc$/ {
    line = $0
    if (inDefine != "") {
        body[inDefine] = body[inDefine] "\n" line
        if (line !~ /\\[ \t]*$/) inDefine = ""
        next
    }
    if (match(line, /^#define[ \t]+[A-Z_]+/)) {
        split(line, f, /[ \t]+/)
        inDefine = f[2]
        body[inDefine] = ""
        next
    }
    if (line ~ /^[0-9]+[ \t]+MENU/) { split(line, f, /[ \t]+/); if (!(f[1] in menu)) fail("menu " f[1] " has no name"); depth = 0; inMenu = 1; next }
    if (line ~ /^[0-9]+[ \t]+ACCELERATORS/) { split(line, f, /[ \t]+/); if (!(f[1] in accel)) fail("accelerators " f[1] " have no name"); inAccel = 1; next }
    if (inAccel) {
        if (line ~ /^END/) { inAccel = 0; next }
        if (line ~ /,/) { split(line, f, /,[ \t]*/); keyed[f[2]] = 1 }
        next
    }
    if (inMenu) menu_line(line)
    next
}
function menu_line(line,    f, n, i, lines, id, text) {
    sub(/^[ \t]+/, "", line)
    sub(/[ \t]*\\[ \t]*$/, "", line)
    if (line in body) {
        n = split(body[line], lines, "\n")
        for (i = 1; i <= n; ++i) menu_line(lines[i])
        return
    }
    if (line ~ /^POPUP/) { popup[++depth] = camel(quoted(line)); return }
    if (line ~ /^BEGIN/) return
    if (line ~ /^END/) { if (--depth < 0) inMenu = 0; return }
    if (line ~ /^MENUITEM "/) {
        id = line
        sub(/.*,[ \t]*/, "", id)
        text = camel(quoted(line))
        name_command(id, text == "" ? "" : popup[depth] text)
        if (!(id in command)) fail("menu item " id " makes no name")
    }
}
# The dialog catalogue.
FILENAME ~ /\.dlg$/ {
    line = $0
    if (line ~ /^# Page:/) { page = line; sub(/^# Page:[ \t]*/, "", page); sub(/\.$/, "", page); next }
    if (line ~ /^#/ || line ~ /^[ \t]*$/) next
    if (line ~ /^dialog /) {
        split(line, f, /[ \t]+/)
        dialogId = f[2]
        caption = camel(quoted(line))
        if (caption == "" && page != "") caption = camel(page) "Page"
        if (caption == "") caption = "Dialog" dialogId
        if (caption in dialogNamed) caption = caption dialogId
        if (dialogId in dialogGiven) caption = dialogGiven[dialogId]
        dialogNamed[caption] = 1
        dialogName[dialogId] = caption
        dialogOrder[++dialogCount] = dialogId
        page = ""; label = ""
        next
    }
    if (line ~ /^end[ \t]*$/) { dialogId = ""; next }
    if (line ~ /^buttons/ || dialogId == "") next
    if (line ~ /^[ \t>]*group/) { label = ""; next }
    control_line(line)
    next
}
function control_line(line,    f, n, i, kind, id, text, name, suffix) {
    sub(/^[ \t>]+/, "", line)
    text = quoted(line)
    n = split(line, f, /[ \t]+/)
    kind = f[1]
    if (line !~ /^[a-z]+ /) return
    if (n < 2 || f[2] !~ /^-?[0-9]+$/) {
        if (kind == "text") label = camel(text)
        return
    }
    id = f[2]
    if (kind == "text") { name = camel(text); if (name == "") name = label; label = camel(text); suffix = "Text" }
    else if (kind == "button" || kind == "check") { name = camel(text); suffix = "" }
    # A radio button is named by the short label of its run: "Line Style:" "S&olid" is LineStyleSolid.
    else if (kind == "radio") { name = (length(label) <= 20 ? label : "") camel(text); suffix = "" }
    else { name = label; suffix = toupper(substr(kind, 1, 1)) substr(kind, 2) }
    if (id + 0 <= 2 || id == 111) return
    name = (name == "" ? toupper(substr(kind, 1, 1)) substr(kind, 2) id : name suffix)
    if ((dialogId SUBSEP id) in controlName) name = controlName[dialogId SUBSEP id]
    if ((dialogId SUBSEP name) in controlTaken) name = name id
    controlTaken[dialogId SUBSEP name] = 1
    controls[dialogId] = controls[dialogId] "constexpr unsigned " name " = " id ";\n"
}
END {
    if (failed) exit 1
    for (id in keyed) if (!(id in command)) fail("key command " id " has no name")
    print "#pragma once"
    print "// Generated by tools/command-ids.sh from resources/Menus.rc, resources/names.txt and resources/dialogs;"
    print "// do not edit."
    print ""
    print "// The commands: menu items, keys, tool-bar buttons and the commands no menu offers."
    print "namespace Cmd {"
    for (i = 0; i < 65536; ++i) {
        id = i ""
        if (!(id in command)) continue
        if (command[id] in used) fail("two commands named " command[id])
        used[command[id]] = 1
        print "constexpr unsigned " command[id] " = " id ";"
    }
    print "} // namespace Cmd"
    print ""
    print "namespace MenuRes {"
    for (i = 0; i < 65536; ++i) {
        if ((i "") in menu) print "constexpr unsigned " menu[i ""] " = " i ";"
        if ((i "") in accel) print "constexpr unsigned " accel[i ""] " = " i ";"
    }
    print "} // namespace MenuRes"
    print ""
    print "// The dialog templates, and in a namespace of each dialog its controls."
    print "namespace DialogRes {"
    for (i = 1; i <= dialogCount; ++i) print "constexpr unsigned " dialogName[dialogOrder[i]] " = " dialogOrder[i] ";"
    print "} // namespace DialogRes"
    print ""
    print "namespace Ctl {"
    for (i = 1; i <= dialogCount; ++i) {
        id = dialogOrder[i]
        if (controls[id] == "") continue
        printf "namespace %s {\n%s} // namespace %s\n", dialogName[id], controls[id], dialogName[id]
    }
    print "} // namespace Ctl"
}
' "$root/resources/Menus.rc" "$root"/resources/dialogs/*.dlg > "$out.new"
mv "$out.new" "$out"
