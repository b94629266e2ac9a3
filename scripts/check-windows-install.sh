#!/usr/bin/env bash
# Checks the Windows installer of a cross build under Wine, in the build's test prefix:
#  - a silent install (/S) into the default folder, Program Files\Korvane: the files are
#    there and the same as built, the Start-menu shortcuts Korvane and Uninstall exist and
#    point into that folder, the uninstall entry of Programs and Features names Korvane at
#    the project version;
#  - the installed program's resources (version, icon, About picture, manifest), and the
#    program itself: started as a user would, its window "Korvane" appears with the right
#    client size, it keeps running, and it ends with exit code 0 on WM_CLOSE;
#  - a silent reinstall over it, which runs the old uninstaller first;
#  - a silent uninstall: the folder, the shortcuts and the registry entries are gone;
#  - a silent install into a folder given with /D=, and its uninstall.
# The prefix is left as it was found, without Korvane.
#
# Usage: scripts/check-windows-install.sh BUILD_DIR      (after cmake --build and cpack)
#        scripts/check-windows-install.sh --check-exe KORVANE.EXE OBJDUMP
# The second form (the test korvane_exe_size_and_imports) checks the program file alone:
# at most 2 MiB, a 64-bit GUI program the Windows 7 loader accepts, importing only DLLs
# that come with Windows and none of the functions Windows 7 lacks (DPI functions of
# Windows 10 have to be looked up with GetProcAddress).
set -uo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
wine_prefix_sh=$source_dir/scripts/wine-prefix.sh

