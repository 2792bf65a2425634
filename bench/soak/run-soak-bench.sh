#!/usr/bin/env bash
# Scale and memory over a long session, on the offscreen platform:
#  1. bin/bench_soak opens recordings OPENS times (default 500) in one window with the map shown, on a card of
#     the demo card's recordings repeated under new names (hard links, so it costs no space): Next, the end of a
#     recording, jumps. Prints resident memory, descriptors and threads after 50 opens and at the end, and the
#     growth (goal: at most 5 MB, no descriptor or thread growth).
#  2. bin/bench_soak --scroll on a card of 20,000 recordings (hard links again): the window opens it, then the
#     list scrolls a page at a time (goal: at most 16 ms a page).
#  3. bin/bench_graph 7200: a data file of two hours loads and draws within the graph's goals.
# The last line is the memory growth from 50 to OPENS opens in MB.
#   bench/soak/run-soak-bench.sh [BUILD_DIR] [OPENS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
opens=${2:-500}
soak="$build/bin/bench_soak"
graph="$build/bin/bench_graph"
demo="$build/demo-card-avi"
[ -x "$soak" ] || { echo "build bench_soak first ($soak)" >&2; exit 1; }
[ -d "$demo" ] || cmake --build "$build" --target korvane_demo_cards >&2

work="$build/bench-soak"
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

# make_card FOLDER COUNT: COUNT recordings (video and data file), copy k of each demo recording k hours later,
# all hard links of the demo card's files.
make_card() {
  python3 - "$demo" "$1" "$2" <<'PY'
import datetime, os, sys
demo, card, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
os.makedirs(card, exist_ok=True)
videos = sorted(f[:-4] for f in os.listdir(demo) if f.endswith('.avi'))
made, k = 0, 0
while made < count:
    for name in videos:
        if made >= count:
            break
        prefix, stamp = name[:4], datetime.datetime.strptime(name[4:19], '%Y%m%d_%H%M%S')
        new = prefix + (stamp + datetime.timedelta(hours=k)).strftime('%Y%m%d_%H%M%S')
        if os.path.exists(os.path.join(card, new + '.avi')):
            continue
        os.link(os.path.join(demo, name + '.avi'), os.path.join(card, new + '.avi'))
        if os.path.exists(os.path.join(demo, name + '.dat')):
            os.link(os.path.join(demo, name + '.dat'), os.path.join(card, new + '.dat'))
        made += 1
    k += 1
PY
}

export QT_QPA_PLATFORM=offscreen
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors"
make_card "$work/card" 60
echo "== $opens opens"
soak_out=$("$soak" "$work/card/" "$opens" 2> "$work/soak.log") || { echo "$soak_out"; grep -v "^ALSA\|^No such file" "$work/soak.log" | tail -20; echo "bench_soak failed" >&2; exit 1; }
echo "$soak_out"

echo "== a card of 20,000 recordings"
make_card "$work/big" 20000
"$soak" --scroll "$work/big/" 2>/dev/null

echo "== a data file of two hours"
"$graph" 7200 | tail -4
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
growth=$(sed -n 's/^growth from 50 to [0-9]* opens: resident \([-+0-9.]*\) MiB.*/\1/p' <<<"$soak_out")
echo "resident memory growth from 50 to $opens opens (MiB; goal at most 5): $growth"
