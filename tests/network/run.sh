#!/usr/bin/env bash
# Starts a Firebird server of our own on a free loopback port, runs the network suite
# against it and stops it again.   run.sh <test_network> <taxidb> <taxi-archiver> [gtest options]
set -euo pipefail
tests="$1"; taxidb="$2"; archiver="$3"; shift 3
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d "${TMPDIR:-/tmp}/taxi-network-XXXXXX")"
port=$(( 30000 + RANDOM % 20000 ))
while (exec 3<>/dev/tcp/127.0.0.1/"$port") 2>/dev/null; do port=$(( port + 1 )); done
pid=$("$here/../../tools/fbserver/start-server.sh" "$work/root" "$port" "$taxidb") || exit $?
cleanup() { "$here/../../tools/fbserver/stop-server.sh" "$pid"; rm -rf "$work" 2>/dev/null || true; }
trap cleanup EXIT
echo "Firebird server on 127.0.0.1:$port (pid $pid)"
status=0
TAXI_FB_SERVER="127.0.0.1/$port:" TAXI_ARCHIVER="$archiver" "$tests" "$@" || status=$?
exit "$status"
