#!/usr/bin/env bash
# Builds Cifrano with its tests and runs every test headless through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build-tests -DCMAKE_BUILD_TYPE=Release -DCIFRANO_BUILD_TESTS=ON >/dev/null
cmake --build build-tests -j"$(nproc)"
cd build-tests
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
