#!/usr/bin/env bash
# The Wine prefix the Windows build's tests run in, and the way every Windows program of the
# build is started under Wine.
#
#   wine-prefix.sh start PREFIX [--dpi N] [--copy-of BASE]
#       Makes PREFIX ready (creates it when missing or not finished) and starts a persistent
#       wineserver and Wine's services for it, all detached from the caller's output. A
#       prefix is headless (null graphics driver) and reused by later runs. --dpi sets the
#       screen resolution Wine reports (LogPixels; 96 when not given). --copy-of makes a new
#       prefix as a copy of the finished prefix BASE, which is much faster than creating one.
#   wine-prefix.sh stop PREFIX
#       Ends every Wine process of PREFIX and its wineserver, which saves the registry.
#   wine-prefix.sh exec PROGRAM.exe [ARGS...]          (WINEPREFIX from the environment)
#   wine-prefix.sh run PREFIX PROGRAM.exe [ARGS...]
#       Runs a Windows program in the prefix and exits with its exit code. Its output is
#       written to a file first and copied to this script's output when it ends: Wine starts
#       helpers (rpcss.exe, explorer.exe /desktop) from whichever program first needs them,
#       and such a helper would otherwise keep the caller's pipe open and hang ctest or CI
#       after the test has ended. `exec` is the cross-compiling emulator of the test programs
#       (cmake/WineTests.cmake). With KORVANE_WINE_TIMEOUT=seconds in the environment, a
#       program still running after that long is ended (exit status 124).
#
# The environment every Wine program here gets:
#   LANG=zh_CN.UTF-8    Wine then picks a Simplified Chinese CJK face for the UI fonts.
#   LOCPATH             a compiled zh_CN.UTF-8 glibc locale, made once by `start` with
#                       localedef in the folder `locales` beside the prefix (the build
#                       tree). Without it glibc cannot set that locale, Wine falls back to
#                       code page 1252 and every Chinese file or folder name fails.
#   WINEDEBUG=-all      no fixme/err chatter in the test output.
#   WINEDLLOVERRIDES    no Mono or Gecko install prompts (mscoree, mshtml disabled), and no
#                       winemenubuilder: it would turn the installer's Start-menu shortcut
#                       into a desktop entry in the user's real home.
set -uo pipefail

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

export LANG=zh_CN.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
export WINEARCH=win64

die() {
    echo "wine-prefix.sh: $*" >&2
    exit 1
}

# The compiled locale of the prefix $WINEPREFIX: in LOCPATH when the caller set it, else in
# `locales` beside the prefix, shared by every prefix of a build tree.
use_locale() {
    export LOCPATH=${LOCPATH:-$(dirname "$WINEPREFIX")/locales}
}

locale_ready() {
    [ -e "$LOCPATH/zh_CN.UTF-8/LC_CTYPE" ]
}

# Compiles the locale when missing (about 2 s). Into a new folder first, moved in whole, so
# that a prefix started beside this one never sees half of it.
make_locale() {
    locale_ready && return 0
    command -v localedef >/dev/null || die "localedef is missing (apt-get install locales)"
    mkdir -p "$LOCPATH" || die "cannot create $LOCPATH"
    local partial
    partial=$(mktemp -d "$LOCPATH/.zh_CN.XXXXXX") || die "cannot create a folder in $LOCPATH"
    # localedef exits with 1 on mere warnings; the compiled character classes are what counts.
    localedef -i zh_CN -f UTF-8 "$partial/zh_CN.UTF-8" >/dev/null 2>&1
    if [ -e "$partial/zh_CN.UTF-8/LC_CTYPE" ]; then
        mv -T "$partial/zh_CN.UTF-8" "$LOCPATH/zh_CN.UTF-8" 2>/dev/null
    fi
    rm -rf "$partial"
    locale_ready || die "localedef could not compile zh_CN.UTF-8 into $LOCPATH"
}

