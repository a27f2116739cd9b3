#!/usr/bin/env bash
# Installs what the tests need, builds and runs every test through CTest:
# the normal build, the ASan/UBSan build, and the fuzz targets (clang).
# No display or sound server is needed: the tests start their own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/abhaengigkeiten.sh --tests

jobs=$(nproc)

echo "== Build und Tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWITH_WERROR=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== Build und Tests mit AddressSanitizer und UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWITH_ASAN=ON -DWITH_WERROR=ON
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== Fuzzing (libFuzzer)"
CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWITH_FUZZ=ON -DWITH_WERROR=ON
cmake --build build-fuzz -j "$jobs"
ctest --test-dir build-fuzz --output-on-failure
