#!/usr/bin/env bash
# Builds the core's micro-benchmarks in Release (build-bench/) and prints their figures.
# Usage: scripts/bench-core.sh [extra Google Benchmark options]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DRUPETA_CORE_ONLY=ON >/dev/null
cmake --build build-bench -j2 --target core_bench >/dev/null
exec build-bench/bench/core_bench --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true "$@"
