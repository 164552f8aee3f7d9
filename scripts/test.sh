#!/usr/bin/env bash
# Installs what the tests need (Debian 12, as root or through sudo) and runs every test:
# the normal build with all unit, window and desktop tests, then the sanitizer build with
# the unit and window tests, the fuzzer and the short soak.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    -DRUPETA_BUILD_TESTS=ON >/dev/null
cmake --build build -j"$jobs"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    -DRUPETA_SANITIZE=ON -DRUPETA_FUZZ=ON -DRUPETA_BUILD_TESTS=ON >/dev/null
cmake --build build-asan -j"$jobs"

status=0
echo "== normal build =="
ctest --test-dir build --output-on-failure || status=1
echo "== sanitizer build =="
ctest --test-dir build-asan --output-on-failure || status=1
exit $status
