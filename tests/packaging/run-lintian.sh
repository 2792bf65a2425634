#!/usr/bin/env bash
# run-lintian.sh OUT_DIR: lintian on the package; errors fail, warnings are listed.
set -uo pipefail
deb=$(ls "$1"/*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "no package in $1"; exit 1; }
lintian --fail-on error --tag-display-limit 0 --display-info "$deb"
status=$?
[ $status -eq 0 ] && echo "lintian: no errors"
exit $status
