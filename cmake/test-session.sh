#!/usr/bin/env bash
# Starts and stops the private desktop that the Windows tests run on: an Xvfb
# display picked by Xvfb itself, and a Wine prefix inside the build tree.
# Usage: test-session.sh start|stop SESSION_DIR WINEPREFIX [ARCH [TEMPLATE [KEEPER]]]
# TEMPLATE: a prefix made once (by whichever session comes first) and copied
# for each session that has none yet; wineboot costs far more than a copy.
# KEEPER: TrayKeeper.exe of the tree, which holds an icon in the session's
# tray throughout (see tests/support/TrayKeeper.cpp).
# ARCH i686: a session for 32-bit programs. Its prefix is 64-bit too, as
# 32-bit programs meet 64-bit Windows; where this machine cannot run them both
# actions end with status 77 (skipped) and the reason.
set -u
action=$1 session=$2 prefix=$3 arch=${4:-x86_64} template=${5:-} keeper=${6:-}
here=$(cd "$(dirname "$0")" && pwd)

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINEARCH=win64
# The prefix is made and set up by the 64-bit loader in either session.
wine=/usr/lib/wine/wine64

log() { echo "test-session: $*"; }

# What Wine's menu builder writes into the home folder (launchers, menus,
# icons, file associations, desktop links): paths, types, sizes and times. A
# run must leave it as it found it.
home_state() {
    local dir
    for dir in "$HOME/.local/share/applications" "$HOME/.config/menus" "$HOME/.local/share/icons" \
        "$HOME/.local/share/desktop-directories" "$HOME/.local/share/mime" "$HOME/Desktop"; do
        if [ -e "$dir" ]; then find "$dir" -printf '%p %y %s %T@\n' | sort; else echo "$dir absent"; fi
    done
}

check_home() {
    [ -f "$session/home.before" ] || return 0
    if ! home_state | diff "$session/home.before" - >"$session/home.diff"; then
        log "the tests changed the home folder ($HOME; < before, > after):"
        cat "$session/home.diff"
        return 1
    fi
    rm -f "$session/home.before" "$session/home.diff"
}

# Makes a prefix at $1 with wineboot; its Wine server has ended on return.
make_prefix() {
    log "creating Wine prefix $1"
    mkdir -p "$1"
    WINEPREFIX=$1 timeout 180 "$wine" wineboot -i >"$session/wineboot.log" 2>&1 </dev/null \
        || { log "wineboot failed"; cat "$session/wineboot.log"; return 1; }
    WINEPREFIX=$1 timeout 60 wineserver -w
}

if [ "$arch" = i686 ] && ! reason=$(bash "$here/../scripts/can-run-32bit.sh" --wine); then
    echo "SKIPPED: $reason; no i686 session"
    exit 77
fi

stop_session() {
    if [ -d "$prefix" ]; then
        timeout 20 wineserver -k >/dev/null 2>&1
        timeout 20 wineserver -w >/dev/null 2>&1
    fi
    if [ -r "$session/xvfb.pid" ]; then
        pid=$(cat "$session/xvfb.pid")
        if kill "$pid" 2>/dev/null; then
            for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
            kill -9 "$pid" 2>/dev/null
        fi
        rm -f "$session/xvfb.pid"
    fi
    rm -f "$session/display"
}

# Nine tenths of a prefix are Wine's own DLLs in system32 and syswow64, which
# only a prefix update for a new Wine rewrites: the copies share them as hard
# links and take the rest (registry, users' folders, ini files) as copies of
# their own.
copy_prefix() {
    local from=$1 to=$2 dir shared=(drive_c/windows/system32 drive_c/windows/syswow64) unshared=()
    for dir in "${shared[@]}"; do unshared+=(--exclude="./$dir"); done
    mkdir -p "$to" || return 1
    tar -C "$from" "${unshared[@]}" -cf - . | tar -C "$to" -xpf - || return 1
    for dir in "${shared[@]}"; do
        [ -d "$from/$dir" ] && { cp -al "$from/$dir" "$to/$dir" || return 1; }
    done
    return 0
}

start_session() {
    mkdir -p "$session"
    stop_session   # leftovers of a run that was killed
    home_state >"$session/home.before"
    command -v Xvfb >/dev/null || { log "Xvfb is not installed"; exit 1; }

    # -displayfd makes Xvfb choose a free display and write its number.
    rm -f "$session/display.tmp"
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        3>"$session/display.tmp" >"$session/xvfb.log" 2>&1 </dev/null &
    echo $! >"$session/xvfb.pid"
    for _ in $(seq 100); do
        [ -s "$session/display.tmp" ] && break
        sleep 0.1
    done
    if [ ! -s "$session/display.tmp" ]; then
        log "Xvfb did not start:"; cat "$session/xvfb.log"; stop_session; exit 1
    fi
    display=$(tr -dc 0-9 <"$session/display.tmp")
    mv "$session/display.tmp" "$session/display"
    export DISPLAY=":$display"
    log "display $DISPLAY"

    # Wine's helper processes outlive the call that starts them; they must not
    # hold the test runner's output pipes open, so all output goes to a log.
    if [ ! -f "$prefix/system.reg" ] && [ -z "$template" ]; then
        make_prefix "$prefix" || { stop_session; exit 1; }
    elif [ ! -f "$prefix/system.reg" ]; then
        # The lock makes the other sessions wait for the first one's template.
        (
            flock 9
            [ -f "$template/system.reg" ] || make_prefix "$template"
        ) 9>"$template.lock" || { stop_session; exit 1; }
        log "copying $template to $prefix"
        rm -rf "$prefix" "$prefix.tmp"
        copy_prefix "$template" "$prefix.tmp" && mv "$prefix.tmp" "$prefix" || { log "copy failed"; stop_session; exit 1; }
    fi
    # A crash must end the process, not wait on a dialog nobody can see.
    # The 64-bit view by name: with wine32 installed, `wine reg` is the 32-bit
    # tool and sees the 32-bit view.
    timeout 60 "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f /reg:64 \
        >>"$session/wineboot.log" 2>&1 </dev/null || { log "reg add failed"; stop_session; exit 1; }
    # A persistent server keeps every test's start fast and is stopped by 'stop'.
    setsid wineserver -p >/dev/null 2>&1 </dev/null
    if [ -n "$keeper" ]; then
        loader=$wine
        [ "$arch" = i686 ] && loader=/usr/lib/wine/wine
        setsid "$loader" "$keeper" >"$session/keeper.log" 2>&1 </dev/null &
        for _ in $(seq 300); do
            grep -qs ready "$session/keeper.log" && break
            sleep 0.1
        done
        if ! grep -qs ready "$session/keeper.log"; then
            log "no keeper icon in the tray (tests then wait on Wine's tray more):"; cat "$session/keeper.log"
        fi
    fi
    log "ready"
}

case $action in
    start) start_session ;;
    stop) stop_session; log "stopped"; check_home ;;
    *) echo "usage: $0 start|stop SESSION_DIR WINEPREFIX [ARCH [TEMPLATE [KEEPER]]]" >&2; exit 2 ;;
esac
