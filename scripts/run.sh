#!/usr/bin/env bash
# Builds Cifrano in Release and starts it from the build folder, whose
# application folder holds the default data.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCIFRANO_BUILD_TESTS=OFF -DCIFRANO_BUILD_BENCH=OFF >/dev/null
cmake --build build --target cifrano -j"$(nproc)"
exec ./build/bin/cifrano "$@"
