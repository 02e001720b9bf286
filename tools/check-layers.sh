#!/usr/bin/env bash
# Keeps the layers of docs/ARCHITECTURE.md apart; prints each fault with its file and line, or its library.
#   check-layers.sh [SOURCE ROOT]      the sources: any #include, quoted or in angle brackets, that runs upward
#                                      through the layers; a system header in the core other than the ones
#                                      listed below; a call of the system's windows, menus, dialogs or drawing
#                                      in the core; two classes or structs of one name at namespace scope
#   check-layers.sh --imports BUILD    the built core libraries: every name they leave to the linker comes from
#                                      the core itself, KERNEL32, ADVAPI32 or the C and C++ runtime (or the
#                                      short list below); this sees through macros, wrappers and missed names
# The source root defaults to the repository holding this script.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
core="foundation formula model analysis"

# Names the core may take from another system library, each with its reason. None so far.
allowed_imports=()

check_imports() {
    local build=$1 nm cxx file name
    nm=$(sed -n 's/^CMAKE_NM:[A-Z]*=//p' "$build/CMakeCache.txt")
    cxx=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' "$build"/CMakeFiles/*/CMakeCXXCompiler.cmake | head -1)
    local libraries=() runtime=()
    for layer in $core; do
        file="$build/libkivo_$layer.a"
        if [ ! -f "$file" ]; then
            echo "$file: not built (build first)"
            return 1
        fi
        libraries+=("$file")
    done
    # The kernel's and the registry's import libraries, the C runtime (with its start-up object and the
    # compiler's support) and the C++ runtime.
    for name in libkernel32.a libadvapi32.a libmsvcrt.a libmoldname.a libmingwex.a libmingw32.a crt2.o \
        libgcc.a libgcc_eh.a libwinpthread.a libstdc++.a; do
        file=$("$cxx" -print-file-name="$name")
        if [ ! -f "$file" ]; then
            echo "$name: not found beside $cxx"
            return 1
        fi
        runtime+=("$file")
    done
    local defined status=0
    defined=$({
        "$nm" --defined-only "${libraries[@]}" "${runtime[@]}" 2>/dev/null | awk 'NF >= 3 { print $3 }'
        printf '%s\n' "${allowed_imports[@]%% *}"
    } | sort -u)
    for file in "${libraries[@]}"; do
        while IFS= read -r name; do
            name=${name#__imp_}
            name=${name#_}
            echo "$(basename "$file"): uses ${name%@*}, which is none of the core's, the kernel's or the runtime's"
            status=1
        done < <("$nm" -u "$file" | awk 'NF == 2 { print $2 }' | sort -u | comm -23 - <(echo "$defined"))
    done
    return $status
}

if [ "${1:-}" = "--imports" ]; then
    [ $# -ge 2 ] || { echo "usage: check-layers.sh --imports BUILD" >&2; exit 2; }
    check_imports "$2"
    exit
fi

root=${1:-$(cd "$here/.." && pwd)}
cd "$root"

# The folders each layer may include besides its own.
allowed() {
    case "$1" in
    foundation) echo "foundation" ;;
    formula) echo "foundation formula" ;;
    model) echo "foundation formula model" ;;
    analysis) echo "foundation formula model analysis" ;;
    framework) echo "foundation framework" ;;
    # The program, bottom to top: each folder sees the core, the framework and the folders before it.
    *)
        case " $program " in *" $1 "*) ;; *) return ;; esac
        local below="foundation formula model analysis framework" folder
        for folder in $program; do
            below+=" $folder"
            [ "$folder" = "$1" ] && break
        done
        echo "$below" ;;
    esac
}
# The program's folders bottom to top, as the build lists them.
program=$(sed -n 's/^set(KIVO_PROGRAM_FOLDERS \(.*\))$/\1/p' CMakeLists.txt)
layers="foundation formula model analysis framework $program"

