#!/usr/bin/env bash
# The main road by keyboard alone, under a real X server and window manager: opens Preferences with
# Ctrl+Comma and walks every pane with Ctrl+Tab (adds an exclusion, moves an auto-mark rule up,
# unticks a file type, lowers the minimum size), chooses Dropbox, goes round its sign-in sheet's
# buttons and answers its failed sign-in (no application key), which leaves it for this computer,
# adds two folders with the Add Folder button and its open panel, unticks the second in the scan
# list (Space, Space, Down, Space), opens the list's menu with the Menu key, scans, marks a photo in
# the grid (Space), moves the matching level one step each way with the arrow keys, switches the
# results to the list, marks a photo of the other group there (the context-menu key and the
# underlined letter of Mark), moves both to the Trash and, nothing being left, goes back to the main
# window from the summary. On the way it opens and closes two drop-down lists of Preferences with
# Escape, the window staying open, and leaves the Google Drive sign-in by its Cancel button for this
# computer as it was (no network is used: nothing is allowed). Only xdotool key and type commands
# reach the program: no mouse event at all.
#
#   scripts/keyboard-session.sh [BUILD_DIR] [DISPLAY_NUMBER] [SIZE]
#
# BUILD_DIR defaults to build, DISPLAY_NUMBER to 14 and SIZE to 1280x800. The session starts its own
# Xvfb and openbox on that display when none answers there, runs in a temporary home, writes a
# screenshot after every step to $OUT (default: a temporary folder) and ends with PASS or FAIL.
#
# Two steps check that the keys act on what the screen shows: Space ticks an auto-mark rule's Use
# box from another column of its row, and after a click on a photo of the first group and one on
# the box of a photo of the second, Space marks the photo clicked last. Those two clicks and the
# wheel between them are the only mouse events of the session.
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

# ---- Steps: the keys act on what the screen shows (rule boxes, grid clicks) ----

# The `state` of the first auto-mark rule, as stored: 1 or 0.
first_rule_state() {
    python3 -c 'import plistlib, sys
print(int(plistlib.load(open(sys.argv[1], "rb"))["autoMarkRules"][0]["state"]))' \
        "$home/.config/Quennary/settings.plist" 2>/dev/null || true
}

# Waits up to three seconds for the first rule's stored state to be $1.
wait_first_rule_state() {
    for _ in $(seq 12); do
        [ "$(first_rule_state)" = "$1" ] && return 0
        sleep 0.25
    done
    return 1
}

# On the Auto Mark pane, its list having the focus on the first rule: Right twice to the rule's
# name, Space unticks its Use box in the column before, Space ticks it again.
step_rule_box_by_keyboard() {
    step "Right twice to the first rule's name: Space unticks its Use box, Space ticks it again"
    [ "$(first_rule_state)" = 1 ] || fail "the first rule is not in use before the keys ($(first_rule_state))"
    keys Right Right space
    shot 04-rule-unticked
    wait_first_rule_state 0 || fail "Space on the rule's name did not untick its Use box"
    keys space
    wait_first_rule_state 1 || fail "Space did not tick the rule's Use box again"
    shot 04-rule-ticked
}

# The centres of the unticked photo boxes of screenshot $1 ("x y" a line, top to bottom): the
# white squares inside them, which a tick breaks up.
unticked_boxes() {
    convert "$out/$1.png" -fill black +opaque white -define connected-components:verbose=true \
        -define connected-components:area-threshold=50 -connected-components 8 null: |
        awk '$NF ~ /255,255,255/ { split($2, g, /[x+]/);
            if (g[1] >= 10 && g[1] <= 16 && g[2] >= 9 && g[2] <= 16 && $4 >= 120)
                print g[3] + int(g[1] / 2), g[4] + int(g[2] / 2) }' | sort -n -k2 -k1
}

# How many pixels of the box around $2 $3 in screenshot $1 are white: all of them (132) unticked.
white_in_box() {
    convert "$out/$1.png" -crop "12x11+$(($2 - 6))+$(($3 - 5))" +repage -fill black +opaque white \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}

# The "N marked" count at the bottom left of the results window, as a picture.
marked_count_shot() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getactivewindow getwindowgeometry --shell)"
    shot "$1"
    convert "$out/$1.png" -crop "130x30+$X+$((Y + HEIGHT - 32))" +repage "$out/$1-count.png"
}

