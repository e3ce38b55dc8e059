#!/usr/bin/env bash
# On a Linux display (here a virtual X server) the program opens the playground by default: it
# plays a script on the real clock and its screenshot shows the simulated screen. Skipped (77)
# where no virtual X server is installed.
set -u
app="$1"; scripts="$2"
command -v xvfb-run >/dev/null || { echo "xvfb-run not installed"; exit 77; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
if ! timeout 60 xvfb-run -a -s "-screen 0 1920x1200x24" \
     "$app" --script "$scripts/tour.play" --screenshots "$dir" >"$dir/out" 2>&1; then
  echo "run failed:"; cat "$dir/out"; exit 1
fi
grep -q "Fenwold: input handlers armed" "$dir/out" || { echo "never armed:"; cat "$dir/out"; exit 1; }
[ -s "$dir/desktop.png" ] || { echo "no screenshot"; ls "$dir"; exit 1; }
echo "1 passed, 0 failed"
