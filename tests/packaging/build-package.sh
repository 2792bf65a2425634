#!/usr/bin/env bash
# build-package.sh BUILD_DIR OUT_DIR: builds the Debian package of the (already built) build tree into OUT_DIR.
set -euo pipefail
build=$1
out=$2
rm -rf "$out"
mkdir -p "$out"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
debs=("$out"/*.deb)
[ -f "${debs[0]}" ] || { echo "cpack made no .deb"; cat "$out/cpack.log"; exit 1; }
echo "built ${debs[0]}"
dpkg-deb --info "${debs[0]}" | sed -n '/Package:/,$p'
