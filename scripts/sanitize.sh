#!/usr/bin/env bash
# Builds the whole test suite with clang's AddressSanitizer and UBSan (with
# float-cast-overflow, which only clang checks) in build-asan and runs it
# headless. Any sanitizer report fails the run, even one printed by a test
# that still passed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh clang libclang-rt-14-dev

jobs=${SANITIZE_JOBS:-2}
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCIFRANO_SANITIZE=ON \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCIFRANO_BUILD_TESTS=ON -DCIFRANO_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"

# Leak checking is on; SANITIZE_DETECT_LEAKS=0 turns it off should a library
# outside the program ever leak at exit.
# Full stacks (Qt is built without frame pointers) let the suppressions in
# tests/lsan.supp match by library.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=${SANITIZE_DETECT_LEAKS:-1}:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:fast_unwind_on_malloc=0"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen

cd build-asan
status=0
ctest --output-on-failure -j"$jobs" || status=$?

if grep -nE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' Testing/Temporary/LastTest*.log; then
  echo "Sanitizer reports found (see above)."
  status=1
fi
exit "$status"
