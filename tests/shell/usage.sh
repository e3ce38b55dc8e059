#!/usr/bin/env bash
# "--help" prints the usage and exits 0 without starting anything; an unknown switch prints it on
# standard error and exits 2.
set -u
app="$1"
out=$(mktemp); err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

QT_QPA_PLATFORM=offscreen timeout 10 "$app" --help >"$out" 2>"$err"
status=$?
[ "$status" -eq 0 ] || fail "--help exited $status"
head -1 "$out" | grep -q '^Usage: fenwold' || fail "--help printed no usage: $(head -3 "$out")"
grep -q -- '--state-file FILE' "$out" || fail "the usage lacks --state-file"
grep -q 'armed' "$err" && fail "--help started the program"

QT_QPA_PLATFORM=offscreen timeout 10 "$app" --dump --no-such-switch >"$out" 2>"$err"
status=$?
[ "$status" -eq 2 ] || fail "an unknown switch exited $status"
[ -s "$out" ] && fail "an unknown switch wrote to standard output: $(head -3 "$out")"
grep -q 'unknown switch --no-such-switch' "$err" || fail "the error does not name the switch"
grep -q '^Usage: fenwold' "$err" || fail "the usage is not on standard error"

[ "$failed" -eq 0 ] && echo "2 passed, 0 failed"
exit "$failed"
