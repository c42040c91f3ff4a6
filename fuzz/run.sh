#!/bin/sh
# Builds the libFuzzer targets (fuzz_*.cpp) with clang under AddressSanitizer and UBSan
# and runs each for a bounded time (FUZZ_SECONDS, default 20), starting from its seeds
# in corpus/<parser>/. What a run adds to the corpus stays in the build folder; a
# finding is saved there too and ends the run with status 1.
# Usage: fuzz/run.sh [seconds]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${FUZZ_BUILD_DIR:-$here/../build-fuzz}
seconds=${1:-${FUZZ_SECONDS:-20}}

command -v clang++ >/dev/null || { echo "fuzz: clang++ is needed (apt-get install clang libclang-rt-14-dev)" >&2; exit 2; }
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j"${FUZZ_JOBS:-$(nproc)}"

# Runs one target; its status goes to $build/<parser>.status.
run_target() {
    parser=$1
    grown=$build/corpus/$parser
    findings=$build/findings/$parser
    mkdir -p "$grown" "$findings" "$here/corpus/$parser"
    # The first folder is the one libFuzzer writes to: the seeds stay as committed.
    if "$build/fuzz_$parser" -max_total_time="$seconds" -timeout=10 -max_len=4096 -rss_limit_mb=2048 \
            -print_final_stats=1 -artifact_prefix="$findings/" \
            "$grown" "$here/corpus/$parser" >"$build/$parser.log" 2>&1; then
        echo 0 >"$build/$parser.status"
    else
        echo 1 >"$build/$parser.status"
    fi
}

parsers=$(for source in "$here"/fuzz_*.cpp; do name=$(basename "$source" .cpp); echo "${name#fuzz_}"; done)
# As many targets at a time as there are processors.
parallel=${FUZZ_PARALLEL:-$(nproc)}
set -- $parsers
while [ $# -gt 0 ]; do
    batch=
    while [ $# -gt 0 ] && [ "$(echo $batch | wc -w)" -lt "$parallel" ]; do
        batch="$batch $1"
        shift
    done
    echo "fuzz:$batch for ${seconds}s"
    for parser in $batch; do
        run_target "$parser" &
    done
    wait
done

status=0
for parser in $parsers; do
    if [ "$(cat "$build/$parser.status")" != 0 ]; then
        echo "fuzz: $parser FAILED, the input is in $build/findings/$parser, the log in $build/$parser.log" >&2
        tail -40 "$build/$parser.log" >&2
        status=1
    else
        echo "fuzz: $parser: $(grep -E "stat::number_of_executed_units" "$build/$parser.log" | tail -1)"
    fi
done
exit $status
