#!/usr/bin/env bash
# Runs a test executable for ctest and tells ctest when it skipped something: PATTERN is the framework's skip
# line ("[  SKIPPED ]" for GoogleTest, "SKIP   :" for Qt Test). A run that passed with a skip exits 77, which
# ctest shows as Skipped; a run that failed stays failed even when it also skipped (ctest's own skip pattern
# would have reported that failure as a skip).
#   run-reporting-skips.sh PATTERN COMMAND [ARGS...]
set -u
pattern=$1
shift
if [ ! -x "$1" ]; then
  echo "run-reporting-skips: $1 is not built" >&2
  exit 1
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$@" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
if [ "$status" -eq 0 ] && grep -qF -- "$pattern" "$log"; then
  exit 77
fi
exit "$status"
