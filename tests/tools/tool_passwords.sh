#!/usr/bin/env bash
# tool_passwords.sh <taxidb> <taxi-archiver> <schema.sql>: the tools take the database
# password from ISC_PASSWORD or from an owner-only --password-file, refuse it on the
# command line and refuse a password file others may read; start-server.sh sets the
# server's SYSDBA password without it appearing on any command line. The last part needs
# the Firebird server (exit 77 without it).
set -u
realTaxidb="$1"; archiver="$2"; schema="$3"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d "${TMPDIR:-/tmp}/taxi-passwords-XXXXXX")"
pid=""
cleanup() {
  [ -n "$pid" ] && "$here/../../tools/fbserver/stop-server.sh" "$pid"
  rm -rf "$work"
}
trap cleanup EXIT
export FIREBIRD_LOCK="$work/lock"
mkdir -p "$FIREBIRD_LOCK"
unset ISC_PASSWORD
fail() { echo "$*"; exit 1; }

# Every taxidb command line, start-server.sh's included, is logged to look for the password.
taxidb="$work/taxidb"
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >> "%s/command-lines"\nexec "%s" "$@"\n' "$work" "$realTaxidb" > "$taxidb"
chmod 700 "$taxidb"

# --- refused before anything is attached or created
out=$("$taxidb" create "$work/R.FDB" "$schema" --password secret 2>&1) && fail "--password was accepted"
[[ "$out" == *ISC_PASSWORD* && "$out" == *--password-file* ]] || fail "the refusal does not name the ways that work: $out"
[ -e "$work/R.FDB" ] && fail "a database was created with --password"
out=$("$archiver" "$work/R.FDB" --password=secret 2>&1) && fail "the archiver accepted --password="
[[ "$out" == *ISC_PASSWORD* ]] || fail "the archiver's refusal does not name ISC_PASSWORD: $out"

printf 'secret\n' > "$work/password"
for mode in 644 640 604 620; do
  chmod "$mode" "$work/password"
  out=$("$taxidb" create "$work/R.FDB" "$schema" --password-file "$work/password" 2>&1) &&
    fail "a password file of mode $mode was accepted"
  [[ "$out" == *"chmod 600"* ]] || fail "mode $mode: the refusal does not say how to fix it: $out"
  [ -e "$work/R.FDB" ] && fail "a database was created with a password file of mode $mode"
done
"$archiver" "$work/R.FDB" --password-file "$work/password" 2>/dev/null &&
  fail "the archiver accepted a password file of mode 620"

# --- the password reaches a server that checks it
[ -x /usr/sbin/firebird ] || { echo "the Firebird server is not installed"; exit 77; }
password="s3cr'et word" # a quote and a space: the statement that sets it must quote it
port=$(( 30000 + RANDOM % 20000 ))
while (exec 3<>/dev/tcp/127.0.0.1/"$port") 2>/dev/null; do port=$(( port + 1 )); done
pid=$(ISC_PASSWORD="$password" "$here/../../tools/fbserver/start-server.sh" "$work/root" "$port" "$taxidb") ||
  fail "the server did not start"
db="127.0.0.1/$port:$work/N.FDB"

ISC_PASSWORD="$password" "$taxidb" create "$db" "$schema" >/dev/null || fail "ISC_PASSWORD was not used"
"$taxidb" exec "$db" "SELECT 1 FROM RDB\$DATABASE" >/dev/null 2>&1 &&
  fail "the server took masterkey: start-server.sh did not set ISC_PASSWORD as the SYSDBA password"
printf '%s\n' "$password" > "$work/password"
chmod 600 "$work/password"
ISC_PASSWORD=wrong "$taxidb" exec "$db" \
  "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_STATUS_ZAMOVL) VALUES (1, 1)" \
  --password-file "$work/password" >/dev/null || fail "the password file did not win over ISC_PASSWORD"

ISC_PASSWORD="$password" "$archiver" "$db" --interval 1 >/dev/null 2>&1 &
archiverPid=$!
archived=0
for _ in $(seq 1 100); do
  archived=$(ISC_PASSWORD="$password" "$taxidb" exec "$db" "SELECT COUNT(*) FROM CLOSEZAMOVLENNIA" | tail -1)
  [ "$archived" = "1" ] && break
  sleep 0.1
done
kill -TERM "$archiverPid"; wait "$archiverPid"
[ "$archived" = "1" ] || fail "the archiver did not attach with ISC_PASSWORD"

# Looked for by a part no quoting changes.
grep -q "security3.fdb" "$work/command-lines" || fail "start-server.sh did not set the password through taxidb"
grep -F "s3cr" "$work/command-lines" && fail "the password appeared on a command line"
echo "passwords come from ISC_PASSWORD or an owner-only file, never from a command line"
