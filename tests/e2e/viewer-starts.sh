#!/usr/bin/env bash
# The viewer as a user starts it, on the offscreen platform with a fresh settings folder: row 0 plays (its
# first frame is painted: the ready file says "frame"), the first start writes every setting but Type with its
# default, and a second start while the first runs comes up too, plays row 0 as well, and leaves the first
# instance's tier in force.
set -uo pipefail
player=$1
folder=$2
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

export QT_QPA_PLATFORM=offscreen
export KORVANE_SETTINGS_DIR="$work/config"
export XDG_RUNTIME_DIR="$work/runtime"
# The single-instance socket lives in the temporary folder: a viewer the developer has open stays out of it.
export TMPDIR="$work/tmp"
mkdir -p "$XDG_RUNTIME_DIR" "$TMPDIR" && chmod 700 "$XDG_RUNTIME_DIR"
ini="$KORVANE_SETTINGS_DIR/Velmora Korvane.ini"

start() { # start READY_FILE: starts a viewer that reports when row 0's first frame is painted
  KORVANE_READY_FILE="$1" "$player" "$folder" >"$1.log" 2>&1 &
  pids+=($!)
}
wait_ready() { # wait_ready READY_FILE PID: until the viewer has written its start-up result
  for _ in $(seq 1 300); do
    [ -s "$1" ] && return 0
    kill -0 "$2" 2>/dev/null || { echo "the viewer exited before its window came up:"; cat "$1.log"; return 1; }
    sleep 0.1
  done
  echo "the viewer's window did not come up within 30 s"; cat "$1.log"; return 1
}
fail=0
check() { # check NAME EXPECTED
  local got
  got=$(sed -n "s/^$1=//p" "$ini")
  if [ "$got" != "$2" ]; then echo "setting $1: expected '$2', got '$got'"; fail=1; fi
}

played() { # played NAME READY_FILE: the result must say that the first frame of row 0 was painted
  local got
  got=$(cat "$2")
  if [ "$got" != "frame" ]; then echo "$1 instance: row 0 did not play, its ready file says '$got'"; fail=1; fi
}

start "$work/first"
wait_ready "$work/first" "${pids[0]}" || exit 1
# The result comes when the first frame of row 0 has been painted ("frame"), or when nothing could play
# ("idle"); merely showing the window writes nothing.
played first "$work/first"
# The browser engine is no part of the viewer's start: the viewer does not link it, and loads the map's module
# (which does) after the first frame. Nor are FFmpeg's libraries: the incident tools come in their own module.
if readelf -d "$player" | grep -q 'NEEDED.*WebEngine'; then echo "the viewer links the browser engine"; fail=1; fi
if readelf -d "$player" | grep -qE 'NEEDED.*(libav|libzip|libcrypto)'; then echo "the viewer links FFmpeg, libzip or libcrypto"; fail=1; fi
for _ in $(seq 1 100); do
  grep -q libkorvane_map.so "/proc/${pids[0]}/maps" && break
  sleep 0.1
done
grep -q libkorvane_map.so "/proc/${pids[0]}/maps" || { echo "the map module was not loaded after the first frame"; fail=1; }
for name in ViewerAdministrator ViewerPerformance ViewerSetting ViewerState ViewerPerformancePrevious; do
  check "$name" "dword:0"
done
check ViewerSettingInit "dword:1"
check ViewerPostproc "dword:6"
check ViewerModNoise "dword:1"
check ViewerHgResampling "dword:1"
if grep -q '^Type=' "$ini"; then echo "Type was written without a card model"; fail=1; fi

# The user switches the settings to Low while the first instance runs High: a second instance keeps High.
sed -i 's/^ViewerPerformance=.*/ViewerPerformance=dword:2/' "$ini"
start "$work/second"
wait_ready "$work/second" "${pids[1]}" || exit 1
played second "$work/second"
kill -0 "${pids[0]}" 2>/dev/null || { echo "the first instance ended when the second started"; fail=1; }
kill -0 "${pids[1]}" 2>/dev/null || { echo "the second instance ended after its start-up"; fail=1; }
check ViewerState "dword:0"
check ViewerPerformancePrevious "dword:0"
check ViewerPerformance "dword:2"

if [ $fail -eq 0 ]; then echo "the viewer started twice with the expected settings"; fi
exit $fail
