#!/usr/bin/env bash
# Where the start-up time goes: runs the viewer (offscreen, like run-startup-bench.sh) RUNS times with
# KORVANE_STARTUP_TRACE set and prints, per phase mark, the median time since the process was launched.
# Dynamic linking is what comes before "main". An optional third argument names another viewer binary in
# the same bin folder (for A/B comparisons); several names separated by commas are run interleaved.
# Usage: bench/startup/run-startup-phases.sh [BUILD_DIR] [RUNS] [VIEWER[,VIEWER...]]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
runs=${2:-7}
IFS=',' read -r -a viewers <<<"${3:-korvane-player}"
card="$build/demo-card-avi"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen KORVANE_SETTINGS_DIR="$work/config" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$TMPDIR" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"

run_once() { # viewer name, output file
  # Started by bench_startup_launch like in run-startup-bench.sh, which also reports the launch time the
  # marks are counted from and waits without taking processor time from the viewer.
  local ready="$work/ready" out
  out=$(KORVANE_STARTUP_TRACE=1 KORVANE_READY_FILE="$ready" "$build/bin/bench_startup_launch" "$ready" \
    "$build/bin/$1" "$card/" 2>"$work/trace") || { echo "phases: no frame painted" >&2; exit 1; }
  local elapsed start cpu
  read -r elapsed start cpu <<<"$out"
  awk -v s="$start" '$1 == "startup-trace" { n = $3; for (i = 4; i <= NF; i++) n = n " " $i; if (!(n in seen)) { seen[n] = 1; print n "\t" ($2 - s) } }' "$work/trace" >>"$2"
  printf 'ready file\t%s\n' "${elapsed%.*}" >>"$2"
  printf 'processor time to the ready file (not a mark)\t%s\n' "$cpu" >>"$2"
}

for v in "${viewers[@]}"; do run_once "$v" /dev/null; done # warm-up, not counted
for i in $(seq 1 "$runs"); do
  for v in "${viewers[@]}"; do run_once "$v" "$work/$v.tsv"; done
done
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
for v in "${viewers[@]}"; do
  echo "== $v: median ms since launch over $runs runs (first seen order)"
  python3 - "$work/$v.tsv" <<'PY'
import sys, statistics
order, values = [], {}
for line in open(sys.argv[1]):
    name, ms = line.rstrip("\n").split("\t")
    if name not in values:
        order.append(name); values[name] = []
    values[name].append(int(ms))
order.sort(key=lambda n: statistics.median(values[n]))
for n in order:
    print(f"{statistics.median(values[n]):7.0f}  {n}  (n={len(values[n])})")
PY
done
