#!/usr/bin/env bash
# On a Mac the program's log lines go to the unified log (os_log), not to standard error. The
# clipboard preview needs no permission and logs one line as it starts: run it, then find that
# line with `log show`, as a person reading Console would.
set -u
app="$1"
line="Fenwold: showing the clipboard shelf with sample clips"
since=$(date '+%Y-%m-%d %H:%M:%S')
env -u QT_QPA_PLATFORM "$app" --clipboard-preview >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null' EXIT
for _ in $(seq 1 30); do
  if log show --start "$since" --style compact --predicate "processID == $pid AND eventMessage == \"$line\"" \
    2>/dev/null | grep -qF "$line"; then
    echo "1 passed, 0 failed"
    exit 0
  fi
  sleep 1
done
echo "no \"$line\" from process $pid in the unified log; its lines:"
log show --start "$since" --style compact --predicate "processID == $pid" | tail -n 20
exit 1
