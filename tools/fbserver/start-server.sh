#!/usr/bin/env bash
# Starts a Firebird network server of our own on 127.0.0.1:<port>, with the SYSDBA
# password set, and prints its process id when it listens.
#   start-server.sh <root-folder> <port> <taxidb> [sysdba-password]
set -euo pipefail
root="$1"; port="$2"; taxidb="$3"; password="${4:-masterkey}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
server=/usr/sbin/firebird
[ -x "$server" ] || { echo "the Firebird server ($server) is not installed" >&2; exit 77; }
"$here/fb-private-root.sh" "$root" server "$port" "$password"
export FIREBIRD="$root" FIREBIRD_LOCK="$root/lock"
# The security database is opened directly (embedded) to set the password.
"$taxidb" exec "$root/security3.fdb" "CREATE OR ALTER USER SYSDBA PASSWORD '$password' USING PLUGIN Srp" >/dev/null
"$server" >"$root/server.log" 2>&1 &
pid=$!
for _ in $(seq 1 100); do
  if (exec 3<>/dev/tcp/127.0.0.1/"$port") 2>/dev/null; then
    echo "$pid"
    exit 0
  fi
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
echo "the Firebird server did not start; see $root/server.log" >&2
kill "$pid" 2>/dev/null || true
exit 1
