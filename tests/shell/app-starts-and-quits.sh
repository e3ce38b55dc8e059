#!/usr/bin/env bash
# The program with no arguments starts against the simulated session, arms its input side and
# quits cleanly on SIGTERM.
set -u
app="$1"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
QT_QPA_PLATFORM=offscreen "$app" 2>"$log" &
pid=$!
for _ in $(seq 1 100); do
  grep -q "Fenwold: input handlers armed" "$log" && break
  sleep 0.1
done
if ! grep -q "Fenwold: input handlers armed" "$log"; then
  echo "never armed:"; cat "$log"; kill -9 "$pid" 2>/dev/null; exit 1
fi
kill -TERM "$pid"
wait "$pid"
status=$?
[ "$status" -eq 0 ] || { echo "exit status $status"; cat "$log"; exit 1; }
echo "1 passed, 0 failed"
