#!/usr/bin/env bash
# Playback benchmark: on a private Xvfb display, plays a 1920x1080 30 fps H.264 clip of 22 s to its end
# (a) through our video surface sized 1280x720 and (b) with libvlc drawing into its own 1280x720 X11 window
# through its xcb_x11 output. Reports each run's CPU time (the whole process), Xvfb's CPU time, the frames
# our surface painted against the frames in the clip, and last the CPU-time ratio (a)/(b). A screenshot of
# the display 6 s into each run is left in BUILD_DIR/bench-media.
# Usage: bench/playback/run-playback-bench.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
bench="$build/bin/bench_playback"
[ -x "$bench" ] || { echo "bench: build the target bench_playback first" >&2; exit 1; }

media="$build/bench-media"
mkdir -p "$media"
clip="$media/playback_1920x1080_30fps_22s.mp4"
if [ ! -s "$clip" ]; then
  echo "bench: making the 1080p clip (once)" >&2
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "testsrc2=s=1920x1080:r=30:d=22" \
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

run() {
  local mode=$1; shift
  local before after line
  before=$(xvfb_cpu)
  ( sleep 6; import -window root "$media/playback_$mode.png" 2>/dev/null ) &
  line=$("$bench" --mode "$mode" --clip "$clip" "$@" 2>/dev/null | grep '^mode=')
  wait
  after=$(xvfb_cpu)
  echo "$line xvfb_cpu=$(awk -v a="$after" -v b="$before" 'BEGIN { printf "%.3f", a - b }')"
}

a=$(run surface)
b=$(run xwindow)
echo "clip: $clip, $frames frames"
echo "(a) surface: $a"
echo "(b) xwindow: $b"
field() { echo "$1" | tr ' ' '\n' | sed -n "s/^$2=//p"; }
cpu_a=$(field "$a" cpu); cpu_b=$(field "$b" cpu)
painted=$(field "$a" painted)
echo "frames painted by the surface: $painted of $frames (dropped before painting: $(field "$a" dropped))"
awk -v a="$cpu_a" -v b="$cpu_b" -v w="$(field "$a" wall)" \
  'BEGIN { printf "CPU seconds per second of video: surface %.3f, xcb_x11 %.3f\n", a / w, b / w }'
awk -v a="$cpu_a" -v b="$cpu_b" 'BEGIN { printf "CPU-time ratio (a)/(b): %.3f\n", a / b }'
