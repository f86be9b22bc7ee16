#!/usr/bin/env bash
# Installs a build into a temporary prefix, checks the installed layout and the desktop entry, then
# starts the installed program offscreen in a private home and checks that it started with its
# resources: the log banner is written and no text was missing from the string table.
# Usage: scripts/check-install.sh <build folder>
set -euo pipefail
build=$(realpath "${1:?usage: $0 <build folder>}")

work=$(mktemp -d "${TMPDIR:-/tmp}/quennary-install-XXXXXX")
# The runtime folder holds the single-instance socket, whose path the system bounds at 107 bytes:
# it is a short folder of its own, however long TMPDIR is.
run=$(mktemp -d /tmp/qny-run-XXXXXX)
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    rm -rf "$work" "$run"
}
trap cleanup EXIT
fail() { echo "check-install: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.txt" || { cat "$work/install.txt"; fail "install failed"; }

for file in bin/quennary libexec/quennary/quennary-privileged \
    share/quennary/strings/QNY_en.plist \
    share/quennary/db/quennary.db share/quennary/db/Raza.db share/quennary/db/Qnydb.db \
    share/quennary/db/schema.sql \
    share/applications/quennary.desktop \
    share/icons/hicolor/scalable/apps/quennary.svg \
    share/icons/hicolor/16x16/apps/quennary.png share/icons/hicolor/48x48/apps/quennary.png \
    share/icons/hicolor/256x256/apps/quennary.png; do
    [ -f "$prefix/$file" ] || fail "missing $file"
done
ls "$prefix"/share/quennary/images/*.svg >/dev/null 2>&1 || fail "no artwork in share/quennary/images"
[ -x "$prefix/bin/quennary" ] || fail "bin/quennary is not executable"

# Errors fail; hints (e.g. more than one main category) are printed only.
desktop-file-validate "$prefix/share/applications/quennary.desktop" || fail "desktop entry does not validate"

# Private folders, so neither the user's files nor a running Quennary (its single-instance socket
# lives in XDG_RUNTIME_DIR, named after the settings folder) are touched.
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
    XDG_CACHE_HOME=$work/cache XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$run TMPDIR=$work/tmp
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$TMPDIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
# Started from an unrelated folder: resources must be found from the program's own place.
(cd "$work" && exec "$prefix/bin/quennary" >"$work/stdout.txt" 2>"$work/stderr.txt") &
pid=$!

# The single-instance listener is start-up's last step: once its socket exists, the start-up
# sequence (banner, string lookups, main window) has run.
started=""
for _ in $(seq 1 600); do
    for socket in "$XDG_RUNTIME_DIR"/quennary-*; do [ -S "$socket" ] && started=yes; done
    [ -n "$started" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
[ -n "$started" ] || { cat "$work/stderr.txt" >&2; fail "the installed program did not finish starting"; }
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""

log=$XDG_STATE_HOME/Quennary/quennarylog.log
[ -f "$log" ] || fail "no log written at $log"
grep -qx '==========================================' "$log" || fail "no banner in the log"
grep -q '^Quennary start ' "$log" || fail "no start line in the log"
if grep -q 'No resources folder' "$work/stderr.txt"; then fail "resources not found: $(cat "$work/stderr.txt")"; fi
# A key written to the log is a text the string table did not give.
if grep -q '^ID_' "$log"; then fail "string table not loaded: $(grep '^ID_' "$log" | head -3)"; fi
# Standard output holds the product's name, printed at start, and nothing else: diagnostics go to the log.
[ "$(cat "$work/stdout.txt")" = "Quennary" ] || fail "standard output holds more than the product name: $(head -3 "$work/stdout.txt")"
echo "check-install: installed layout, desktop entry and an offscreen start are fine"
