#!/usr/bin/env bash
# Fails on any #include that runs upward through the layers (docs/ARCHITECTURE.md) and prints its file and
# line: check-layers.sh [SOURCE ROOT]   (default: the repository holding this script)
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
exit $status
