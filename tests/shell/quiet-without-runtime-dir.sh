#!/usr/bin/env bash
# The exact-output modes, run where the session names no runtime folder (as root in a plain shell):
# standard output holds the mode's lines and standard error only the program's own log lines.
set -u
app="$1"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
for mode in --tcc --dump --alt-f4-selfcheck --window-store-selfcheck; do
  env -u XDG_RUNTIME_DIR TMPDIR="$scratch" QT_QPA_PLATFORM=offscreen "$app" "$mode" >"$scratch/out" 2>"$scratch/err"
  status=$?
  foreign=$(grep -v '^Fenwold: ' "$scratch/err")
  if [ "$status" -ne 0 ] || [ -n "$foreign" ] || [ ! -s "$scratch/out" ]; then
    echo "$mode: exit $status, standard error:"; cat "$scratch/err"; failed=$((failed + 1))
  fi
done
[ "$failed" -eq 0 ] || exit 1
echo "4 passed, 0 failed"
