#!/usr/bin/env bash
# The main road by keyboard alone, under a real X server and window manager: opens Preferences with
# Ctrl+Comma and walks every pane with Ctrl+Tab (adds an exclusion, moves an auto-mark rule up,
# lowers the minimum size), adds a folder of photos with the Add Folder button and its open panel,
# scans, marks a photo in the grid (Space), switches the results to the list, marks a photo of the
# other group there (the context-menu key and the underlined letter of Mark), moves both to the Trash
# and, nothing being left, goes back to the main window from the summary. Only xdotool key and type
# commands reach the program: no mouse event at all.
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

visible_windows() {
    (xdotool search --onlyvisible --pid "$app" 2>/dev/null || true) | wc -l
}

# Keys that open a menu: waits (up to five seconds) until the menu's window shows.
menu_keys() {
    local before
    before=$(visible_windows)
    xdotool key --delay 120 "$@"
    for _ in $(seq 20); do
        if [ "$(visible_windows)" -gt "$before" ]; then
            sleep 0.3
            return 0
        fi
        sleep 0.25
    done
    echo "note: no menu window seen after $*" | tee -a "$out/session.log"
}

active_title() {
    xdotool getactivewindow getwindowname 2>/dev/null || true
}

# The value of a settings key, as Python prints it.
setting() {
    python3 -c 'import plistlib, sys
print(plistlib.load(open(sys.argv[1], "rb")).get(sys.argv[2]))' "$home/.config/Quennary/settings.plist" "$1"
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
excluded="$home/Pictures/private"
mkdir -p "$photos" "$excluded"
mkdir -m 700 "$home/runtime"
QT_QPA_PLATFORM=offscreen "$build/bench/quennary-make-corpus" photos "$home/corpus" 3 1200 900 2>/dev/null
names=(beach forest single)
for i in 0 1 2; do
    cp "$home/corpus/f000/p00000$i.jpg" "$photos/${names[$i]}.jpg"
done
for name in beach forest; do cp "$photos/$name.jpg" "$photos/$name-copy.jpg"; done

step "start the application in a temporary home"
HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
    XDG_CACHE_HOME="$home/.cache" XDG_STATE_HOME="$home/.local/state" XDG_RUNTIME_DIR="$home/runtime" \
    QT_QPA_PLATFORM=xcb \
    "$build/quennary" >"$out/stdout.txt" 2>"$out/stderr.txt" &
app=$!
wait_window '^Quennary$' 20 || fail "the main window did not open"
sleep 2
xdotool search --onlyvisible --name '^Quennary$' windowactivate --sync 2>/dev/null || true
shot 01-main

step "Ctrl+Comma opens Preferences on its first pane"
keys ctrl+comma
sleep 1
[ "$(active_title)" = General ] || fail "Preferences did not open on General (active: $(active_title))"
shot 02-preferences-general

step "Ctrl+Tab to Exclusions; Tab to +, Space, type the folder in the open panel"
keys ctrl+Tab
[ "$(active_title)" = Exclusions ] || fail "Ctrl+Tab did not reach Exclusions"
keys ${EXCLUDE_KEYS:-Tab} space
sleep 1.5
xdotool type --delay 40 "$excluded"
keys Return
sleep 1
shot 03-exclusion-added

step "Ctrl+PgDn to Auto Mark: the list has the focus on its first rule; Down to the second, Alt+Up moves it up"
keys ctrl+Next
[ "$(active_title)" = "Auto Mark" ] || fail "Ctrl+PgDn did not reach Auto Mark"
keys Down alt+Up
shot 04-rule-moved

step "Ctrl+Tab to Filter; Tab to the minimum size, type 40"
keys ctrl+Tab
[ "$(active_title)" = Filter ] || fail "Ctrl+Tab did not reach Filter"
keys ${SIZE_KEYS:-Tab} ctrl+a
xdotool type --delay 40 40
keys Tab
shot 05-minimum-size

step "Ctrl+Shift+Tab back to Auto Mark, Ctrl+PgUp twice to General, Ctrl+Tab through to General again"
keys ctrl+shift+Tab
[ "$(active_title)" = "Auto Mark" ] || fail "Ctrl+Shift+Tab did not go back to Auto Mark"
keys ctrl+Prior ctrl+Prior
[ "$(active_title)" = General ] || fail "Ctrl+PgUp did not go back to General"
keys ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab
[ "$(active_title)" = General ] || fail "Ctrl+Tab did not wrap round to General"
keys Escape
sleep 0.5
[ "$(active_title)" = Quennary ] || fail "Escape did not close Preferences"
rules=$(setting autoMarkRules)
case "$rules" in
*"'key': 'library'"*"'key': 'preferFormat'"*) ;;
*) fail "the Photos library rule is not first: $rules" ;;
esac
setting excludedFolders | grep -qF "$excluded" || fail "the exclusion was not stored"
[ "$(setting minimumFileSize)" = 40 ] || fail "the minimum size is $(setting minimumFileSize), not 40"

step "Tab from the scan list to Add Folder, Space presses it; type the folder in the open panel"
keys Tab Tab Tab
shot 06-add-folder-focused
keys space
sleep 1.5
shot 07-open-panel
xdotool type --delay 40 "$photos"
keys Return
sleep 1.5
shot 08-folder-added

step "Shift+Tab back to the list; Return there presses Scan for Duplicates (on a button it presses that button)"
keys ${SCAN_KEYS:-shift+Tab shift+Tab shift+Tab Return}
sleep 12
shot 09-scan-complete

step "Escape leaves the scan-complete sheet: mark by hand"
keys Escape
sleep 1
shot 10-results-grid

step "The grid has the focus, its first photo the focus mark; Shift+F10 shows its menu, Escape; Space ticks its box"
shot 11-grid-focus
menu_keys shift+F10
shot 12-grid-menu
keys Escape
keys space
sleep 0.5
shot 13-grid-marked

step "Shift+Tab to the listing button, Space opens its menu, choose the list"
keys ${LISTING_KEYS:-shift+Tab shift+Tab shift+Tab}
menu_keys space
keys Down Return
sleep 1
shot 14-results-list

step "Down to the first photo of the second group, the context-menu key, M for Mark"
keys Down Down Down Down Down
menu_keys Menu
shot 15-context-menu
keys m
shot 16-marked

step "Return presses Trash Marked (the list has the focus); Return confirms Move to Trash"
keys Return
sleep 1
shot 17-confirm
keys Return
sleep 3
shot 18-summary
log="$home/.local/state/Quennary/quennarylog.log"
grep -q '^Back from the results to the main window$' "$log" && fail "the results closed before the summary"

step "Return on the summary's Back: nothing is left in the results, so the main window comes back"
keys Return
sleep 2
shot 19-main-again
grep -q '^Back from the results to the main window$' "$log" || fail "the main window did not come back"

trashed=$( (find "$home/.local/share/Trash/files" -type f 2>/dev/null || true) | wc -l)
left=$(find "$photos" -type f | wc -l)
echo "files in the Trash: $trashed; photos left in the folder: $left" | tee -a "$out/session.log"
[ "$trashed" -eq 2 ] || fail "expected two files in the Trash"
[ "$left" -eq 3 ] || fail "expected three photos left"
# One copy of each pair went: one of beach and one of forest stay.
for name in beach forest; do
    [ "$(find "$photos" -name "$name*" | wc -l)" -eq 1 ] || fail "expected one $name photo left"
done
grep -q . "$out/stdout.txt" && fail "the program wrote to standard output"
grep -q . "$out/stderr.txt" && fail "the program wrote to standard error"
echo "PASS (screenshots in $out)" | tee -a "$out/session.log"
