#!/usr/bin/env bash
# Times the Copy command's engine (bin/bench_copy: each 1 MiB step copied by the kernel, then compared with its
# source at once, by two threads in turn) against `cp` of the same files, on the demo card's recordings scaled to about 1 GB (each recording
# and its data file repeated under new names), alternating, several rounds. Prints what the figures depend on
# (the bench folder's file system, whether the kernel copied the data, how much of the card sits in the page
# cache, memory waiting to be written back, the load), then per round and as medians both the wall seconds and
# the processor seconds (user + system) of each, and both ratios; the last line is the copy+verify/cp ratio of
# wall time (goal: at most 1.3), with the processor-time ratio beside it. Two threads take the steps in turn,
# one copying while the other compares, so on a machine with a free processor the check's cost hides in the
# wall time but never in the processor time. bench_copy's comparison reads the copy as the system holds it in memory; FROM_DEVICE=1 makes
# it sync each copy and read it back from the device instead (then compare it with a cp followed by a sync).
#   bench/copy/run-copy-bench.sh [BUILD_DIR] [SIZE_MIB] [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
size_mib=${2:-1024}
rounds=${3:-5}
bench="$build/bin/bench_copy"
demo="$build/demo-card-avi"
[ -x "$bench" ] || { echo "build bench_copy first ($bench)" >&2; exit 1; }
[ -d "$demo" ] || cmake --build "$build" --target korvane_demo_cards >&2

work="$build/bench-copy"
card="$work/card"
rm -rf "$work"
mkdir -p "$card"
trap 'rm -rf "$work"' EXIT

# The scaled card: copy k of every recording gets a base name k hours later, so names stay valid and unique.
total=0
k=0
while [ "$total" -lt $((size_mib * 1024 * 1024)) ]; do
  for f in "$demo"/*.avi; do
    name=$(basename "$f" .avi)
    prefix=${name:0:4}
    day=${name:4:8}
    time=${name:13:6}
    new="${prefix}${day}_$(printf '%02d' $(( (10#${time:0:2} + k) % 24 )))${time:2:4}$(printf '%02d' $((k / 24)))"
    [ -e "$card/$new.avi" ] && continue
    cp "$f" "$card/$new.avi"
    [ -f "$demo/$name.dat" ] && cp "$demo/$name.dat" "$card/$new.dat"
    total=$((total + $(stat -c %s "$f")))
  done
  k=$((k + 1))
done
files=$(find "$card" -type f | wc -l)
echo "card: $files files, $(du -sm "$card" | cut -f1) MiB"
echo "bench folder: $work on $(stat -f -c %T "$work") ($(df -P "$work" | awk 'NR==2 {print $1}'))"
from_device=${FROM_DEVICE:-0}
bench_flags=()
[ "$from_device" = 1 ] && bench_flags=(--from-device)

now() { date +%s.%N; }
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
sync
cat "$card"/* > /dev/null # the card's files come from the page cache for both
# Share of the card's bytes in the page cache (fincore, util-linux), and memory not yet written back.
cached() { fincore -b -n -o RES "$card"/* 2>/dev/null | awk -v total="$(du -sb "$card" | cut -f1)" '{s += $1} END {if (total > 0) printf "%.0f%%", 100 * s / total; else print "?"}'; }
writeback() { awk '/^Dirty:|^Writeback:/ {s += $2} END {printf "%d MiB", s / 1024}' /proc/meminfo; }
echo "page cache: $(cached) of the card cached; waiting to be written back: $(writeback)"
echo "load before timing: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors"

declare -a t_cp=() t_ours=() c_cp=() c_ours=()
# Processor seconds (user + system) of a command, from /usr/bin/time's output file.
cpu() { awk '{print $1 + $2}' "$1"; }
# Without GNU time the processor seconds are left out.
if [ -x /usr/bin/time ]; then timed() { /usr/bin/time -f '%U %S' -o "$work/cpu" "$@"; }
else timed() { echo "0 0" > "$work/cpu"; "$@"; }; fi
run_cp() {
  rm -rf "$work/out-cp"; mkdir -p "$work/out-cp"; sync
  state_cp="cache $(cached), write-back $(writeback)"
  a=$(now)
  if [ "$from_device" = 1 ]; then timed sh -c 'cp "$@" && sync -f "$0"' "$work/out-cp" "$card"/*.avi "$card"/*.dat "$work/out-cp/"
  else timed cp "$card"/*.avi "$card"/*.dat "$work/out-cp/"; fi
  b=$(now)
  t_cp+=("$(echo "$b - $a" | bc -l)")
  c_cp+=("$(cpu "$work/cpu")")
  rm -rf "$work/out-cp"; sync
}
run_ours() {
  rm -rf "$work/out-ours"; sync
  state_ours="cache $(cached), write-back $(writeback)"
  a=$(now); timed "$bench" "${bench_flags[@]}" "$card" "$work/out-ours" > "$work/result.json"; b=$(now)
  t_ours+=("$(echo "$b - $a" | bc -l)")
  c_ours+=("$(cpu "$work/cpu")")
  copied=$(find "$work/out-ours" -type f | wc -l)
  [ "$copied" -eq "$files" ] || { echo "bench_copy copied $copied of $files files" >&2; exit 1; }
  grep -q '"failed": 0' "$work/result.json" || { echo "bench_copy failed to copy: $(cat "$work/result.json")" >&2; exit 1; }
  rm -rf "$work/out-ours"; sync
}
# Each copy is removed and written back before the next command starts, so that neither pays for the other's
# write-back; the order alternates, because whichever runs second after a removal pays for the file system
# settling.
for ((i = 0; i < rounds; i++)); do
  if ((i % 2 == 0)); then run_cp; run_ours; else run_ours; run_cp; fi
  printf 'round %d: cp %.3f s (processor %.3f s; before it: %s), copy+verify %.3f s (processor %.3f s; before it: %s), load %s\n' \
    $((i + 1)) "${t_cp[i]}" "${c_cp[i]}" "$state_cp" "${t_ours[i]}" "${c_ours[i]}" "$state_ours" "$(cut -d' ' -f1 /proc/loadavg)"
done
m_cp=$(median "${t_cp[@]}")
m_ours=$(median "${t_ours[@]}")
mc_cp=$(median "${c_cp[@]}")
mc_ours=$(median "${c_ours[@]}")
result=$(cat "$work/result.json")
echo "last result: $result"
kernel=$(sed -n 's/.*"kernelBytes": \([0-9]*\).*/\1/p' <<<"$result")
bytes=$(sed -n 's/.*"bytes": \([0-9]*\).*/\1/p' <<<"$result")
echo "kernel copy: $kernel of $bytes bytes copied inside the kernel; comparison reads the copy $([ "$from_device" = 1 ] && echo "back from the device after a sync" || echo "from the page cache")"
echo "median seconds over $rounds rounds: cp$([ "$from_device" = 1 ] && echo "+sync") $m_cp, copy+verify $m_ours"
echo "median processor seconds: cp $mc_cp, copy+verify $mc_ours; load after: $(cut -d' ' -f1-3 /proc/loadavg)"
ratio_cpu=$(echo "$mc_ours / $mc_cp" | bc -l | xargs printf '%.3f')
echo "copy+verify/cp processor-time ratio: $ratio_cpu"
echo "copy+verify/cp ratio: $(echo "$m_ours / $m_cp" | bc -l | xargs printf '%.3f') (wall time; processor time $ratio_cpu)"
