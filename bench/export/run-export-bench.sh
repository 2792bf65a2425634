#!/usr/bin/env bash
# Times the export of a 30 s window of a 1080p recording (the clip cut, GPX/KML/CSV, the report page with the
# decoded frame and the SHA-256 manifest) against `cp` of the clip's bytes, alternating, several
# rounds, each until its own files are on the disk (`sync FILE...`, not the whole system's writes):
#  - `korvane-cli export`, a new process each time: its start alone (mapping libav*'s ~150 libraries and Qt's
#    GUI library, all bound at load) costs about 0.1 s of processor time, whatever the export does;
#  - the viewer's export call (bin/bench_export: EvidencePackage::write with the report page in a running GUI
#    process, as Ctrl+E in the viewer makes it, where a driver exports). The goal (at most 2) is judged by this
#    one, the last line. The export with its zip (`--zip`, Ctrl+Shift+E) writes the clip's bytes twice and is
#    printed beside it.
#   bench/export/run-export-bench.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
rounds=${2:-5}
cli="$build/bin/korvane-cli"
viewer="$build/bin/bench_export"
[ -x "$cli" ] && [ -x "$viewer" ] || { echo "build korvane-cli and bench_export first ($build/bin)" >&2; exit 1; }

# The 1080p recording is made once and kept: 60 s of moving test picture at 30 frames a second, one key frame
# a second, with sound, as an AVI camera writes it; its data file is a demo card's when one was made.
media="$build/bench-export-media"
card="$media/card"
rec="$card/rec_20260314_090000.avi"
if [ ! -f "$rec" ]; then
  mkdir -p "$card"
  ffmpeg -v error -nostdin -y -f lavfi -i testsrc2=size=1920x1080:rate=30 -f lavfi \
    -i sine=frequency=220:sample_rate=16000 -t 60 -ac 1 -c:v mpeg4 -q:v 4 -g 30 -c:a pcm_s16le -f avi "$rec.part"
  mv "$rec.part" "$rec"
fi
if [ ! -f "${rec%.avi}.dat" ] && [ -f "$build/demo-card-avi/rec_20260314_080100.dat" ]; then
  cp "$build/demo-card-avi/rec_20260314_080100.dat" "${rec%.avi}.dat"
fi

work="$build/bench-export"
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

now() { date +%s.%N; }
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }

# One export to learn the clip's size; the plain copy copies exactly that clip.
"$cli" export "$rec" --at 40 --before 20 --after 10 --out "$work/probe" > "$work/probe.json"
clip=$(find "$work/probe" -name 'clip.avi' | head -1)
cp "$clip" "$work/clip.avi"
rm -rf "$work/probe"
echo "recording: $(stat -c %s "$rec") bytes; clip: $(stat -c %s "$work/clip.avi") bytes; $(cat "$work/probe.json")"
sync
cat "$rec" "$work/clip.avi" > /dev/null # both read from the page cache
echo "load before timing: $(cut -d' ' -f1-3 /proc/loadavg)"

declare -a t_cp=() t_export=()
run_cp() {
  rm -f "$work/copy.avi"; sync
  a=$(now); cp "$work/clip.avi" "$work/copy.avi"; sync "$work/copy.avi" "$work"; b=$(now)
  t_cp+=("$(echo "$b - $a" | bc -l)")
  rm -f "$work/copy.avi"; sync
}
run_export() {
  rm -rf "$work/out"; sync
  a=$(now)
  "$cli" export "$rec" --at 40 --before 20 --after 10 --out "$work/out" > /dev/null
  sync "$work/out" "$work"/out/*/ "$work"/out/*/*
  b=$(now)
  t_export+=("$(echo "$b - $a" | bc -l)")
  rm -rf "$work/out"; sync
}
for ((i = 0; i < rounds; i++)); do
  if ((i % 2)); then run_export; run_cp; else run_cp; run_export; fi
done
mc=$(median "${t_cp[@]}")
me=$(median "${t_export[@]}")
echo "load after timing: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "cp of the clip:      median ${mc} s (${t_cp[*]})"
echo "korvane-cli export:  median ${me} s (${t_export[*]})"
echo "korvane-cli export/cp ratio: $(echo "$me / $mc" | bc -l | xargs printf '%.2f')"
echo
echo "The viewer's export call:"
"$viewer" "$rec" 40 "$rounds" "$work"
