#!/usr/bin/env bash
# Runs one fuzz target for a while: fuzz/run-fuzz.sh TARGET SECONDS [libFuzzer options...]
# TARGET is one of data_file parking_type setup_record span_marker recording_names avi_repair message_wrap.
# Builds the clang fuzz build (build-fuzz) when needed. New inputs go to fuzz/work/TARGET (not kept in git);
# the saved seeds in fuzz/corpus/TARGET are read, never changed. A crash is written to fuzz/artifacts/ and the
# script fails; turn each one into a regression test, fix it, and add the input to fuzz/corpus/TARGET.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 2 ]; then
  echo "usage: fuzz/run-fuzz.sh TARGET SECONDS [libFuzzer options...]" >&2
  exit 2
fi
target=$1
seconds=$2
shift 2

clangxx=$(command -v clang++-14 || command -v clang++ || true)
if [ -z "$clangxx" ]; then
  echo "run-fuzz: clang++ is needed (scripts/install-deps installs it)" >&2
  exit 1
fi
if [ ! -f build-fuzz/CMakeCache.txt ]; then
  CC=$(command -v clang-14 || command -v clang) CXX=$clangxx cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_CORE_ONLY=ON \
    -DKORVANE_FUZZ=ON >/dev/null
fi
# One build at a time in the fuzz build folder, whatever runs fuzzers beside this one.
flock build-fuzz/.build-lock cmake --build build-fuzz --target "fuzz_$target" >/dev/null

mkdir -p "fuzz/work/$target" fuzz/artifacts
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
exec "build-fuzz/bin/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 \
  -timeout=20 -artifact_prefix="fuzz/artifacts/$target-" "$@" "fuzz/work/$target" "fuzz/corpus/$target"
