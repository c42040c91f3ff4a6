#!/usr/bin/env bash
# The pictures of docs/walkthrough/: a newcomer's first shift on the demo desk.
#   tools/walkthrough/take-screenshots.sh [DATABASE]
# Builds the walkthrough, starts a virtual screen of its own (Xvfb, 1280x800x24, on a
# free display), runs the shift and stops the screen again. The demo database is made
# afresh from db/schema.sql and db/demo.sql, so the pictures show the demo as a new
# checkout has it (its times are relative to now); give DATABASE (var/demo/TAXI_DEMO.FDB,
# for instance) to photograph that one instead. Either way the walkthrough works on a
# copy: the database given is never written.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${TAXI_BUILD_DIR:-$ROOT/build}"
BIN="$BUILD/bin"
PICTURES="$ROOT/docs/walkthrough"

say() { printf 'take-screenshots: %s\n' "$*"; }

# The build machine is shared: one job, one build at a time.
flock /tmp/taxi-build.lock cmake "$BUILD" >/dev/null
flock /tmp/taxi-build.lock ninja -j1 -C "$BUILD" walkthrough demomap taxidb

WORK="$(mktemp -d)"
XVFB_PID=""
cleanup() {
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
  rm -rf "$WORK"
}
trap cleanup EXIT

# A lock folder of our own: nothing else's embedded engine is disturbed.
mkdir -p "$WORK/lock"
export FIREBIRD_LOCK="$WORK/lock"

DATABASE="${1:-}"
if [ -z "$DATABASE" ]; then
  DATABASE="$WORK/TAXI_DEMO.FDB"
  say "creating a fresh demo database"
  "$BIN/taxidb" create "$DATABASE" "$ROOT/db/schema.sql" "$ROOT/db/demo.sql" >/dev/null
fi

# Xvfb picks a free display itself and writes its number to the descriptor given.
exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
exec 3>&-
for _ in $(seq 100); do
  [ -s "$WORK/display" ] && break
  kill -0 "$XVFB_PID" 2>/dev/null || { cat "$WORK/xvfb.log" >&2; say "Xvfb did not start"; exit 1; }
  sleep 0.1
done
[ -s "$WORK/display" ] || { say "Xvfb gave no display"; exit 1; }
DISPLAY=":$(tr -d '[:space:]' <"$WORK/display")"
say "virtual screen $DISPLAY"

mkdir -p "$PICTURES"
status=0
env -u WAYLAND_DISPLAY DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb \
  "$BIN/walkthrough" "$DATABASE" "$PICTURES" || status=$?

# Smaller files where the tools are at hand; the pictures are fine without them.
if command -v optipng >/dev/null; then
  optipng -quiet -o2 "$PICTURES"/*.png || true
fi
ls -l "$PICTURES"
exit "$status"
