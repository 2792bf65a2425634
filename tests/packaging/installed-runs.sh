#!/usr/bin/env bash
# installed-runs.sh OUT_DIR DEMO_CARD: unpacks the package into a scratch root and runs what it installed
# there, with no source or build tree in reach: --version of both programs, korvane-cli scan of the demo card
# and format of an image file (through the installed helper), and the viewer on the demo card (offscreen)
# until the first frame of row 0 is painted. The viewer must have taken its skin module from the scratch
# root's share/korvane-player, and its map module from the scratch root's lib/korvane-player after that frame.
set -uo pipefail
deb=$(ls "$1"/*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "no package in $1"; exit 1; }
work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
root=$work/root
dpkg-deb -x "$deb" "$root" || exit 1
# The package's media library links point into the system's library folder, which a scratch root lacks: it
# borrows the host's, as the package's dependencies would provide it.
for link in "$root"/usr/lib/korvane-player/Library/*/*; do
  dir=$(dirname "$(readlink "$link")")
  target=$(cd "$(dirname "$link")" && realpath -m "$dir")
  if [ ! -e "$target" ]; then
    host=${target#"$root"}
    mkdir -p "$(dirname "$target")"
    ln -s "$host" "$target"
  fi
done
# The demo card is copied so that the build tree is out of reach.
cp -r "$2" "$work/card"
cd "$work"
fail=0

v=$("$root/usr/bin/korvane-player" --version) || fail=1
[[ "$v" =~ ^korvane-player\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "korvane-player --version: '$v'"; fail=1; }
v=$("$root/usr/bin/korvane-cli" --version) || fail=1
[[ "$v" =~ ^korvane-cli\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "korvane-cli --version: '$v'"; fail=1; }

scan=$("$root/usr/bin/korvane-cli" scan "$work/card/") || { echo "korvane-cli scan failed"; fail=1; }
rows=$(printf '%s' "$scan" | python3 -c 'import json,sys; d=json.load(sys.stdin); print(len(d["rows"]))' 2>/dev/null)
[ "${rows:-0}" -gt 0 ] || { echo "korvane-cli scan found no rows: $scan"; fail=1; }
echo "installed korvane-cli scan: $rows rows"

# korvane-cli formats an image file with the formatter helper it finds in the scratch root's libexec (no other
# VLMFormat is in reach: KORVANE_FORMATTER is unset and the PATH holds none).
if command -v mkfs.fat >/dev/null || [ -x /sbin/mkfs.fat ]; then
  truncate -s 64M "$work/card.img"
  PATH="$PATH:/sbin:/usr/sbin" mkfs.fat -n KORVANE "$work/card.img" >/dev/null
  if ! PATH="$PATH:/sbin:/usr/sbin" command -v VLMFormat >/dev/null; then
    formatted=$(env -u KORVANE_FORMATTER PATH="$PATH:/sbin:/usr/sbin" "$root/usr/bin/korvane-cli" format "$work/card.img")
    case "$formatted" in
      *'"ok":true'*) echo "installed korvane-cli formatted an image with the installed helper" ;;
      *) echo "installed korvane-cli format failed: $formatted"; fail=1 ;;
    esac
  fi
fi

export QT_QPA_PLATFORM=offscreen KORVANE_MAP_OFFLINE=1
export KORVANE_SETTINGS_DIR="$work/config" XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp"
mkdir -p "$XDG_RUNTIME_DIR" "$TMPDIR" && chmod 700 "$XDG_RUNTIME_DIR"
KORVANE_READY_FILE="$work/ready" "$root/usr/bin/korvane-player" "$work/card/" >"$work/viewer.log" 2>&1 &
pid=$!
for _ in $(seq 1 400); do
  [ -s "$work/ready" ] && break
  kill -0 "$pid" 2>/dev/null || { echo "the installed viewer exited:"; cat "$work/viewer.log"; exit 1; }
  sleep 0.1
done
ready=$(cat "$work/ready" 2>/dev/null)
if [ "$ready" != "frame" ]; then
  echo "the installed viewer painted no frame of row 0: '$ready'"; cat "$work/viewer.log"; fail=1
fi
# The skin module is mapped from the scratch root's data folder.
if ! grep -q "$root/usr/share/korvane-player/Resource" "/proc/$pid/maps"; then
  echo "the installed viewer did not load its skin module from $root/usr/share/korvane-player"; fail=1
fi
# The map's module (the browser engine) comes from the scratch root's library folder, after the first frame.
for _ in $(seq 1 100); do
  grep -q "$root/usr/lib/korvane-player/libkorvane_map.so" "/proc/$pid/maps" && break
  sleep 0.1
done
if ! grep -q "$root/usr/lib/korvane-player/libkorvane_map.so" "/proc/$pid/maps"; then
  echo "the installed viewer did not load its map module from $root/usr/lib/korvane-player"; fail=1
fi
[ $fail -eq 0 ] && echo "the installed viewer painted row 0 with its installed skin module, media library and map module"
exit $fail
