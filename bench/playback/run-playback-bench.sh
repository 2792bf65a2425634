#!/usr/bin/env bash
# Playback benchmark: on a private Xvfb display, plays a 1920x1080 30 fps H.264 clip of 12 s to its end
#   (a) through our video surface sized 1280x720,
#   (b) with libvlc drawing into its own 1280x720 X11 window through its xcb_x11 output (the baseline),
#   (c) through our surface with the magnifier on at 2x (full-size frames),
# three times each, the order rotating from round to round so that no mode always runs first on a cold or a
# warm machine. Each run's CPU time is counted over the same interval as its wall time (from play to the
# end). Reports the medians of CPU seconds per second of video, the frames each run showed, Xvfb's CPU
# time, and fails when the baseline itself loses frames (its figure would then not be a baseline). The
# last two lines are the ratios: surface against the baseline, then magnifier on against off.
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

run() {
  local name=$1; shift
  local before after line
  before=$(xvfb_cpu)
  ( sleep 5; import -window root "$media/playback_$name.png" 2>/dev/null ) &
  line=$("$bench" --clip "$clip" "$@" 2>/dev/null | grep '^mode=') || true
  wait
  after=$(xvfb_cpu)
  [ -n "$line" ] || { echo "bench: the $name run failed" >&2; exit 1; }
  echo "$line xvfb_cpu=$(awk -v a="$after" -v b="$before" 'BEGIN { printf "%.3f", a - b }')"
}

declare -A per_second lost_runs
modes=(surface xwindow magnifier)
for round in $(seq 1 "$rounds"); do
  for k in 0 1 2; do
    name=${modes[$(( (round - 1 + k) % 3 ))]}
    case $name in
      surface) line=$(run surface --mode surface) ;;
      xwindow) line=$(run xwindow --mode xwindow) ;;
      magnifier) line=$(run magnifier --mode surface --magnifier) ;;
    esac
    echo "round $round $name: $line"
    per_second[$name]+="$(awk -v c="$(field "$line" cpu)" -v w="$(field "$line" wall)" 'BEGIN { printf "%.4f ", c / w }')"
    lost=$(field "$line" vlc_lost); shown=$(field "$line" vlc_displayed)
    # A run that lost frames decoded less and so spent less: its figure is not comparable. (The library's
    # displayed count is sampled and trails the end by a few frames, so the lost count is what tells.)
    if [ "$lost" != 0 ]; then
      lost_runs[$name]=$(( ${lost_runs[$name]:-0} + 1 ))
      echo "  lost frames: $shown of $frames shown, $lost lost"
    fi
    [ "$name" = xwindow ] || echo "  frames painted: $(field "$line" painted) of $frames (dropped before painting: $(field "$line" dropped))"
  done
done

median() { tr ' ' '\n' | sed '/^$/d' | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ms=$(echo "${per_second[surface]}" | median)
mx=$(echo "${per_second[xwindow]}" | median)
mm=$(echo "${per_second[magnifier]}" | median)
echo "clip: $clip, $frames frames, $rounds rounds"
echo "median CPU seconds per second of video: surface $ms, xcb_x11 $mx, surface with the magnifier at 2x $mm"
echo "runs that lost frames: surface ${lost_runs[surface]:-0}, xcb_x11 ${lost_runs[xwindow]:-0}, magnifier ${lost_runs[magnifier]:-0}"
if [ "${lost_runs[xwindow]:-0}" != 0 ]; then
  echo "bench: the baseline itself lost frames (the machine is too busy): no valid ratio" >&2
  echo "FAILED: baseline lost frames"
  exit 1
fi
awk -v a="$ms" -v b="$mx" 'BEGIN { printf "CPU-time ratio surface / xcb_x11 (medians): %.3f\n", a / b }'
awk -v a="$mm" -v b="$ms" 'BEGIN { printf "CPU-time ratio magnifier on / off (medians): %.3f\n", a / b }'
