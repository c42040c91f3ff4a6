#!/usr/bin/env bash
# Stops a server started by start-server.sh and waits until it has gone.
#   stop-server.sh <pid>
pid="$1"
kill "$pid" 2>/dev/null || exit 0
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || exit 0
  sleep 0.1
done
kill -9 "$pid" 2>/dev/null || true
