#!/usr/bin/env bash
# Fails on any #include that runs upward through the layers (docs/ARCHITECTURE.md), and on any call of the
# system's windows, dialogs or drawing in the core; prints each one's file and line.
# Usage: check-layers.sh [SOURCE ROOT]   (default: the repository holding this script)
set -euo pipefail
root=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
cd "$root"

# The folders each layer may include besides its own.
allowed() {
    case "$1" in
    foundation) echo "foundation" ;;
    formula) echo "foundation formula" ;;
    model) echo "foundation formula model" ;;
    analysis) echo "foundation formula model analysis" ;;
    framework) echo "foundation framework" ;;
    app | treewin | graph | dialogs | influence | script)
        echo "foundation formula model analysis framework app treewin graph dialogs influence script" ;;
    *) echo "" ;;
    esac
}

status=0
for layer in foundation formula model analysis framework app treewin graph dialogs influence script; do
    [ -d "$layer" ] || continue
    ok=" $(allowed "$layer") "
    while IFS= read -r hit; do
        file=${hit%%:*}
        rest=${hit#*:}
        line=${rest%%:*}
        target=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^/"]*\)\/.*/\1/p' <<<"${rest#*:}")
        [ -n "$target" ] || continue
        case "$ok" in
        *" $target "*) ;;
        *)
            echo "$file:$line: $layer includes $target/ (upward)"
            status=1
            ;;
        esac
    done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$layer" --include='*.h' --include='*.cpp' || true)
done

# The core reaches the screen only through the host seam: no window, dialog, drawing or cursor call of the
# system in foundation, formula, model or analysis.
ui_calls='GetDC|GetWindowDC|ReleaseDC|CreateCompatibleDC|CreateDC[AW]?|DeleteDC|GetDeviceCaps|SelectObject|DeleteObject'
ui_calls+='|CreateFont[A-Za-z]*|CreateWindow(Ex)?[AW]?|DestroyWindow|BeginPaint|EndPaint|MessageBox[AW]?'
ui_calls+='|DialogBox[A-Za-z]*|SendMessage[AW]?|PostMessage[AW]?|SetCursor|LoadCursor[AW]?'
for layer in foundation formula model analysis; do
    [ -d "$layer" ] || continue
    while IFS= read -r hit; do
        file=${hit%%:*}
        rest=${hit#*:}
        echo "$file:${rest%%:*}: $layer calls the user interface of the system (the host seam gives it)"
        status=1
    done < <(grep -rnE "\b($ui_calls)[[:space:]]*\(" "$layer" --include='*.h' --include='*.cpp' || true)
done
exit $status
