#!/usr/bin/env bash
# archiver_stops.sh <taxidb> <taxi-archiver> <schema.sql>: starts the archiver on a fresh
# embedded database, sends SIGTERM and expects it gone within five seconds with status 0.
set -u
taxidb="$1"; archiver="$2"; schema="$3"
work="$(mktemp -d "${TMPDIR:-/tmp}/taxi-archiver-XXXXXX")"
trap 'rm -rf "$work"' EXIT
export FIREBIRD_LOCK="$work/lock"
mkdir -p "$FIREBIRD_LOCK"
"$taxidb" create "$work/A.FDB" "$schema" || exit 1
"$taxidb" exec "$work/A.FDB" "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_STATUS_ZAMOVL) VALUES (1, 1)" >/dev/null || exit 1
"$archiver" "$work/A.FDB" --interval 1 &
pid=$!
sleep 2
kill -TERM "$pid"
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "the archiver did not stop on SIGTERM"
  kill -9 "$pid"
  exit 1
fi
wait "$pid"
status=$?
[ "$status" -eq 0 ] || { echo "the archiver ended with status $status"; exit 1; }
archived=$("$taxidb" exec "$work/A.FDB" "SELECT COUNT(*) FROM CLOSEZAMOVLENNIA" | tail -1)
[ "$archived" = "1" ] || { echo "the executed order was not archived ($archived)"; exit 1; }
echo "archiver archived the order and stopped on SIGTERM"