# In the results grid, nothing marked yet: a click on the picture of the first group's first row,
# then (the grid scrolled to its end by the wheel) one on the box of the last photo, of the second
# group. The click marks that photo; Space unmarks it and marks it again, never the photo clicked
# before. Space once more and Home leave the marks and the current photo as they were.
step_space_after_a_click_on_another_groups_box() {
    step "Click a photo of the first group, then the box of a photo of the second: Space marks the one clicked last"
    marked_count_shot 10-none-marked
    local boxes first last x y
    boxes=$(unticked_boxes 10-none-marked)
    first=$(echo "$boxes" | head -1)
    [ -n "$first" ] || fail "no photo box on the screen"
    # The picture lies below and right of its box.
    xdotool mousemove $((${first% *} + 109)) $((${first#* } + 107)) click 1
    sleep 0.6
    xdotool click --repeat 12 --delay 80 5
    sleep 0.8
    shot 10-scrolled-to-end
    last=$(unticked_boxes 10-scrolled-to-end | tail -1)
    [ -n "$last" ] || fail "no photo box on the screen after scrolling"
    x=${last% *}
    y=${last#* }
    [ "$y" -gt "${first#* }" ] || fail "the wheel did not scroll the grid to its second group"
    xdotool mousemove "$x" "$y" click 1
    sleep 0.8
    marked_count_shot 10-box-clicked
    [ "$(white_in_box 10-box-clicked "$x" "$y")" -lt 120 ] || fail "the click did not tick the clicked box"
    [ "$(pixels_differing 10-none-marked-count 10-box-clicked-count)" -gt 0 ] ||
        fail "the marked count did not change with the click"
    keys space
    marked_count_shot 10-space-unmarks
    [ "$(pixels_differing 10-none-marked-count 10-space-unmarks-count)" -eq 0 ] ||
        fail "Space did not unmark the photo whose box was clicked (another photo changed)"
    keys space
    marked_count_shot 10-space-marks
    [ "$(pixels_differing 10-box-clicked-count 10-space-marks-count)" -eq 0 ] ||
        fail "Space did not mark the photo whose box was clicked"
    keys space Home
    # The pointer leaves the window, so no tip of the grid shows in the shots that follow.
    xdotool mousemove 0 0
    marked_count_shot 10-home
    [ "$(pixels_differing 10-none-marked-count 10-home-count)" -eq 0 ] || fail "the marks are not as they were"
}

# Back in the main window, the list's current row the unticked folder: Space ticks it, Return scans
# (its photo twins one of the first folder), Escape leaves the scan-complete sheet, Space marks the
# photo the results start on and Return presses Trash Marked, Return confirms. With the summary open,
# Ctrl+Q ends the program within three seconds.
step_quit_from_the_summary() {
    step "Tick the second folder and scan again, mark a photo, move it to the Trash: Ctrl+Q on the summary quits"
    keys space Return
    sleep 12
    shot 20-second-scan
    keys Escape
    sleep 1
    keys space
    sleep 0.5
    shot 20-second-marked
    keys Return
    sleep 1
    shot 20-second-confirm
    keys Return
    sleep 3
    shot 20-second-summary
    keys ctrl+q
    for _ in $(seq 12); do
        # Gone, or ended and not yet reaped.
        ps -o stat= -p "$app" 2>/dev/null | grep -qv Z || return 0
        sleep 0.25
    done
    fail "Ctrl+Q on the summary did not end the program within three seconds"
}

# ---- End of those steps ----

# The number of differing pixels of two screenshots.
pixels_differing() {
    compare -metric AE "$out/$1.png" "$out/$2.png" null: 2>&1 | cut -d' ' -f1 || true
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

# ---- Drop-down lists and cloud sign-in (steps of their own, called from the main road below) ----

# Opens the drop-down list that $2 Tab presses reach from the first control of the Preferences pane
# $1 (entered afresh with Ctrl+Tab and Ctrl+Shift+Tab), then closes it with Escape: the list
# closes, Preferences stays open on that pane and the choice is unchanged.
dropdown_escape() {
    local pane=$1 tabs=$2 before unit
    [ "$(active_title)" = "$pane" ] || fail "not on the $pane pane (active: $(active_title))"
    keys ctrl+Tab ctrl+shift+Tab
    [ "$(active_title)" = "$pane" ] || fail "Ctrl+Tab and Ctrl+Shift+Tab did not come back to $pane"
    for _ in $(seq "$tabs"); do keys Tab; done
    unit=$(setting fileSizeUnit)
    before=$(visible_windows)
    menu_keys space
    shot "05-${pane// /-}-list-open"
    [ "$(visible_windows)" -gt "$before" ] || fail "Space did not open the drop-down list of $pane"
    keys Escape
    sleep 0.5
    shot "05-${pane// /-}-list-closed"
    [ "$(visible_windows)" -eq "$before" ] || fail "Escape did not close the drop-down list of $pane alone"
    [ "$(active_title)" = "$pane" ] || fail "Escape on the drop-down list closed Preferences (active: $(active_title))"
    [ "$(setting fileSizeUnit)" = "$unit" ] || fail "Escape on the drop-down list changed the size unit"
}

step_preferences_dropdowns() {
    step "Auto Mark's first rule list and Filter's KB/MB list: Space opens each, Escape closes only the list"
    keys ctrl+shift+Tab
    dropdown_escape "Auto Mark" 1
    keys ctrl+Tab
    dropdown_escape Filter 2
}

# From the scan source on this computer: Google Drive's sign-in sheet opens at Allow, Tab goes round
# its three buttons and no other stop, Cancel leaves it, and the window is as it was before.
step_cloud_sign_in_cancel() {
    step "Space on the scan source, Google Drive: Tab goes round the sheet's three buttons; Cancel goes back to this computer"
    shot 06-source-before-drive
    local before with_sheet
    before=$(visible_windows)
    menu_keys space
    keys Down Return
    sleep 1.5
    with_sheet=$(visible_windows)
    [ "$with_sheet" -gt "$before" ] || fail "no Google Drive sign-in sheet"
    shot 06-drive-sheet
    keys Tab Tab Tab
    shot 06-drive-sheet-round
    [ "$(pixels_differing 06-drive-sheet 06-drive-sheet-round)" -eq 0 ] 2>/dev/null ||
        fail "three Tab presses did not bring the sheet's focus back to Allow"
    keys shift+Tab
    shot 06-drive-cancel-focused
    keys space
    sleep 1
    shot 06-source-after-drive
    [ "$(visible_windows)" -lt "$with_sheet" ] || fail "Cancel did not close the sign-in sheet"
    [ "$(active_title)" = Quennary ] || fail "the main window does not have the keys again (active: $(active_title))"
    [ "$(pixels_differing 06-source-before-drive 06-source-after-drive)" -eq 0 ] 2>/dev/null ||
        fail "after Cancel the window is not on this computer as it was"
}

# ---- The main road ----

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
unticked="$home/Pictures/unticked"
mkdir -p "$photos" "$excluded" "$unticked"
mkdir -m 700 "$home/runtime"
QT_QPA_PLATFORM=offscreen "$build/bench/quennary-make-corpus" photos "$home/corpus" 3 1200 900 2>/dev/null
names=(beach forest single)
for i in 0 1 2; do
    cp "$home/corpus/f000/p00000$i.jpg" "$photos/${names[$i]}.jpg"
done
for name in beach forest; do cp "$photos/$name.jpg" "$photos/$name-copy.jpg"; done
# A twin of the single photo in the folder unticked before the scan: scanned, it would make a group.
cp "$photos/single.jpg" "$unticked/single-twin.jpg"

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
step_rule_box_by_keyboard

step "Ctrl+Tab to Filter: the file-type list has the focus on its first row, Space unticks it; Tab to the minimum size, type 40"
keys ctrl+Tab
[ "$(active_title)" = Filter ] || fail "Ctrl+Tab did not reach Filter"
keys space
shot 05-file-type-unticked
keys ${SIZE_KEYS:-Tab} ctrl+a
xdotool type --delay 40 40
keys Tab
shot 05-minimum-size
step_preferences_dropdowns

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
unticked_types=$(python3 -c 'import plistlib, sys
types = plistlib.load(open(sys.argv[1], "rb")).get("allowedExtensions", [])
print(" ".join(",".join(t["extns"]) for t in types if not t["state"]))' "$home/.config/Quennary/settings.plist")
echo "unticked file types: $unticked_types" | tee -a "$out/session.log"
case "$unticked_types" in
"" | *" "* | *jpg*) fail "expected one file type other than JPEG unticked, not '$unticked_types'" ;;
esac

step "Tab to the scan source, Space opens its menu, Dropbox: the sign-in sheet opens at Allow, Tab goes round its three buttons; Return presses Allow"
keys Tab Tab Tab Tab
menu_keys space
keys Down Down Return
sleep 1.5
shot 06-dropbox-sheet
with_sheet=$(visible_windows)
keys Tab Tab Tab
shot 06-dropbox-sheet-round
[ "$(pixels_differing 06-dropbox-sheet 06-dropbox-sheet-round)" -eq 0 ] 2>/dev/null ||
    fail "three Tab presses did not bring the Dropbox sheet's focus back to Allow"
keys Return
sleep 1.5
shot 06-dropbox-alert
# A sign-in that fails ends as on the Google Drive sheet: the sheet closes and an alert says why.
[ "$(visible_windows)" -eq "$with_sheet" ] || fail "the failed sign-in did not close the sheet and show an alert"

step "Return answers the alert; the window is back on this computer and has the keys again"
keys Return
sleep 1
shot 06-back-to-this-computer
[ "$(visible_windows)" -lt "$with_sheet" ] || fail "Return did not answer the sign-in alert"
[ "$(active_title)" = Quennary ] || fail "the main window does not have the keys again (active: $(active_title))"
step_cloud_sign_in_cancel

step "Shift+Tab back to the scan list, Tab to Add Folder, Space presses it; type the folder in the open panel"
keys shift+Tab shift+Tab shift+Tab shift+Tab Tab Tab Tab
shot 06-add-folder-focused
keys space
sleep 1.5
shot 07-open-panel
xdotool type --delay 40 "$photos"
keys Return
sleep 1.5
shot 08-folder-added

step "Add Folder again for a second folder"
keys space
sleep 1.5
xdotool type --delay 40 "$unticked"
keys Return
sleep 1.5
shot 08-second-folder-added

step "Shift+Tab back to the list: Space twice leaves the first row ticked, Down and Space untick the second"
keys shift+Tab shift+Tab shift+Tab space
sleep 0.5
keys space
sleep 0.5
keys Down space
sleep 0.5
shot 08-second-unticked
states=$(python3 -c 'import plistlib, sys
print(" ".join(str(int(p["state"])) for p in plistlib.load(open(sys.argv[1], "rb")).get("savedPaths", [])))' "$home/.config/Quennary/settings.plist")
echo "scan list ticks: $states" | tee -a "$out/session.log"
[ "$states" = "1 0" ] || fail "expected the first row ticked and the second not, not '$states'"

step "The Menu key opens the list's menu at the current row; Escape"
menu_keys Menu
shot 08-scan-list-menu
keys Escape

step "Return on the list presses Scan for Duplicates (on a button it presses that button)"
keys ${SCAN_KEYS:-Return}
sleep 12
shot 09-scan-complete

step "Escape leaves the scan-complete sheet: mark by hand"
keys Escape
sleep 1
shot 10-results-grid
step_space_after_a_click_on_another_groups_box

step "The grid has the focus, its first photo the focus mark; Shift+F10 shows its menu, Escape; Space ticks its box"
shot 11-grid-focus
menu_keys shift+F10
shot 12-grid-menu
keys Escape
keys space
sleep 0.5
shot 13-grid-marked

step "Shift+Tab to the matching level: Right moves it one level up, Left back where it was"
keys shift+Tab
shot 13-slider-focused
keys Right
sleep 1
shot 13-slider-right
keys Left
sleep 1
shot 13-slider-back
moved=$(pixels_differing 13-slider-focused 13-slider-right)
back=$(pixels_differing 13-slider-focused 13-slider-back)
echo "pixels changed by Right: $moved; left changed after Left: $back" | tee -a "$out/session.log"
[ "${moved:-0}" -gt 20 ] 2>/dev/null || fail "Right did not move the matching level"
[ "${back:-1}" -eq 0 ] 2>/dev/null || fail "Left did not bring the matching level back"

step "Shift+Tab to the listing button, Space opens its menu, choose the list"
keys ${LISTING_KEYS:-shift+Tab shift+Tab}
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

step "Alt+Q on the summary opens the program's menu; Escape closes it and the keys are the summary's again"
menu_keys alt+q
shot 18-summary-menu
keys Escape
sleep 1
shot 18-summary-again

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
[ -f "$unticked/single-twin.jpg" ] || fail "the photo of the unticked folder was touched"
# One copy of each pair went: one of beach and one of forest stay.
for name in beach forest; do
    [ "$(find "$photos" -name "$name*" | wc -l)" -eq 1 ] || fail "expected one $name photo left"
done
[ "$(cat "$out/stdout.txt")" = "Quennary" ] || fail "standard output holds more than the product name: $(head -3 "$out/stdout.txt")"
grep -q . "$out/stderr.txt" && fail "the program wrote to standard error"
step_quit_from_the_summary
echo "PASS (screenshots in $out)" | tee -a "$out/session.log"
