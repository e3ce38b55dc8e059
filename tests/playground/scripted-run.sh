#!/usr/bin/env bash
# The program plays a shipped script headless on the virtual clock and writes its screenshots;
# a script that does not parse ends the run with status 1 and names the line.
set -u
app="$1"; scripts="$2"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export QT_QPA_PLATFORM=offscreen
failed=0
if ! "$app" --playground --script "$scripts/tour.play" --virtual-time --screenshots "$dir" 2>"$dir/log"; then
  echo "tour failed:"; cat "$dir/log"; failed=1
fi
for shot in desktop hint; do
  [ -s "$dir/$shot.png" ] || { echo "missing $shot.png"; failed=1; }
done
printf 'tab\nalt+tabb\n' >"$dir/bad.play"
"$app" --script "$dir/bad.play" --virtual-time 2>"$dir/err"
status=$?
[ "$status" -eq 1 ] || { echo "bad script exit status $status"; failed=1; }
grep -q 'line 2: unknown key "tabb"' "$dir/err" || { echo "no line in:"; cat "$dir/err"; failed=1; }
[ "$failed" -eq 0 ] && echo "1 passed, 0 failed"
exit "$failed"
