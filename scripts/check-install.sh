#!/usr/bin/env bash
# Checks what `cmake --install` and `cpack` make of a build directory:
#  - the install tree: program, desktop entry, hicolor icons in every size, AppStream
#    metainfo, all naming the same application id, validated with desktop-file-validate and
#    appstreamcli;
#  - the Debian package: its control fields and declared Depends, its contents against the
#    install tree; then it is unpacked into a scratch root and the unpacked program is
#    started offscreen (and under Xvfb when xvfb-run is installed), must stay up for a
#    moment and must end when sent SIGTERM.
# Nothing outside a temporary directory is changed; the package is not installed.
#
# Usage: scripts/check-install.sh BUILD_DIR      (a configured and built Korvane build)
# Needs: cmake/cpack, desktop-file-utils, appstream, dpkg-dev (dpkg-shlibdeps), binutils, file.
set -uo pipefail

# --run-program PROGRAM (used by this script itself): starts PROGRAM with the environment
# given, checks it is still running after 1.5 s, sends SIGTERM and expects it gone within
# 5 s, ended by that signal or quitting with status 0: no early exit, no crash, no hang.
# Prints one line, or the reason and the program's output; exits 0 when all went well.
if [ "${1:-}" = --run-program ] && [ $# -eq 2 ]; then
    log=$(mktemp /tmp/korvane-run.XXXXXX)
    "$2" >"$log" 2>&1 </dev/null &
    pid=$!
    trap '[ -z "$pid" ] || kill -KILL "$pid" 2>/dev/null; rm -f "$log"' EXIT
    sleep 1.5
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid"
        status=$?
        pid=
        echo "ended by itself within 1.5 s, status $status"
        tail -n 20 "$log"
        exit 1
    fi
    kill -TERM "$pid"
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "still running 5 s after SIGTERM"
        tail -n 20 "$log"
        exit 1
    fi
    wait "$pid"
    status=$?
    pid=
    # 143: ended by SIGTERM, the default for a program without a handler of its own.
    if [ "$status" -ne 143 ] && [ "$status" -ne 0 ]; then
        echo "ended with status $status after SIGTERM"
        tail -n 20 "$log"
        exit 1
    fi
    echo "ran 1.5 s, ended on SIGTERM (status $status)"
    exit 0
fi

if [ $# -ne 1 ] || [ ! -f "$1/CMakeCache.txt" ]; then
    echo "usage: $0 BUILD_DIR   (a configured and built Korvane build directory)" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/.." && pwd)

work=$(mktemp -d /tmp/korvane-check-install.XXXXXX)
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
pass() {
    passed=$((passed + 1))
    echo "PASS  $1"
}
fail() {
    failed=$((failed + 1))
    echo "FAIL  $1"
    if [ -n "${2:-}" ]; then
        sed -e '/^$/d' -e 's/^/      /' <<<"$2"
    fi
}
# check NAME COMMAND...: passes when COMMAND succeeds; shows its output when it does not.
check() {
    local name=$1 output
    shift
    if output=$("$@" 2>&1); then
        pass "$name"
    else
        fail "$name" "$output"
    fi
}
finish() {
    echo
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit
}

# Width and height of a PNG from its IHDR chunk, as "WxH".
png_size() {
    local w h
    w=$(od -An -tu1 -j16 -N4 "$1" | awk '{print ($1*16777216)+($2*65536)+($3*256)+$4}')
    h=$(od -An -tu1 -j20 -N4 "$1" | awk '{print ($1*16777216)+($2*65536)+($3*256)+$4}')
    echo "${w}x${h}"
}

# The value of KEY in the [Desktop Entry] group of a desktop file.
desktop_value() {
    awk -v key="$2" '
        /^\[/ { group = $0; next }
        group == "[Desktop Entry]" && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }
    ' "$1"
}

project_version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
# The application id the project gives the desktop entry, the icons, the metainfo and the
# program itself.
app_id=$(sed -n 's/^KORVANE_APP_ID:[A-Z]*=//p' "$build/CMakeCache.txt")
echo "Build: $build (Korvane ${project_version:-?})"

# ---------------------------------------------------------------- install tree
dest=$work/dest
if ! output=$(DESTDIR=$dest cmake --install "$build" --prefix /usr 2>&1); then
    fail "cmake --install into a scratch DESTDIR" "$output"
    finish
fi
pass "cmake --install into a scratch DESTDIR"

desktop=$dest/usr/share/applications/$app_id.desktop
metainfo=$dest/usr/share/metainfo/$app_id.metainfo.xml
icons=$dest/usr/share/icons/hicolor

check "program installed and executable: usr/bin/korvane" test -x "$dest/usr/bin/korvane"
check "desktop entry installed: usr/share/applications/$app_id.desktop" test -f "$desktop"
check "metainfo installed: usr/share/metainfo/$app_id.metainfo.xml" test -f "$metainfo"

icon_problems=
for size in 16 32 48 256; do
    png=$icons/${size}x${size}/apps/$app_id.png
    if [ ! -f "$png" ]; then
        icon_problems+="missing: ${png#"$dest"}"$'\n'
    elif [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" != 89504e470d0a1a0a ]; then
        icon_problems+="not a PNG: ${png#"$dest"}"$'\n'
    elif [ "$(png_size "$png")" != "${size}x${size}" ]; then
        icon_problems+="${png#"$dest"} is $(png_size "$png"), not ${size}x${size}"$'\n'
    fi
done
svg=$icons/scalable/apps/$app_id.svg
if [ ! -f "$svg" ]; then
    icon_problems+="missing: ${svg#"$dest"}"$'\n'
elif ! grep -q '<svg[ >]' "$svg" || ! grep -q '</svg>' "$svg"; then
    icon_problems+="not an SVG drawing: ${svg#"$dest"}"$'\n'
fi
if [ -z "$icon_problems" ]; then
    pass "hicolor icons: 16, 32, 48, 256 px PNG of the right sizes and a scalable SVG"
else
    fail "hicolor icons" "$icon_problems"
fi

if [ -f "$desktop" ]; then
    # Errors fail validation; warnings are failures here too, hints are not.
    if output=$(desktop-file-validate "$desktop" 2>&1) &&
        ! grep -qE '(error|warning):' <<<"$output"; then
        pass "desktop-file-validate"
    else
        fail "desktop-file-validate" "$output"
    fi

    entry_problems=
    [ "$(desktop_value "$desktop" Type)" = Application ] || entry_problems+="Type is not Application"$'\n'
    [ "$(desktop_value "$desktop" Name)" = Korvane ] || entry_problems+="Name is not Korvane"$'\n'
    for key in 'Name[zh_CN]' 'Comment' 'Comment[zh_CN]' 'Categories'; do
        [ -n "$(desktop_value "$desktop" "$key")" ] || entry_problems+="no $key"$'\n'
    done
    exec_line=$(desktop_value "$desktop" Exec)
    exec_program=${exec_line%% *}
    [ -x "$dest/usr/bin/$exec_program" ] ||
        entry_problems+="Exec=$exec_line does not name the installed program"$'\n'
    icon_name=$(desktop_value "$desktop" Icon)
    [ "$icon_name" = "$app_id" ] && [ -f "$icons/48x48/apps/$icon_name.png" ] ||
        entry_problems+="Icon=$icon_name is not the installed icon $app_id"$'\n'
    if [ -z "$entry_problems" ]; then
        pass "desktop entry: Name, zh_CN name and comment, Exec and Icon resolve"
    else
        fail "desktop entry contents" "$entry_problems"
    fi
fi

if [ -f "$metainfo" ]; then
    # appstreamcli spells "no network" --no-net from 0.12 on; older ones had --nonet.
    net_flag=--no-net
    appstreamcli validate --help 2>/dev/null | grep -q -- '--no-net' || net_flag=--nonet
    check "appstreamcli validate $net_flag" appstreamcli validate "$net_flag" "$metainfo"
    # Also checks that the launchable names a desktop entry present in the tree.
    check "appstreamcli validate-tree $net_flag" appstreamcli validate-tree "$net_flag" "$dest"

    meta_problems=
    grep -q "<id>$app_id</id>" "$metainfo" || meta_problems+="component id is not $app_id"$'\n'
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        meta_problems+="launchable is not $app_id.desktop"$'\n'
    grep -q '<metadata_license>CC0-1.0</metadata_license>' "$metainfo" ||
        meta_problems+="metadata_license is not CC0-1.0"$'\n'
    grep -q '<summary xml:lang="zh_CN">' "$metainfo" || meta_problems+="no zh_CN summary"$'\n'
    grep -q '<content_rating' "$metainfo" || meta_problems+="no content_rating"$'\n'
    newest=$(grep -o '<release [^>]*version="[^"]*"' "$metainfo" | head -n1 |
        sed 's/.*version="\([^"]*\)".*/\1/')
    [ -n "$project_version" ] && [ "$newest" = "$project_version" ] ||
        meta_problems+="newest release is '$newest', the project is '$project_version'"$'\n'
    if [ -z "$meta_problems" ]; then
        pass "metainfo: id, launchable, zh_CN summary, rating, release $newest is the project's"
    else
        fail "metainfo contents" "$meta_problems"
    fi
fi

# The running program announces the desktop entry's name to the desktop (Wayland app id).
check "the program carries the desktop file name $app_id" grep -aq "$app_id" "$build/korvane"

# ---------------------------------------------------------------- Debian package
pkgdir=$work/package
if ! output=$(cpack --config "$build/CPackConfig.cmake" -B "$pkgdir" 2>&1); then
    fail "cpack builds the .deb" "$output"
    finish
fi
shopt -s nullglob
debs=("$pkgdir"/korvane_*.deb)
shopt -u nullglob
if [ "${#debs[@]}" -ne 1 ]; then
    fail "cpack builds one korvane_*.deb" "$output"
    finish
fi
deb=${debs[0]}
pass "cpack builds $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
control_problems=
[ "$(field Package)" = korvane ] || control_problems+="Package is '$(field Package)'"$'\n'
[ "$(field Version)" = "$project_version" ] ||
    control_problems+="Version is '$(field Version)', the project is '$project_version'"$'\n'
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] ||
    control_problems+="Architecture is '$(field Architecture)'"$'\n'
for name in Maintainer Section Description; do
    [ -n "$(field "$name")" ] || control_problems+="no $name"$'\n'
done
if [ -z "$control_problems" ]; then
    pass "control: korvane $(field Version) $(field Architecture), maintainer, section, description"
else
    fail "control fields" "$control_problems"
fi

depends=$(field Depends)
echo "      Depends: $depends"
# The package names of every alternative in Depends, one a line.
depends_names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*//; s/:any//; s/[[:space:]]//g' | grep -v '^$')

# Every library the program links directly must come from a package named in Depends.
# dpkg -S knows a library by the path its package ships it under (/lib or /usr/lib).
owner_of() {
    local path=$1 candidate
    for candidate in "$path" "/usr${path#/usr}" "${path#/usr}" "$(readlink -f "$path")"; do
        [ -n "$candidate" ] || continue
        dpkg -S "$candidate" 2>/dev/null | head -n1 | cut -d: -f1 && return 0
    done
    return 1
}
link_problems=
needed=$(objdump -p "$dest/usr/bin/korvane" 2>/dev/null | awk '$1 == "NEEDED" { print $2 }')
[ -n "$needed" ] || link_problems+="objdump found no NEEDED libraries"$'\n'
for lib in $needed; do
    path=$(ldd "$dest/usr/bin/korvane" | awk -v lib="$lib" '$1 == lib && $3 ~ /^\// { print $3 }')
    if [ -z "$path" ]; then
        link_problems+="$lib: not found by ldd"$'\n'
        continue
    fi
    owner=$(owner_of "$path") || {
        link_problems+="$lib ($path): no package owns it"$'\n'
        continue
    }
    grep -qx "$owner" <<<"$depends_names" || link_problems+="$lib comes from $owner, not in Depends"$'\n'
done
grep -qx fonts-noto-cjk <<<"$depends_names" || link_problems+="fonts-noto-cjk not in Depends"$'\n'
if [ -z "$link_problems" ]; then
    pass "Depends covers every linked library ($(wc -w <<<"$needed") of them) and fonts-noto-cjk"
else
    fail "declared Depends" "$link_problems"
fi

# Each dependency group must be satisfied here, so the started program below ran against
# what the package asks for. Versions are compared as dpkg does.
version_relation='\((<<|<=|=|>=|>>)[[:space:]]*([^)[:space:]]+)\)'
satisfied() {
    local group=$1 alternative name op version installed
    while read -r alternative; do
        name=$(sed 's/(.*//; s/:any//; s/[[:space:]]//g' <<<"$alternative")
        installed=$(dpkg-query -W -f='${db:Status-Status} ${Version}' "$name" 2>/dev/null) || continue
        [ "${installed%% *}" = installed ] || continue
        if [[ $alternative =~ $version_relation ]]; then
            op=${BASH_REMATCH[1]}
            version=${BASH_REMATCH[2]}
            case $op in
                '<<') op=lt ;; '<=') op=le ;; '=') op=eq ;; '>=') op=ge ;; '>>') op=gt ;;
            esac
            dpkg --compare-versions "${installed#* }" "$op" "$version" || continue
        fi
        return 0
    done < <(tr '|' '\n' <<<"$group")
    return 1
}
unmet=
while read -r group; do
    [ -n "$group" ] || continue
    satisfied "$group" || unmet+="$group"$'\n'
