#!/usr/bin/env bash
# Installs what is missing, builds both architectures and runs Vantrel under
# Wine, in a Wine prefix of its own (<build root>/run-prefix), which it makes
# at the start (about 20 s) and removes at the end: 700 MB are not kept for a
# run that is over.
#
# With DISPLAY set, Vantrel runs on that display until you end it through its
# icon's menu (Exit, then Yes). Without a display it runs on a private Xvfb
# display: it waits for the icon, opens its menu, saves a screenshot of the
# icon with its menu open (cropped to them and scaled up three times, the
# current mode checked and no item under the pointer but "Button Mode"),
# prints the PNG's path, then ends Vantrel through that menu and stops Xvfb
# and Wine.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
# VANTREL_BUILD_ROOT puts the build trees elsewhere (default: build/ here).
builds=${VANTREL_BUILD_ROOT:-$root/build}
bash "$root/scripts/install-deps.sh"
VANTREL_BUILD_ROOT="$builds" bash "$root/scripts/build.sh"

program="$builds/x86_64/bin/Vantrel.exe"
[ -f "$program" ] || { echo "run: $program was not built" >&2; exit 1; }
run_dir="$builds/run"
screenshot="$run_dir/vantrel-tray-menu.png"
mkdir -p "$run_dir"

export WINEPREFIX="$builds/run-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINEARCH=win64
wine=/usr/lib/wine/wine64

log() { echo "run: $*"; }

# Wine's helper processes outlive the call that starts them: their output goes
# to a log, never to a pipe that would keep a caller waiting.
prepare_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        log "creating Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        timeout --foreground 180 "$wine" wineboot -i >"$run_dir/wineboot.log" 2>&1 </dev/null
        timeout --foreground 60 wineserver -w
    fi
}

stop_wine() {
    timeout --foreground 20 wineserver -k >/dev/null 2>&1 || true
    timeout --foreground 20 wineserver -w >/dev/null 2>&1 || true
}

remove_prefix() {
    stop_wine
    rm -rf "$WINEPREFIX"
}

if [ -n "${DISPLAY:-}" ]; then
    trap remove_prefix EXIT
    prepare_prefix
    log "Vantrel runs on $DISPLAY: its icon is in the notification area; end it with Exit in the icon's menu"
    "$wine" "$program" </dev/null
    timeout --foreground 30 wineserver -w || true
    exit 0
fi

# --- No display: a private Xvfb, driven with xdotool ---

xvfb_pid=
vantrel_pid=
cleanup() {
    if [ -n "$vantrel_pid" ]; then
        kill "$vantrel_pid" 2>/dev/null || true
    fi
    remove_prefix
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT

# Polls a command up to $1 tenths of a second; true once it succeeds.
wait_for() {
    local tenths=$1
    shift
    for _ in $(seq "$tenths"); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# The geometry of an X window, as shell assignments X Y WIDTH HEIGHT.
geometry_of() {
    xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)='
}

# Right and bottom edges of the X windows given, as the assignments RIGHT and
# BOTTOM.
extent_of() {
    local window right=0 bottom=0
    for window in "$@"; do
        eval "$(geometry_of "$window")"
        [ $((X + WIDTH)) -gt $right ] && right=$((X + WIDTH))
        [ $((Y + HEIGHT)) -gt $bottom ] && bottom=$((Y + HEIGHT))
    done
    echo "RIGHT=$right BOTTOM=$bottom"
}

# True when at least $1 X windows of Vantrel's process are visible.
vantrel_windows_shown() {
    [ "$(xdotool search --onlyvisible --class '^vantrel.exe$' 2>/dev/null | wc -l)" -ge "$1" ]
}

# -displayfd makes Xvfb pick a free display and write its number.
rm -f "$run_dir/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$run_dir/display" >"$run_dir/xvfb.log" 2>&1 </dev/null &
xvfb_pid=$!
wait_for 100 test -s "$run_dir/display" || { log "Xvfb did not start"; cat "$run_dir/xvfb.log"; exit 1; }
export DISPLAY=":$(tr -dc 0-9 <"$run_dir/display")"
log "private display $DISPLAY"

prepare_prefix
"$wine" "$program" >"$run_dir/vantrel.log" 2>&1 </dev/null &
vantrel_pid=$!

# With no XEMBED tray under Xvfb, Wine shows the icons in a small window of
# its own, which is visible only while it holds an icon: Wine 8's is titled
# "Wine System Tray", Wine 10's (explorer's "Shell_TrayWnd") has no title.
# Both belong to explorer.exe, and until the first click it shows no other.
tray_window() {
    xdotool search --onlyvisible --class '^explorer\.exe$' 2>/dev/null | head -n 1
}
tray_shown() { [ -n "$(tray_window)" ]; }
wait_for 300 tray_shown || { log "no tray icon appeared"; exit 1; }
tray=$(tray_window)
eval "$(geometry_of "$tray")"
# Vantrel's is the only icon: the first 20x20 cell. The menu's top edge is
# where the pointer is, so a press low on the icon leaves the icon in view.
xdotool mousemove $((X + 10)) $((Y + 18)) click 1

# The popup menu is a visible X window of Vantrel's process; its main window
# is never shown. Resting the pointer on "Button Mode", the menu's last item,
# opens the sub-menu where the current mode has its check mark, with none of
# its items highlighted (keys would highlight the first).
wait_for 100 vantrel_windows_shown 1 || { log "the menu did not open"; exit 1; }
menu=$(xdotool search --onlyvisible --class '^vantrel.exe$' | head -n 1)
eval "$(geometry_of "$menu")"
menu_x=$X menu_y=$Y menu_width=$WIDTH menu_height=$HEIGHT
xdotool mousemove $((menu_x + menu_width / 2)) $((menu_y + menu_height - 10))
wait_for 50 vantrel_windows_shown 2 || { log "the Button Mode menu did not open"; exit 1; }
sleep 0.5   # let the menus paint
eval "$(extent_of $(xdotool search --onlyvisible --class '^vantrel.exe$'))"
menus_right=$RIGHT menus_bottom=$BOTTOM
eval "$(extent_of "$tray")"
right=$(( (RIGHT > menus_right ? RIGHT : menus_right) + 16 ))
bottom=$(( (BOTTOM > menus_bottom ? BOTTOM : menus_bottom) + 16 ))
# Scaled without smoothing, so that the small menu font stays crisp.
import -window root -crop "${right}x${bottom}+0+0" +repage png:- | convert png:- -scale 300% "$screenshot"
log "screenshot of the icon with its menu open: $screenshot"

# End Vantrel as a user would: a click on Exit, the menu's first item, then
# Yes to its question (its keyboard focus first: no window manager gives it).
xdotool mousemove $((menu_x + menu_width / 2)) $((menu_y + 10)) click 1
wait_for 100 xdotool search --onlyvisible --name '^Vantrel$' || { log "Exit asked nothing"; exit 1; }
question=$(xdotool search --onlyvisible --name '^Vantrel$' | head -n 1)
xdotool windowfocus --sync "$question" key y
for _ in $(seq 200); do
    kill -0 "$vantrel_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$vantrel_pid" 2>/dev/null; then
    log "Vantrel did not end through its menu"
    exit 1
fi
wait "$vantrel_pid" 2>/dev/null || true
vantrel_pid=
log "Vantrel ended through its menu"
