#!/usr/bin/env bash
# Playback benchmark: on a private Xvfb display, plays a 1920x1080 30 fps H.264 clip of 12 s to its end
#   (a) through our video surface sized 1280x720,
#   (b) with libvlc drawing into its own 1280x720 X11 window through its xcb_x11 output (the baseline),
#   (c) through our surface with the magnifier on at 2x (full-size frames),
# three lossless runs each, the order rotating from round to round so that no mode always runs first on a cold
# or a warm machine. A run is lossy, whatever its mode, when the library lost a frame, when our surface dropped
# one before painting it, or when the surface painted fewer frames than the clip holds: a lossy run decoded or
# drew less and so spent less, so it does not count, and rounds go on (at most ROUNDS x 3 in all) until every
# mode has ROUNDS lossless runs. Each run's processor time is counted from play to the end and divided by the
# clip's length. The pictures of each mode are taken afterwards in a separate run that is not timed, so that
# taking them costs no timed run anything. Reports per mode the median processor seconds per second of video,
# the lossy runs, Xvfb's processor time; fails when a mode has no lossless run. The last two lines are the
# ratios: magnifier on against off, then, last, the surface against the baseline (goal: at most 1.05). The
# baseline's own window paints out of our sight: for it, only the library's lost frames can tell a loss.
# Usage: bench/playback/run-playback-bench.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
rounds=${2:-3}
bench="$build/bin/bench_playback"
[ -x "$bench" ] || { echo "bench: build the target bench_playback first" >&2; exit 1; }

media="$build/bench-media"
mkdir -p "$media"
clip="$media/playback_1920x1080_30fps_12s.mp4"
if [ ! -s "$clip" ]; then
  echo "bench: making the 1080p clip (once)" >&2
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "testsrc2=s=1920x1080:r=30:d=12" \
    -c:v libx264 -preset veryfast -profile:v main -pix_fmt yuv420p -b:v 10M "$clip.tmp.mp4"
  mv "$clip.tmp.mp4" "$clip"
fi
frames=$(ffprobe -v error -select_streams v:0 -count_packets -show_entries stream=nb_read_packets -of csv=p=0 "$clip")

for n in $(seq 150 199); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
export DISPLAY=$display

xvfb_cpu() { awk '{ print ($14 + $15) / 100.0 }' "/proc/$xvfb/stat"; }
field() { echo "$1" | tr ' ' '\n' | sed -n "s/^$2=//p"; }

run() { # run NAME ARGS...: one timed run, no pictures
  local name=$1; shift
  local before after line
  before=$(xvfb_cpu)
  line=$("$bench" --clip "$clip" "$@" 2>/dev/null | grep '^mode=') || true
  after=$(xvfb_cpu)
  [ -n "$line" ] || { echo "bench: the $name run failed" >&2; exit 1; }
  echo "$line xvfb_cpu=$(awk -v a="$after" -v b="$before" 'BEGIN { printf "%.3f", a - b }')"
}

picture() { # picture NAME ARGS...: an untimed run that takes the X screen's picture 5 s in
  local name=$1; shift
  ( sleep 5; import -window root "$media/playback_$name.png" 2>/dev/null ) &
  local shot=$!
  "$bench" --clip "$clip" "$@" >/dev/null 2>&1 || true
  wait "$shot" || true # only the picture: Xvfb runs in the background of this shell too
}

args_of() {
  case $1 in
    surface) echo "--mode surface" ;;
    xwindow) echo "--mode xwindow" ;;
    magnifier) echo "--mode surface --magnifier" ;;
  esac
}

declare -A per_second lost_runs good_runs
modes=(surface xwindow magnifier)
clip_seconds=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$clip")
round=0
while :; do
  done_all=1
  for name in "${modes[@]}"; do [ "${good_runs[$name]:-0}" -ge "$rounds" ] || done_all=0; done
  [ $done_all = 1 ] && break
  [ $round -ge $((rounds * 3)) ] && break
  round=$((round + 1))
  for k in 0 1 2; do
    name=${modes[$(( (round - 1 + k) % 3 ))]}
    [ "${good_runs[$name]:-0}" -ge "$rounds" ] && continue
    # shellcheck disable=SC2046
    line=$(run "$name" $(args_of "$name"))
    echo "round $round $name: $line (load $(cut -d' ' -f1 /proc/loadavg))"
    lost=$(field "$line" vlc_lost); shown=$(field "$line" vlc_displayed)
    painted=$(field "$line" painted); dropped=$(field "$line" dropped)
    why=""
    [ "$lost" != 0 ] && why+=" the library lost $lost (showed $shown of $frames);"
    if [ "$name" != xwindow ]; then
      [ "$dropped" != 0 ] && why+=" the surface dropped $dropped before painting;"
      [ "$painted" -lt "$frames" ] && why+=" the surface painted $painted of $frames;"
    fi
    if [ -n "$why" ]; then
      lost_runs[$name]=$(( ${lost_runs[$name]:-0} + 1 ))
      echo "  lossy, not counted:$why"
      continue
    fi
    good_runs[$name]=$(( ${good_runs[$name]:-0} + 1 ))
    per_second[$name]+="$(awk -v c="$(field "$line" cpu)" -v d="$clip_seconds" 'BEGIN { printf "%.4f ", c / d }')"
  done
done

# The pictures, untimed.
for name in "${modes[@]}"; do
  # shellcheck disable=SC2046
  picture "$name" $(args_of "$name")
done

median() { tr ' ' '\n' | sed '/^$/d' | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ms=$(echo "${per_second[surface]:-}" | median)
mx=$(echo "${per_second[xwindow]:-}" | median)
mm=$(echo "${per_second[magnifier]:-}" | median)
echo "clip: $clip, $frames frames, $clip_seconds s; pictures in $media/playback_*.png"
echo "lossless runs: surface ${good_runs[surface]:-0}, xcb_x11 ${good_runs[xwindow]:-0}, magnifier ${good_runs[magnifier]:-0}; lossy runs (not counted): surface ${lost_runs[surface]:-0}, xcb_x11 ${lost_runs[xwindow]:-0}, magnifier ${lost_runs[magnifier]:-0}; load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "median processor seconds per second of video: surface $ms, xcb_x11 $mx, surface with the magnifier at 2x $mm"
for name in "${modes[@]}"; do
  if [ "${good_runs[$name]:-0}" = 0 ]; then
    echo "bench: $name lost frames in every run (the machine is too busy?): no valid ratio" >&2
    echo "FAILED: no lossless $name run"
    exit 1
  fi
done
awk -v a="$mm" -v b="$ms" 'BEGIN { printf "processor-time ratio magnifier on / off (medians): %.3f\n", a / b }'
awk -v a="$ms" -v b="$mx" 'BEGIN { printf "processor-time ratio surface / xcb_x11 (medians): %.3f\n", a / b }'
