#!/usr/bin/env bash
# Start-up benchmark: wall time from process start to the first painted frame of row 0 of the demo card,
# (a) the viewer (offscreen, fresh single-instance lock, settings kept between runs like a user's), and
# (b) a minimal program that loads the same media library, creates an instance and a player with video
# callbacks and plays the same recording until its first video callback. The two alternate; each is run
# RUNS times (default 7) and the medians are compared. The last line is the ratio (a)/(b). Both are
# started and timed the same way, by bench_startup_launch: from just before the fork to the viewer's ready
# file ("frame", written once the picture is painted) or to the baseline's exit.
# For before/after comparisons, VIEWERS names other viewer binaries in the same bin folder (comma-separated,
# e.g. "korvane-player.old,korvane-player"): they run interleaved in every round, each is reported, and the
# last line is the ratio of the last one named. bench/startup/run-startup-phases.sh says where the time goes.
# Usage: bench/startup/run-startup-bench.sh [BUILD_DIR] [RUNS] [VIEWERS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
runs=${2:-7}
IFS=',' read -r -a viewers <<<"${3:-korvane-player}"
baseline="$build/bin/bench_startup_baseline"
launch="$build/bin/bench_startup_launch"
card="$build/demo-card-avi"
for f in "${viewers[@]/#/$build/bin/}" "$baseline" "$launch"; do
  [ -x "$f" ] || { echo "bench: build korvane-player, bench_startup_baseline and bench_startup_launch first" >&2; exit 1; }
done
[ -d "$card" ] || { echo "bench: build korvane_demo_cards first" >&2; exit 1; }

# Row 0 of the demo card: the list's first row after sorting by base name (span markers never play).
clip=$("$build/bin/korvane-cli" scan "$card" | python3 -c '
import json, sys
d = json.load(sys.stdin)
for r in d["rows"]:
    if "p" not in r["base"]:
        prefix = {"Normal": "rec_", "Event": "evt_", "Parking": "pmr_"}[r["kind"]]
        print(prefix + r["base"] + d["videoExtension"]); break')
clip="$card/$clip"
read -r width height < <(ffprobe -v error -select_streams v:0 -show_entries stream=width,height -of csv=p=0 "$clip" | tr ',' ' ')
library="$build/bin/Library/RDPE/libvlc.so"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
export KORVANE_SETTINGS_DIR="$work/config"
export TMPDIR="$work/tmp"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$TMPDIR" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# Both sides are started by bench_startup_launch, which waits in poll() for the ready file or the exit.
# A shell loop polling for the file forked `sleep` every few milliseconds; on two processors that took
# enough time from the program being measured to add tens of milliseconds, to the viewer's side only.
run_viewer() { # viewer binary
  local viewer=$1 ready="$work/ready" out
  out=$(KORVANE_READY_FILE="$ready" "$launch" "$ready" "$viewer" "$card/" 2>"$work/viewer.log") || true
  if [ -z "$out" ] || [ "$(cat "$ready" 2>/dev/null)" != "frame" ]; then
    echo "bench: the viewer painted no frame of row 0" >&2; cat "$work/viewer.log" >&2; exit 1
  fi
  echo "${out%%.*}"
}

run_baseline() {
  local out
  out=$("$launch" - "$baseline" "$library" "$clip" "$width" "$height" 2>/dev/null) || { echo "bench: baseline failed" >&2; exit 1; }
  echo "${out%%.*}"
}

median() { sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
# One of each first, not counted: the first start writes the settings and warms the file cache.
for v in "${viewers[@]}"; do run_viewer "$build/bin/$v" >/dev/null; done
run_baseline >/dev/null
: >"$work/baseline.ms"
for v in "${viewers[@]}"; do : >"$work/$v.ms"; done
for i in $(seq 1 "$runs"); do
  line="run $i:"
  for v in "${viewers[@]}"; do
    ms=$(run_viewer "$build/bin/$v")
    echo "$ms" >>"$work/$v.ms"
    line="$line $v ${ms} ms,"
  done
  b=$(run_baseline)
  echo "$b" >>"$work/baseline.ms"
  echo "$line baseline ${b} ms"
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
bm=$(median <"$work/baseline.ms")
for v in "${viewers[@]}"; do
  vm=$(median <"$work/$v.ms")
  echo "row 0 of $(basename "$clip") (${width}x${height}): median $v ${vm} ms, median baseline ${bm} ms"
done
awk -v v="$vm" -v b="$bm" 'BEGIN { printf "startup ratio viewer/baseline: %.2f\n", v / b }'