status=0
for layer in $layers; do
    [ -d "$layer" ] || continue
    ok=" $(allowed "$layer") "
    while IFS= read -r hit; do
        file=${hit%%:*}
        rest=${hit#*:}
        line=${rest%%:*}
        # The included name with its opening quote or bracket.
        include=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*\(["<][^">]*\)[">].*/\1/p' <<<"${rest#*:}")
        case "$include" in
        [\"\<]*/*)
            # A folder of the repository, whichever form names it.
            target=${include:1}
            target=${target%%/*}
            [ -d "$target" ] || continue
            case "$ok" in
            *" $target "*) ;;
            *)
                echo "$file:$line: $layer includes $target/ (upward)"
                status=1
                ;;
            esac
            ;;
        \<*.h)
            include=${include:1}
            # The core's system headers: windows.h for the kernel's files, clock and registry, and the
            # C and C++ library; a header of the window system or of another library is the program's.
            case " $core " in *" $layer "*) ;; *) continue ;; esac
            [ "$include" = windows.h ] && continue
            echo "$file:$line: $layer includes <$include>, a system header the core does not use"
            status=1
            ;;
        esac
    done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' "$layer" --include='*.h' --include='*.cpp' || true)
done

# The core reaches the screen only through the host seam: no window, menu, dialog, drawing, cursor, clipboard
# or message call of the system in foundation, formula, model or analysis. (The import check of the built
# libraries is the complete one; this one names the file and line.)
ui_calls='GetDC|GetWindowDC|ReleaseDC|CreateCompatibleDC|CreateDC|DeleteDC|GetDeviceCaps|SelectObject|DeleteObject'
ui_calls+='|GetStockObject|CreateFont[A-Za-z]*|CreatePen|CreateSolidBrush|CreateBrush[A-Za-z]*|CreateBitmap'
ui_calls+='|CreateCompatibleBitmap|CreateRectRgn[A-Za-z]*|BitBlt|StretchBlt|PatBlt|TextOut|ExtTextOut|DrawText'
ui_calls+='|GetTextExtentPoint32|GetTextMetrics|SetTextColor|SetBkColor|SetBkMode|MoveToEx|LineTo|Polyline'
ui_calls+='|Polygon|Rectangle|Ellipse|FillRect|FrameRect|InvertRect|DrawFocusRect|DrawIcon|BeginPaint|EndPaint'
ui_calls+='|CreateWindow(Ex)?|DestroyWindow|ShowWindow|MoveWindow|SetWindowPos|UpdateWindow|InvalidateRect'
ui_calls+='|ValidateRect|EnableWindow|IsWindow(Visible|Enabled)?|SetFocus|GetFocus|SetActiveWindow'
ui_calls+='|GetActiveWindow|SetForegroundWindow|GetForegroundWindow|FindWindow(Ex)?|EnumWindows'
ui_calls+='|EnumChildWindows|GetParent|SetParent|GetClientRect|GetWindowRect|ClientToScreen|ScreenToClient'
ui_calls+='|SetWindowText|GetWindowText|SetWindowLong(Ptr)?|GetWindowLong(Ptr)?|RegisterClass(Ex)?'
ui_calls+='|DefWindowProc|CallWindowProc|GetDlgItem|SetDlgItemText|GetDlgItemText|SendDlgItemMessage'
ui_calls+='|DialogBox[A-Za-z]*|CreateDialog[A-Za-z]*|EndDialog|MessageBox(Ex)?|MessageBeep|SendMessage'
ui_calls+='|PostMessage|PostQuitMessage|GetMessage|PeekMessage|DispatchMessage|TranslateMessage'
ui_calls+='|SetTimer|KillTimer|LoadMenu|DestroyMenu|CreateMenu|CreatePopupMenu|AppendMenu|InsertMenu'
ui_calls+='|ModifyMenu|DeleteMenu|RemoveMenu|CheckMenuItem|EnableMenuItem|GetSubMenu|GetMenuItemCount'
ui_calls+='|TrackPopupMenu(Ex)?|DrawMenuBar|SetMenu|GetMenu|LoadAccelerators|LoadIcon|LoadBitmap|LoadImage'
ui_calls+='|LoadCursor|SetCursor|ShowCursor|GetCursorPos|SetCapture|ReleaseCapture|GetKeyState'
ui_calls+='|GetAsyncKeyState|GetSystemMetrics|OpenClipboard|CloseClipboard|EmptyClipboard|SetClipboardData'
ui_calls+='|GetClipboardData|GetOpenFileName|GetSaveFileName|ChooseFont|ChooseColor|PrintDlg|PageSetupDlg'
ui_calls+='|WinHelp|Dde[A-Z][A-Za-z]*'
for layer in $core; do
    [ -d "$layer" ] || continue
    while IFS= read -r hit; do
        file=${hit%%:*}
        rest=${hit#*:}
        echo "$file:${rest%%:*}: $layer calls the user interface of the system (the host seam gives it)"
        status=1
    done < <(grep -rnE "(^|[^A-Za-z0-9_.>])($ui_calls)[AW]?[[:space:]]*\(" "$layer" --include='*.h' --include='*.cpp' || true)
done

# One type per name: two classes or structs of one name at namespace scope, in any two files of the project,
# break the one-definition rule once both are linked into a program (the linker keeps either's inline
# members). Types of an unnamed namespace, nested types and forward declarations do not count.
types=$(find $layers tests bench \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort | xargs awk -f "$here/type-definitions.awk")
while IFS= read -r name; do
    [ -n "$name" ] || continue
    echo "$name is defined more than once:" $(awk -v name="$name" '$1 == name { print $2 }' <<<"$types")
    status=1
done < <(awk '{ print $1 }' <<<"$types" | sort | uniq -d)
exit $status
