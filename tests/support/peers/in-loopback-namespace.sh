#!/bin/sh
# Runs a command in a network namespace of its own that has only loopback, so the
# peers it starts (Kamailio looks up its host name at every start) can reach nothing
# but this machine's loopback. Root gets a plain network namespace; others a user
# namespace with it, where one is allowed. Without either the command still runs, told
# by TAXI_LOOPBACK_NAMESPACE=missing, and its peer tests skip (or fail under CI=true).
# Usage: in-loopback-namespace.sh command [arguments...]
set -eu
if [ "${TAXI_LOOPBACK_NAMESPACE:-}" = inside ]; then
    exec "$@"
fi
ip=$(command -v ip || echo /usr/sbin/ip)
if [ "$(id -u)" -eq 0 ]; then
    flags=-n
else
    flags=-rn
fi
if unshare $flags "$ip" link set lo up 2>/dev/null; then
    exec unshare $flags sh -c '"$0" link set lo up && TAXI_LOOPBACK_NAMESPACE=inside exec "$@"' "$ip" "$@"
fi
echo "in-loopback-namespace: no network namespace can be made here" >&2
TAXI_LOOPBACK_NAMESPACE=missing exec "$@"
