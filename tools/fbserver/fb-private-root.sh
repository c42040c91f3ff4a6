#!/usr/bin/env bash
# Makes a private Firebird root folder, so the project never depends on or changes the
# system-wide Firebird configuration.
#   fb-private-root.sh <folder> superclassic
#       embedded engine in SuperClassic mode: several processes may open one database file
#   fb-private-root.sh <folder> server <port>
#       the network server on 127.0.0.1:<port> with a security database of its own
#       (start-server.sh sets its SYSDBA password)
# Then export FIREBIRD=<folder> FIREBIRD_LOCK=<folder>/lock before starting a program.
set -euo pipefail
root="$1"; mode="$2"
system=/usr/lib/x86_64-linux-gnu/firebird/3.0
mkdir -p "$root/intl" "$root/lock"
[ -e "$root/plugins" ] || ln -s "$system/plugins" "$root/plugins"
[ -e "$root/firebird.msg" ] || ln -s "$system/firebird.msg" "$root/firebird.msg"
cp -f "$system"/intl/* "$root/intl/"
cp -f /etc/firebird/3.0/plugins.conf "$root/plugins.conf"
case "$mode" in
  superclassic)
    printf 'ServerMode = SuperClassic\n' > "$root/firebird.conf"
    ;;
  server)
    port="$3"
    if [ ! -f "$root/security3.fdb" ]; then
      cp /var/lib/firebird/3.0/system/security3.fdb "$root/security3.fdb"
      chmod 600 "$root/security3.fdb"
    fi
    {
      printf 'ServerMode = Super\n'
      printf 'RemoteServicePort = %s\n' "$port"
      printf 'RemoteBindAddress = 127.0.0.1\n'
      printf 'SecurityDatabase = %s/security3.fdb\n' "$root"
    } > "$root/firebird.conf"
    ;;
  *) echo "unknown mode: $mode" >&2; exit 2 ;;
esac
