#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer, then runs each on its seeds in fuzz/corpus/ for SECONDS
# (30 by default). A crash or a hang fails the run; its input is left in the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
build=${FUZZ_BUILD:-build-fuzz}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DVERDAN_FUZZ=ON -DVERDAN_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
status=0
for source in fuzz/fuzz_*.cpp; do
    target=$(basename "$source" .cpp)
    seeds=fuzz/corpus/$target
    found=$build/corpus/$target
    mkdir -p "$found" "$build/crashes/$target"
    [ -d "$seeds" ] || { echo "$target: no seeds in $seeds"; status=1; continue; }
    # New inputs go to the first folder, so the committed seeds stay as they are.
    if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix="$build/crashes/$target/" "$found" "$seeds" >"$build/$target.log" 2>&1; then
        echo "$target: $(grep -o 'Done [0-9]* runs' "$build/$target.log" | tail -1)"
    else
        echo "$target: FAILED (see $build/$target.log and $build/crashes/$target/)"
        tail -30 "$build/$target.log"
        status=1
    fi
done
exit $status