# Checks PREFIX is an absolute path, so that no command here can ever reach ~/.wine.
use_prefix() {
    case "${1:-}" in
    /*) export WINEPREFIX=${1%/} ;;
    *) die "the prefix must be an absolute path, got '${1:-}'" ;;
    esac
}

# Runs a Windows program with its output sent to a file, then copies the file out. The file
# is deleted at once and read through a descriptor: nothing is left behind even when ctest
# ends this script with SIGKILL.
run_captured() {
    [ -x "$wine" ] || die "$wine is missing (apt-get install wine64)"
    local log status
    log=$(mktemp "${TMPDIR:-/tmp}/korvane-wine.XXXXXX") || die "no temporary file"
    # shellcheck disable=SC2094 # one descriptor writes, the other reads back afterwards
    exec 3>"$log" 4<"$log"
    rm -f "$log"
    # KORVANE_WINE_TIMEOUT (seconds): the program is ended after that long and its output so
    # far shown, which ctest's own timeout would not show.
    local limit=${KORVANE_WINE_TIMEOUT:-0}
    [[ "$limit" =~ ^[0-9]+$ ]] || limit=0
    if [ "$limit" -gt 0 ]; then
        timeout --kill-after=5 "$limit" "$wine" "$@" >&3 2>&1 </dev/null 3>&- 4<&- &
    else
        "$wine" "$@" >&3 2>&1 </dev/null 3>&- 4<&- &
    fi
    local child=$!
    exec 3>&-
    # Interrupted (ctest's timeout, Ctrl-C): take the program down too, show its output.
    trap 'kill -TERM "$child" 2>/dev/null; cat <&4; exit 143' TERM INT
    wait "$child"
    status=$?
    trap - TERM INT
    cat <&4
    exec 4<&-
    if [ "$limit" -gt 0 ] && { [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; }; then
        echo "wine-prefix.sh: $1 did not end within $limit s and was ended" >&2
    fi
    return "$status"
}

server_running() {
    # `wineserver -w` returns at once when no server runs for the prefix, and waits while
    # one does (forever, for a persistent one).
    ! timeout 0.3 "$wineserver" -w >/dev/null 2>&1 9>&-
}

stop_server() {
    "$wineserver" -k >/dev/null 2>&1 </dev/null 9>&-
    for _ in $(seq 50); do
        server_running || return 0
        sleep 0.2
    done
    die "the wineserver of $WINEPREFIX did not end"
}

marker_name=.korvane-prefix

# The registry settings of a test prefix, written before Wine first starts in it: a prefix
# made without them would first try X11 and log errors from every window it creates.
seed_registry() {
    local dpi=$1
    mkdir -p "$WINEPREFIX" || die "cannot create $WINEPREFIX"
    printf '%s\n' 'WINE REGISTRY Version 2' ';; All keys relative to \\User\\S-1-5-21-0-0-0-1000' '' \
        '#arch=win64' '' '[Software\\Wine\\Drivers]' '"Graphics"="null"' '' '[Control Panel\\Desktop]' \
        "$(printf '"LogPixels"=dword:%08x' "$dpi")" >"$WINEPREFIX/user.reg"
}

create_prefix() {
    local dpi=$1 start=$SECONDS
    echo "wine-prefix.sh: creating $WINEPREFIX (takes about 7 s)"
    seed_registry "$dpi"
    "$wine" wineboot --init >/dev/null 2>&1 </dev/null 9>&- || die "wineboot failed for $WINEPREFIX"
    # Ending the server writes the registry out; waiting for it to end by itself would take
    # another 5 s.
    stop_server
    [ -f "$WINEPREFIX/system.reg" ] || die "wineboot left no registry in $WINEPREFIX"
    echo "wine-prefix.sh: created $WINEPREFIX in $((SECONDS - start)) s"
}

copy_prefix() {
    local base=$1
    [ -f "$base/$marker_name" ] || die "$base is not a finished prefix"
    echo "wine-prefix.sh: copying $base to $WINEPREFIX"
    # The base may be in use; its files on disk are a finished prefix all the same (its
    # server writes the registry by replacing whole files).
    mkdir -p "$WINEPREFIX" || die "cannot create $WINEPREFIX"
    cp -a "$base/." "$WINEPREFIX/" || die "cannot copy $base"
    rm -f "$WINEPREFIX/$marker_name" "$WINEPREFIX/wineserver"
}

set_dpi() {
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
        >/dev/null 2>&1 </dev/null 9>&- || die "cannot set LogPixels in $WINEPREFIX"
}

start() {
    local dpi=96 base=
    use_prefix "${1:-}"
    shift
    while [ $# -gt 0 ]; do
        case "$1" in
        --dpi) dpi=${2:?}; shift 2 ;;
        --copy-of) base=${2:?}; shift 2 ;;
        *) die "unknown option $1" ;;
        esac
    done
    if ! [[ "$dpi" =~ ^[0-9]+$ ]] || [ "$dpi" -lt 48 ] || [ "$dpi" -gt 480 ]; then
        die "bad dpi '$dpi'"
    fi
    [ -x "$wine" ] || die "$wine is missing (apt-get install wine64)"

    # One start at a time per prefix (two build trees, or a script beside a test run).
    exec 9>"$WINEPREFIX.lock" || die "cannot lock $WINEPREFIX"
    flock -w 600 9 || die "$WINEPREFIX is locked by another start"
    make_locale

    # A server left over from an interrupted run may not be persistent: start afresh.
    server_running && stop_server

    local wanted
    wanted="wine=$("$wine" --version) dpi=$dpi locale=zh_CN.UTF-8"
    if [ ! -f "$WINEPREFIX/$marker_name" ] || [ "$(cat "$WINEPREFIX/$marker_name")" != "$wanted" ]; then
        # Remove only what is a (broken or outdated) Wine prefix, never some other directory.
        if [ -e "$WINEPREFIX" ] && [ -n "$(ls -A "$WINEPREFIX")" ] &&
            [ ! -e "$WINEPREFIX/user.reg" ] && [ ! -d "$WINEPREFIX/drive_c" ]; then
            die "$WINEPREFIX exists and is not a Wine prefix; not touching it"
        fi
        rm -rf "$WINEPREFIX"
        if [ -n "$base" ]; then
            copy_prefix "$base"
        else
            create_prefix "$dpi"
        fi
    fi

    # Persistent: a program then starts in a fraction of a second instead of seconds. Its
    # output goes nowhere, and it leaves this session, so it holds no one's pipe.
    setsid "$wineserver" -p </dev/null >/dev/null 2>&1 9>&-
    for _ in $(seq 50); do
        server_running && break
        sleep 0.1
    done
    server_running || die "the wineserver of $WINEPREFIX did not start"
    # Also sets the dpi of a copied prefix; and starts services.exe and the devices now,
    # detached, rather than from the first test.
    set_dpi "$dpi"
    echo "$wanted" >"$WINEPREFIX/$marker_name"
    echo "wine-prefix.sh: $WINEPREFIX ready ($dpi dpi)"
}

command=${1:-}
shift || true
case "$command" in
start)
    use_prefix "${1:-}"
    use_locale
    start "$@"
    ;;
stop)
    use_prefix "${1:-}"
    if [ -d "$WINEPREFIX" ]; then
        stop_server
        echo "wine-prefix.sh: stopped $WINEPREFIX"
    fi
    ;;
exec)
    [ -n "${WINEPREFIX:-}" ] || die "WINEPREFIX is not set"
    use_prefix "$WINEPREFIX"
    [ -f "$WINEPREFIX/$marker_name" ] || die "$WINEPREFIX is not ready: run 'wine-prefix.sh start $WINEPREFIX' first"
    use_locale
    locale_ready || die "no compiled locale in $LOCPATH: run 'wine-prefix.sh start $WINEPREFIX' first"
    [ $# -ge 1 ] || die "exec: no program"
    run_captured "$@"
    ;;
run)
    use_prefix "${1:-}"
    shift
    [ -f "$WINEPREFIX/$marker_name" ] || die "$WINEPREFIX is not ready: run 'wine-prefix.sh start $WINEPREFIX' first"
    use_locale
    locale_ready || die "no compiled locale in $LOCPATH: run 'wine-prefix.sh start $WINEPREFIX' first"
    [ $# -ge 1 ] || die "run: no program"
    run_captured "$@"
    ;;
*)
    sed -n '2,/^set -uo/p' "$0" | sed '$d; s/^# \{0,1\}//'
    exit 2
    ;;
esac
