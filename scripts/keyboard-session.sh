#!/usr/bin/env bash
# The main road by keyboard alone, under a real X server and window manager: adds a folder of
# photos with the Add Folder button and its open panel, scans, switches the results to the list,
# marks a photo (the context-menu key and Mark), moves it to the Trash and goes back to the main
# window. Only xdotool key and type commands reach the program: no mouse event at all.
#
#   scripts/keyboard-session.sh [BUILD_DIR] [DISPLAY_NUMBER] [SIZE]
#
# BUILD_DIR defaults to build, DISPLAY_NUMBER to 14 and SIZE to 1280x800. The session starts its own
# Xvfb and openbox on that display when none answers there, runs in a temporary home, writes a
# screenshot after every step to $OUT (default: a temporary folder) and ends with PASS or FAIL.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
number=${2:-14}
size=${3:-1280x800}
export DISPLAY=":$number"
out=${OUT:-$(mktemp -d /tmp/quennary-keys.XXXXXX)}
mkdir -p "$out"
home=$(mktemp -d /tmp/quennary-keys-home.XXXXXX)
started=()
app=

finish() {
    [ -n "$app" ] && kill "$app" 2>/dev/null || true
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$home"
}
trap finish EXIT

fail() {
    echo "FAIL: $*" | tee -a "$out/session.log"
    shot failed
    exit 1
}

step() {
    echo "step: $*" | tee -a "$out/session.log"
}

shot() {
    "$build/bench/quennary-screen-grab" "$out/$1.png" || true
}

keys() {
    xdotool key --delay 120 "$@"
    sleep 0.6
}

# Waits up to $2 seconds for a window whose name matches $1.
wait_window() {
    for _ in $(seq $(($2 * 4))); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
        sleep 0.25
    done
    return 1
}

if ! xdpyinfo >/dev/null 2>&1; then
    Xvfb "$DISPLAY" -screen 0 "${size}x24" -nolisten tcp &
    started+=($!)
    for _ in $(seq 40); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.25; done
    openbox &
    started+=($!)
    sleep 1
fi

# Photos: two pairs of exact copies and one photo without a twin, large enough for any minimum.
photos="$home/Pictures/trip"
mkdir -p "$photos"
QT_QPA_PLATFORM=offscreen "$build/bench/quennary-make-corpus" photos "$home/corpus" 3 1200 900 2>/dev/null
names=(beach forest single)
for i in 0 1 2; do
    cp "$home/corpus/f000/p00000$i.jpg" "$photos/${names[$i]}.jpg"
done
for name in beach forest; do cp "$photos/$name.jpg" "$photos/$name-copy.jpg"; done

step "start the application in a temporary home"
HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
    XDG_CACHE_HOME="$home/.cache" XDG_STATE_HOME="$home/.local/state" QT_QPA_PLATFORM=xcb \
    "$build/quennary" >"$out/stdout.txt" 2>"$out/stderr.txt" &
app=$!
wait_window '^Quennary$' 20 || fail "the main window did not open"
sleep 2
xdotool search --onlyvisible --name '^Quennary$' windowactivate --sync 2>/dev/null || true
shot 01-main

step "Tab from the scan list to Add Folder, Space presses it; type the folder in the open panel"
keys Tab Tab Tab
shot 02-add-folder-focused
keys space
sleep 1.5
shot 03-open-panel
xdotool type --delay 40 "$photos"
keys Return
sleep 1.5
shot 04-folder-added

step "Return presses Scan for Duplicates (the default button; Space would press Add Folder)"
keys ${SCAN_KEYS:-Return}
sleep 12
shot 05-scan-complete

step "Escape leaves the scan-complete sheet: mark by hand"
keys Escape
sleep 1
shot 06-results-grid

step "Shift+Tab to the listing button, Space opens its menu, choose the list"
keys ${LISTING_KEYS:-shift+Tab shift+Tab shift+Tab} space
sleep 0.5
keys Down Return
sleep 1
shot 07-results-list

step "Down to the first photo, the context-menu key, Mark"
keys Down Down
keys Menu
shot 08-context-menu
keys Down Return
shot 09-marked

step "Return presses Trash Marked; Return confirms Move to Trash; Return closes the summary"
keys Return
sleep 1
shot 10-confirm
keys Return
sleep 3
shot 11-summary
keys Return
sleep 1
shot 12-after-summary

step "Tab to Back, Space, and Return on the question: the main window again"
keys ${BACK_KEYS:-shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab} space
sleep 1
shot 13-back-question
keys Return
sleep 2
shot 14-main-again

trashed=$(find "$home/.local/share/Trash/files" -type f 2>/dev/null | wc -l)
left=$(find "$photos" -type f | wc -l)
echo "files in the Trash: $trashed; photos left in the folder: $left" | tee -a "$out/session.log"
[ "$trashed" -eq 1 ] || fail "expected one file in the Trash"
[ "$left" -eq 4 ] || fail "expected four photos left"
grep -q '^Back from the results to the main window$' "$home/.local/state/Quennary/"*.log ||
    fail "the main window did not come back"
grep -q . "$out/stdout.txt" && fail "the program wrote to standard output"
echo "PASS (screenshots in $out)" | tee -a "$out/session.log"
