#!/usr/bin/env bash
# Starts a Firebird network server of our own on 127.0.0.1:<port>, with the SYSDBA
# password set, and prints its process id when it listens.
#   start-server.sh <root-folder> <port> <taxidb>
# The SYSDBA password is ISC_PASSWORD, or masterkey without it: a command line, this
# script's included, can be read by every local user.
set -euo pipefail
root="$1"; port="$2"; taxidb="$3"; password="${ISC_PASSWORD:-masterkey}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
server=/usr/sbin/firebird
[ -x "$server" ] || { echo "the Firebird server ($server) is not installed" >&2; exit 77; }
"$here/fb-private-root.sh" "$root" server "$port"
export FIREBIRD="$root" FIREBIRD_LOCK="$root/lock"
# The security database is opened directly (embedded) to set the password. taxidb reads
# the new one from its standard input; printf is a shell builtin, so it starts no
# process whose command line would show the password.
printf '%s\n' "$password" | "$taxidb" set-password "$root/security3.fdb" SYSDBA >/dev/null
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
