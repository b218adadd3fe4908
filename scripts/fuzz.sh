#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a fixed time (FUZZ_SECONDS, default 60) from
# its committed corpus. New inputs stay in a scratch folder; a crash leaves its input in the build folder
# and fails the script.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${WARDEN_FUZZ_BUILD_DIR:-$top/build-fuzz}"
seconds="${FUZZ_SECONDS:-60}"

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DWARDEN_FUZZ=ON -DWARDEN_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target bundle_reader_fuzz transfer_message_fuzz -j "$(nproc)"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cd "$build"
for target in bundle_reader transfer_message; do
    mkdir -p "$scratch/$target"
    "$build/bin/${target}_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
        "$scratch/$target" "$top/tests/data/fuzz/$target"
done
