#!/usr/bin/env bash
# demo_setserver_ini.sh <taxi script>: the demo's SETSERVER.INI holds the password, so
# ./taxi writes it owner-only, and whatever stood at its place before (a file readable by
# all, a symbolic link to another file, a dangling link) is replaced, never written through.
set -u
script="$1"
work="$(mktemp -d "${TMPDIR:-/tmp}/taxi-setserver-XXXXXX")"
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }
export TAXI_BUILD_DIR="$work/build" TAXI_VAR_DIR="$work/var"
# shellcheck source=/dev/null  # the script is an argument
source "$script"
set +e
mkdir -p "$BIN" "$VAR/demo"
: > "$VAR/demo/TAXI_DEMO.FDB" # there already: no database is created
umask 022 # what a user typically has; the file must not get its mode from it
ini="$BIN/SETSERVER.INI"

for before in none file link dangling; do
  rm -f "$ini" "$work/other"
  case "$before" in
    file) printf 'old\n' > "$ini"; chmod 644 "$ini" ;;
    link) printf 'other\n' > "$work/other"; chmod 644 "$work/other"; ln -s "$work/other" "$ini" ;;
    dangling) ln -s "$work/other" "$ini" ;;
  esac
  ( demo_database ) || fail "$before: demo_database failed"
  [ -L "$ini" ] && fail "$before: SETSERVER.INI is still a symbolic link"
  [ "$(stat -c %a "$ini")" = "600" ] || fail "$before: SETSERVER.INI has mode $(stat -c %a "$ini")"
  grep -q $'^PASS=masterkey\r$' "$ini" || fail "$before: SETSERVER.INI lacks the password line"
  grep -qF "PATH_BAZA=$VAR/demo" "$ini" || fail "$before: SETSERVER.INI lacks the database folder"
  case "$before" in
    link) [ "$(cat "$work/other")" = "other" ] || fail "link: the file the link pointed at was written" ;;
    dangling) [ -e "$work/other" ] && fail "dangling: the link's target was created" ;;
  esac
  leftovers=("$BIN"/SETSERVER.INI.*)
  [ -e "${leftovers[0]}" ] && fail "$before: a temporary file was left: ${leftovers[*]}"
done
echo "SETSERVER.INI is written owner-only and never through what stood at its place"
