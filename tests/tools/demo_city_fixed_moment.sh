#!/usr/bin/env bash
# demo_city_fixed_moment.sh <taxidb> <make_demo_city.py> <schema.sql>: a city generated for
# a fixed moment holds the same working day whatever the hour it is loaded at: its 60
# orders of the working day lie between the last roll call (07:00) and that moment, also
# for a moment before the roll call, when the working day began the day before.
set -u
taxidb="$1"; generator="$2"; schema="$3"
work="$(mktemp -d "${TMPDIR:-/tmp}/taxi-democity-XXXXXX")"
trap 'rm -rf "$work"' EXIT
export FIREBIRD_LOCK="$work/lock"
mkdir -p "$FIREBIRD_LOCK"

scalar() { "$taxidb" exec "$1" "$2" | tail -1; }

check() { # moment, day of the roll call (dd.mm.yyyy), day of the moment, its time
  local now="$1" rollDay="$2" day="$3" time="$4" db="$work/$RANDOM.FDB"
  python3 "$generator" --now "$now" -o "$work/city.sql" || exit 1
  if grep -q 'CURRENT_' "$work/city.sql"; then
    echo "the script for $now still depends on the moment it is loaded"; exit 1
  fi
  "$taxidb" create "$db" "$schema" "$work/city.sql" >/dev/null || exit 1
  local inDay
  inDay=$(scalar "$db" "SELECT COUNT(*) FROM CLOSEZAMOVLENNIA WHERE
      CZ_DATA_PRIYOMA + CZ_CHAS_PRIYOMA
      BETWEEN CAST('$rollDay 07:00' AS TIMESTAMP) AND CAST('$day $time' AS TIMESTAMP)")
  [ "$inDay" = "60" ] || { echo "$now: $inDay orders of the working day instead of 60"; exit 1; }
  local later
  later=$(scalar "$db" "SELECT COUNT(*) FROM CLOSEZAMOVLENNIA WHERE
      CZ_DATA_PRIYOMA + CZ_CHAS_PRIYOMA > CAST('$day $time' AS TIMESTAMP)")
  [ "$later" = "0" ] || { echo "$now: $later archived orders after the moment"; exit 1; }
}

check "2026-03-03 15:00:00" 03.03.2026 03.03.2026 15:00
check "2026-03-03 00:40:00" 02.03.2026 03.03.2026 00:40
echo "the working day follows the given moment"