# --- the program file ----------------------------------------------------------------------
check_exe() {
    local exe=$1 objdump=$2 failures=0
    local max_size=$((2 * 1024 * 1024))
    [ -f "$exe" ] || { echo "no $exe"; return 1; }
    local size
    size=$(stat -c %s "$exe")
    if [ "$size" -gt "$max_size" ]; then
        echo "FAILED: $exe is $size bytes, more than 2 MiB ($max_size)"
        failures=$((failures + 1))
    fi

    local headers
    headers=$("$objdump" -p "$exe") || { echo "FAILED: $objdump cannot read $exe"; return 1; }
    grep -q '^Magic[[:space:]]*020b' <<<"$headers" ||
        { echo "FAILED: not a 64-bit (PE32+) program"; failures=$((failures + 1)); }
    grep -q '^Subsystem[[:space:]]*00000002' <<<"$headers" ||
        { echo "FAILED: not a GUI (windows subsystem) program"; failures=$((failures + 1)); }
    # Windows 7 is 6.1: a program asking for a newer subsystem does not load there.
    local subsystem
    subsystem=$(awk '/^MajorSubsystemVersion/ {major=$2} /^MinorSubsystemVersion/ {minor=$2}
                     END {print major * 100 + minor}' <<<"$headers")
    if [ "${subsystem:-999}" -gt 601 ]; then
        echo "FAILED: subsystem version $((subsystem / 100)).$((subsystem % 100)) is newer than Windows 7 (6.1)"
        failures=$((failures + 1))
    fi

    # DLLs every supported Windows has, in the system directory.
    local allowed=" kernel32.dll user32.dll gdi32.dll comctl32.dll msvcrt.dll uxtheme.dll oleacc.dll
        shell32.dll advapi32.dll ole32.dll oleaut32.dll comdlg32.dll shlwapi.dll version.dll
        imm32.dll dwmapi.dll usp10.dll msimg32.dll winmm.dll "
    local dlls dll
    dlls=$(awk '/DLL Name:/ {print tolower($3)}' <<<"$headers" | sort -u)
    [ -n "$dlls" ] || { echo "FAILED: no import table found"; failures=$((failures + 1)); }
    for dll in $dlls; do
        if [[ "$allowed" != *" $dll "* ]]; then
            echo "FAILED: imports $dll, which is not a Windows system DLL (or not on Windows 7)"
            failures=$((failures + 1))
        fi
    done

    # Functions of Windows 8.1 and 10 that a direct import would make the loader demand.
    local newer="GetDpiForWindow GetDpiForSystem GetSystemMetricsForDpi SystemParametersInfoForDpi
        AdjustWindowRectExForDpi SetProcessDpiAwarenessContext SetThreadDpiAwarenessContext
        GetThreadDpiAwarenessContext GetWindowDpiAwarenessContext EnableNonClientDpiScaling
        AreDpiAwarenessContextsEqual GetAwarenessFromDpiAwarenessContext LogicalToPhysicalPointForPerMonitorDPI
        GetDpiForMonitor SetProcessDpiAwareness GetProcessDpiAwareness OpenThemeDataForDpi"
    local imported function
    imported=$(awk '/DLL Name:/ {inside=1; next} inside && NF >= 3 && $1 ~ /^[0-9a-f]+$/ {print $3}' <<<"$headers")
    for function in $newer; do
        if grep -qx "$function" <<<"$imported"; then
            echo "FAILED: imports $function directly; Windows 7 lacks it (look it up with GetProcAddress)"
            failures=$((failures + 1))
        fi
    done

    echo "$(basename "$exe"): $size bytes, imports: $(tr '\n' ' ' <<<"$dlls")"
    [ "$failures" -eq 0 ]
}

if [ "${1:-}" = --check-exe ]; then
    [ $# -eq 3 ] || { echo "usage: $0 --check-exe KORVANE.EXE OBJDUMP"; exit 2; }
    check_exe "$2" "$3"
    exit
fi

# --- the installer ---------------------------------------------------------------------------
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR"; exit 2; }
build=$(cd "$1" && pwd) || exit 1
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "no project version in $build/CMakeCache.txt"; exit 1; }
installer=$build/korvane-$version-win64.exe
built_exe=$build/win32/korvane.exe
launch=$build/launch.exe
for file in "$installer" "$built_exe" "$launch"; do
    [ -f "$file" ] || { echo "missing $file (build, then run cpack in $build)"; exit 1; }
done

prefix=$build/wine-prefix
drive_c=$prefix/drive_c
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvane'
vendor_key='HKLM\Software\Korvane\Korvane'
start_menu=$drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Korvane

failures=0
check() {
    local what=$1
    shift
    if "$@"; then
        echo "  ok: $what"
    else
        echo "  FAILED: $what"
        failures=$((failures + 1))
    fi
}

wine_run() { bash "$wine_prefix_sh" run "$prefix" "$@"; }
# `reg query` of one value: prints the data, or nothing when the value or key is missing.
reg_value() {
    wine_run reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name && $2 ~ /^REG_/ {sub(/^[ \t]*[^ \t]+[ \t]+REG_[A-Z_]+[ \t]+/, ""); print}'
}
key_exists() { wine_run reg query "$1" >/dev/null 2>&1; }
key_missing() { ! key_exists "$1"; }
lnk_points_to() { [ -f "$1" ] && grep -aq "$2" "$1"; }

# Waits (up to 60 s) until PATH is gone: NSIS uninstallers copy themselves to the temporary
# folder and do their work from there, after the started process has already ended.
wait_gone() {
    for _ in $(seq 300); do
        [ -e "$1" ] || return 0
        sleep 0.2
    done
    return 1
}

# Removes what a failed earlier run may have left, so every run starts from the same state.
clean_up() {
    local dir
    for dir in "$drive_c/Program Files/Korvane" "$drive_c/Tools/Korvane"; do
        if [ -f "$dir/Uninstall.exe" ]; then
            wine_run "$dir/Uninstall.exe" /S >/dev/null 2>&1
            wait_gone "$dir"
        fi
        rm -rf "$dir"
    done
    rm -rf "$start_menu"
    rmdir "$drive_c/Tools" 2>/dev/null
    wine_run reg delete "$uninstall_key" /f >/dev/null 2>&1
    wine_run reg delete 'HKLM\Software\Korvane' /f >/dev/null 2>&1
}

start=$SECONDS
bash "$wine_prefix_sh" start "$prefix" || exit 1
trap 'clean_up; bash "$wine_prefix_sh" stop "$prefix" >/dev/null' EXIT
clean_up

installed_files() {
    local dir=$1
    check "korvane.exe installed, the same as built" cmp -s "$built_exe" "$dir/korvane.exe"
    check "README.txt installed, the same as in the source" cmp -s "$source_dir/win32/README.txt" "$dir/README.txt"
    check "uninstaller installed" test -f "$dir/Uninstall.exe"
}

uninstalled() {
    local dir=$1
    check "uninstaller ended and removed $(basename "$dir")" wait_gone "$dir"
    # The uninstaller goes on from a copy of itself: the shortcuts go after the folder.
    check "Start-menu folder removed" wait_gone "$start_menu"
    check "uninstall entry removed" key_missing "$uninstall_key"
    check "installation folder entry removed" test -z "$(reg_value "$vendor_key" '(Default)')"
}

echo "silent install into the default folder"
installer_start=$SECONDS
wine_run "$installer" /S
check "installer exit code 0" test $? -eq 0
echo "  (installed in $((SECONDS - installer_start)) s)"
dir="$drive_c/Program Files/Korvane"
installed_files "$dir"
check "Start-menu shortcut Korvane.lnk points to korvane.exe" \
    lnk_points_to "$start_menu/Korvane.lnk" 'korvane.exe'
check "Start-menu shortcut Uninstall.lnk points to Uninstall.exe" \
    lnk_points_to "$start_menu/Uninstall.lnk" 'Uninstall.exe'
check "uninstall entry: DisplayName Korvane" test "$(reg_value "$uninstall_key" DisplayName)" = Korvane
check "uninstall entry: DisplayVersion $version" test "$(reg_value "$uninstall_key" DisplayVersion)" = "$version"
check "uninstall entry: UninstallString" \
    test "$(reg_value "$uninstall_key" UninstallString)" = '"C:\Program Files\Korvane\Uninstall.exe"'
check "uninstall entry: DisplayIcon is korvane.exe" \
    test "$(reg_value "$uninstall_key" DisplayIcon)" = 'C:\Program Files\Korvane\korvane.exe'

echo "the installed program"
check "resources: version $version, icon, About picture, manifest" \
    wine_run "$launch" --check-resources "$version" 'C:\Program Files\Korvane\korvane.exe'
check "starts, shows its window, keeps running, closes with exit code 0" \
    wine_run "$launch" --client-twips 5370x4005 'C:\Program Files\Korvane\korvane.exe'

echo "silent reinstall over the installed version"
wine_run "$installer" /S
check "installer exit code 0" test $? -eq 0
installed_files "$dir"
check "uninstall entry still there" key_exists "$uninstall_key"

echo "silent uninstall"
wine_run "$dir/Uninstall.exe" /S
check "uninstaller exit code 0" test $? -eq 0
uninstalled "$dir"

echo "silent install into a folder given with /D="
# NSIS takes /D= only last and unquoted. Wine quotes an argument that holds a space when it
# makes the Windows command line, so the folder here has none (the default one has).
wine_run "$installer" /S '/D=C:\Tools\Korvane'
check "installer exit code 0" test $? -eq 0
dir="$drive_c/Tools/Korvane"
installed_files "$dir"
check "uninstall entry: UninstallString in that folder" \
    test "$(reg_value "$uninstall_key" UninstallString)" = '"C:\Tools\Korvane\Uninstall.exe"'
check "nothing in Program Files" test ! -e "$drive_c/Program Files/Korvane"
wine_run "$dir/Uninstall.exe" /S
check "uninstaller exit code 0" test $? -eq 0
uninstalled "$dir"

echo
if [ "$failures" -eq 0 ]; then
    echo "installer check: all passed in $((SECONDS - start)) s"
else
    echo "installer check: $failures FAILED"
fi
[ "$failures" -eq 0 ]