done < <(tr ',' '\n' <<<"$depends")
if [ -z "$unmet" ]; then
    pass "every declared dependency is installed on this machine"
else
    fail "declared dependencies not installed here" "$unmet"
fi

# The package holds what `cmake --install` installs (the program stripped), owned by root.
root=$work/root
mkdir -p "$root"
if output=$(dpkg-deb -x "$deb" "$root" 2>&1); then
    pass "dpkg-deb -x into a scratch root"
else
    fail "dpkg-deb -x into a scratch root" "$output"
    finish
fi
tree_diff=$(diff <(cd "$dest" && find . -type f | sort) <(cd "$root" && find . -type f | sort))
for file in $(cd "$dest" && find . -type f ! -path ./usr/bin/korvane); do
    cmp -s "$dest/$file" "$root/$file" || tree_diff+=$'\n'"differs: $file"
done
owners=$(dpkg-deb -c "$deb" | awk '$2 != "root/root" { print }')
[ -z "$owners" ] || tree_diff+=$'\n'"not owned by root:"$'\n'"$owners"
if [ -z "$tree_diff" ]; then
    pass "package contents match the install tree, owned by root"
else
    fail "package contents" "$tree_diff"
fi
check "packaged program is stripped" sh -c "file -b '$root/usr/bin/korvane' | grep -q ', stripped'"

# The unpacked program, started offscreen and, when xvfb-run is installed, on a virtual X
# display (xvfb-run is a POSIX sh script, so it runs this script again in --run-program mode).
self=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
run_check() {
    local label=$1 output
    shift
    if output=$("$@" 2>&1); then
        pass "$label: $output"
    else
        fail "$label" "$output"
    fi
}
run_check "unpacked, offscreen" \
    env QT_QPA_PLATFORM=offscreen bash "$self" --run-program "$root/usr/bin/korvane"
if command -v xvfb-run >/dev/null && command -v xauth >/dev/null; then
    run_check "unpacked, Xvfb" xvfb-run -a -s "-screen 0 1024x768x24" \
        env QT_QPA_PLATFORM=xcb bash "$self" --run-program "$root/usr/bin/korvane"
else
    echo "SKIP  unpacked, Xvfb: xvfb-run or xauth is not installed"
fi
finish
