#!/bin/bash
# Builds the libFuzzer targets with clang and runs each for FUZZ_SECONDS
# (default 60) from the committed seed corpus.  A crash leaves its input
# in $BUILD_ROOT/fuzz/artifacts and fails the run; add it to the corpus
# and a regression test once fixed.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export BUILD_ROOT="${BUILD_ROOT:-$ROOT/build}"
SECONDS_EACH="${FUZZ_SECONDS:-60}"
cmake -S "$ROOT" -B "$BUILD_ROOT/fuzz" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DQUILM_FUZZ=ON -DQUILM_TESTS=OFF >/dev/null
cmake --build "$BUILD_ROOT/fuzz" -j2 --target install_log_fuzz face_fuzz
mkdir -p "$BUILD_ROOT/fuzz/artifacts"
status=0
for target in install_log:install_log_fuzz face:face_fuzz; do
    corpus=${target%%:*} exe=${target##*:}
    work="$BUILD_ROOT/fuzz/corpus-$corpus"
    mkdir -p "$work"
    echo "fuzz: $exe for ${SECONDS_EACH}s"
    if ! "$BUILD_ROOT/fuzz/tests/fuzz/$exe" -max_total_time="$SECONDS_EACH" -max_len=4096 \
            -artifact_prefix="$BUILD_ROOT/fuzz/artifacts/$exe-" -print_final_stats=1 \
            "$work" "$ROOT/tests/fuzz/corpus/$corpus" > "$BUILD_ROOT/fuzz/$exe.log" 2>&1; then
        tail -30 "$BUILD_ROOT/fuzz/$exe.log"
        echo "fuzz: $exe FAILED"
        status=1
    else
        grep -E 'stat::number_of_executed_units|Done' "$BUILD_ROOT/fuzz/$exe.log" | tail -1
    fi
done
exit $status
