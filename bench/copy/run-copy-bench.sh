#!/usr/bin/env bash
# Times the Copy command's engine (bin/bench_copy: kernel copy, then every file compared with its source)
# against `cp` of the same files, on the demo card's recordings scaled to about 1 GB (each recording and its
# data file repeated under new names), alternating, several rounds; prints the medians and, last, the
# copy+verify/cp time ratio (goal: at most 1.5). The check compares every byte of each copy with its source
# on a second thread while the kernel copies.
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
df -h "$work" | tail -1

now() { date +%s.%N; }
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
sync
cat "$card"/* > /dev/null # the card's files come from the page cache for both
echo "load before timing: $(cut -d' ' -f1-3 /proc/loadavg)"

declare -a t_cp=() t_ours=() c_cp=() c_ours=()
# Processor seconds (user + system) of a command, from /usr/bin/time's output file.
cpu() { awk '{print $1 + $2}' "$1"; }
# Without GNU time the processor seconds are left out.
if [ -x /usr/bin/time ]; then timed() { /usr/bin/time -f '%U %S' -o "$work/cpu" "$@"; }
else timed() { echo "0 0" > "$work/cpu"; "$@"; }; fi
run_cp() {
  rm -rf "$work/out-cp"; mkdir -p "$work/out-cp"; sync
  a=$(now); timed cp "$card"/*.avi "$card"/*.dat "$work/out-cp/"; b=$(now)
  t_cp+=("$(echo "$b - $a" | bc -l)")
  c_cp+=("$(cpu "$work/cpu")")
  rm -rf "$work/out-cp"; sync
}
run_ours() {
  rm -rf "$work/out-ours"; sync
  a=$(now); timed "$bench" "$card" "$work/out-ours" > "$work/result.json"; b=$(now)
  t_ours+=("$(echo "$b - $a" | bc -l)")
  c_ours+=("$(cpu "$work/cpu")")
  copied=$(find "$work/out-ours" -type f | wc -l)
  [ "$copied" -eq "$files" ] || { echo "bench_copy copied $copied of $files files" >&2; exit 1; }
  rm -rf "$work/out-ours"; sync
}
# Each copy is removed and written back before the next command starts, so that neither pays for the other's
# write-back; the order alternates, because whichever runs second after a removal pays for the file system
# settling.
for ((i = 0; i < rounds; i++)); do
  if ((i % 2 == 0)); then run_cp; run_ours; else run_ours; run_cp; fi
  printf 'round %d: cp %.3f s, copy+verify %.3f s\n' $((i + 1)) "${t_cp[i]}" "${t_ours[i]}"
done
m_cp=$(median "${t_cp[@]}")
m_ours=$(median "${t_ours[@]}")
echo "last result: $(cat "$work/result.json")"
echo "median seconds over $rounds rounds: cp $m_cp, copy+verify $m_ours"
# On a machine whose processors are all busy the times follow the processor time each command needs; the
# check runs beside the copy on a second thread and costs almost no time where a processor is free.
echo "median processor seconds: cp $(median "${c_cp[@]}"), copy+verify $(median "${c_ours[@]}"), load $(cut -d' ' -f1 /proc/loadavg)"
echo "copy+verify/cp ratio: $(echo "$m_ours / $m_cp" | bc -l | xargs printf '%.3f')"
