#!/usr/bin/env bash
# Times `korvane-cli repair` on a damaged AVI of about 1 GB against `cp` of the same file, against a synced
# copy (`cp`, then `sync` of the copy, so that the copy is on the disk as the repaired file is when the repair
# ends) and against an ffmpeg remux (-err_detect ignore_err -c copy), alternating, several rounds; prints the
# medians and the frames each recovered. Two damaged files: "bad-card" (garbage runs of odd lengths all
# through it) and "power-loss" (what a camera leaves when its power fails). The repair writes its result
# durably, so the synced copy is its baseline; the plain copy is shown beside it. The last line is the
# repair/synced-copy time ratio of the power-loss file (goal: at most 1.1).
# Nothing is timed blindly: every repaired file is checked by avi-inspect (the tests' structural validator), its
# frames are decoded by ffprobe and must all decode, and it must hold every intact video frame but at most one
# key-frame interval per damaged place; a failed ffmpeg baseline fails the benchmark instead of showing as a
# short time.
#   bench/repair/run-repair-bench.sh [BUILD_DIR] [SIZE_MIB] [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
size_mib=${2:-1024}
rounds=${3:-5}
cli="$build/bin/korvane-cli"
inspect="$build/bin/avi-inspect"
[ -x "$cli" ] || { echo "build korvane-cli first ($cli)" >&2; exit 1; }
[ -x "$inspect" ] || { echo "build avi-inspect first ($inspect)" >&2; exit 1; }
gop=30

work="$build/bench-repair"
mkdir -p "$work"
small="$work/small.avi"
src="$work/damaged.avi"
trap 'rm -f "$src" "$work"/out-*' EXIT

if [ ! -f "$small" ]; then
  # 10 s of 720p H.264 at 8 Mbit/s with PCM sound, as a dash camera records it
  ffmpeg -v error -y -f lavfi -i testsrc2=size=1280x720:rate=30 -f lavfi -i sine=sample_rate=16000 -t 10 \
    -c:v libx264 -preset ultrafast -b:v 8M -g $gop -bf 0 -c:a pcm_s16le "$small"
fi
echo "bench folder: $work on $(stat -f -c %T "$work") ($(df -P "$work" | awk 'NR==2 {print $1}'))"
now() { date +%s.%N; }
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
decoded_video() {
  ffprobe -v error -threads 2 -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 "$1"
}
fail() { echo "run-repair-bench: $*" >&2; exit 1; }
frames() {
  ffprobe -v error -threads 2 -count_frames -count_packets -show_entries stream=codec_type,nb_read_frames,nb_read_packets \
    -of csv=p=0 "$1" 2>/dev/null | tr '\n' ' '
}

measure() {
  local kind=$1
  echo "== $kind"
  local made
  made=$(python3 "$here/make_damaged_avi.py" "$small" "$src" "$size_mib" "$kind")
  echo "$made"
  local intact places
  intact=$(echo "$made" | sed -n 's/^expect: intact_video=\([0-9]*\) .*/\1/p')
  places=$(echo "$made" | sed -n 's/.*damaged_places=\([0-9]*\)$/\1/p')
  sync # nothing of the source is still being written back while we time
  cat "$src" > /dev/null # warm the page cache
  echo "load before timing: $(cut -d' ' -f1-3 /proc/loadavg)"
  local -a t_cp=() t_sync=() t_repair=() t_ffmpeg=()
  local a b i
  # Each output is removed (and the disk settled) before the next command starts, so that no command pays
  # for another one's write-back.
  for ((i = 0; i < rounds; i++)); do
    sync; a=$(now); cp "$src" "$work/out-cp.avi"; b=$(now); rm -f "$work/out-cp.avi"
    t_cp+=("$(echo "$b - $a" | bc -l)")
    sync; a=$(now); cp "$src" "$work/out-sync.avi"; sync "$work/out-sync.avi"; b=$(now); rm -f "$work/out-sync.avi"
    t_sync+=("$(echo "$b - $a" | bc -l)")
    sync; a=$(now); "$cli" repair "$src" "$work/out-repair.avi" > "$work/out-repair.json" || fail "the repair failed"; b=$(now)
    t_repair+=("$(echo "$b - $a" | bc -l)")
    [ "$i" -lt $((rounds - 1)) ] && rm -f "$work/out-repair.avi"
    sync; a=$(now); ffmpeg -v quiet -y -err_detect ignore_err -i "$src" -c copy "$work/out-ffmpeg.avi" \
      || fail "the ffmpeg baseline failed: its time would mean nothing"; b=$(now)
    t_ffmpeg+=("$(echo "$b - $a" | bc -l)")
    [ "$i" -lt $((rounds - 1)) ] && rm -f "$work/out-ffmpeg.avi"
    printf 'round %d: cp %.3f s, cp+sync %.3f s, repair %.3f s, ffmpeg remux %.3f s (load %s)\n' $((i + 1)) "${t_cp[i]}" \
      "${t_sync[i]}" "${t_repair[i]}" "${t_ffmpeg[i]}" "$(cut -d' ' -f1 /proc/loadavg)"
  done
  m_cp=$(median "${t_cp[@]}")
  m_sync=$(median "${t_sync[@]}")
  m_repair=$(median "${t_repair[@]}")
  m_ffmpeg=$(median "${t_ffmpeg[@]}")
  echo "source: $(stat -c %s "$src") bytes"
  # What was timed must be right: a valid file, every indexed frame decodable, no intact frame lost.
  local checked indexed decoded baseline
  checked=$("$inspect" "$work/out-repair.avi") || fail "the repaired file is invalid: $checked"
  indexed=$(echo "$checked" | sed -n 's/^ok video=\([0-9]*\) .*/\1/p')
  decoded=$(decoded_video "$work/out-repair.avi")
  baseline=$(decoded_video "$work/out-ffmpeg.avi")
  echo "repaired file: $checked; decoded video frames $decoded; intact video frames in the source $intact"
  [ "$decoded" -eq "$indexed" ] || fail "only $decoded of the $indexed indexed video frames decode"
  [ "$indexed" -ge $((intact - places * gop)) ] || fail "the repair kept $indexed of $intact intact video frames"
  [ "$baseline" -gt 0 ] || fail "the ffmpeg baseline recovered no frames"
  echo "repair result: $(cat "$work/out-repair.json")"
  echo "frames recovered (type,decoded frames,packets) by repair: $(frames "$work/out-repair.avi")"
  echo "frames recovered (type,decoded frames,packets) by ffmpeg remux: $(frames "$work/out-ffmpeg.avi")"
  echo "median seconds over $rounds rounds: cp $m_cp, cp+sync $m_sync, repair $m_repair, ffmpeg remux $m_ffmpeg; load after: $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "ffmpeg-remux/cp ratio ($kind): $(echo "$m_ffmpeg / $m_cp" | bc -l | xargs printf '%.3f')"
  echo "repair/cp ratio ($kind): $(echo "$m_repair / $m_cp" | bc -l | xargs printf '%.3f')"
  echo "repair/synced-copy ratio ($kind): $(echo "$m_repair / $m_sync" | bc -l | xargs printf '%.3f')"
  rm -f "$src" "$work"/out-*
}

measure bad-card
measure power-loss
