#!/usr/bin/env bash
# Builds the libFuzzer targets of the core with clang in build-fuzz and runs
# each for FUZZ_SECONDS (default 20) from its committed seed corpus, with a
# fresh random seed each run (FUZZ_SEED fixes it; the seed is printed so that
# a failure can be replayed). The corpus is copied to a temporary folder;
# with --merge, what the run found is merged back into tests/fuzz/corpus so
# that the next run starts from there. Fails when any target finds a crash or
# a broken property; the input that did it is kept under build-fuzz/artifacts/.
#
# FUZZ_TARGETS picks targets (space-separated). FUZZ_FAST=1 builds in
# build-fuzz-fast with UBSan and the standard library's bounds checks instead
# of AddressSanitizer: about twice the executions per second, for long runs.
# FUZZ_WORKERS=N runs N fuzzing processes per target side by side, sharing one
# corpus (libFuzzer's -jobs/-workers); the figures printed are their sums.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${FUZZ_SECONDS:-20}
merge=0
[ "${1:-}" = "--merge" ] && merge=1

# clang and its libFuzzer runtime are needed here only, never by the normal build.
bash scripts/deps.sh clang libclang-rt-14-dev

read -r -a targets <<<"${FUZZ_TARGETS:-fuzz_numbers fuzz_configuration fuzz_config_check fuzz_pipeline}"
jobs=${FUZZ_BUILD_JOBS:-2}
build=build-fuzz
flavour=()
if [ "${FUZZ_FAST:-0}" = 1 ]; then
  build=build-fuzz-fast
  flavour=(-DCIFRANO_FUZZ_SANITIZE=undefined,float-cast-overflow
           "-DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS")
fi
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCIFRANO_BUILD_FUZZ=ON -DCIFRANO_BUILD_TESTS=OFF -DCIFRANO_BUILD_BENCH=OFF "${flavour[@]}" >/dev/null
cmake --build "$build" -j"$jobs" --target "${targets[@]}"
workers=${FUZZ_WORKERS:-1}
parallel=()
[ "$workers" -gt 1 ] && parallel=(-jobs="$workers" -workers="$workers")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p build-fuzz/artifacts
seed=${FUZZ_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
echo "Fuzzing seed: $seed (FUZZ_SEED=$seed replays this run)"

dict="-dict=$root/tests/fuzz/cifrano.dict"
declare -A extra=(
  [fuzz_configuration]="$dict"
  [fuzz_config_check]="$dict -max_len=256"
  # The pipeline's actions need room to reach the end of a six-minute game.
  [fuzz_pipeline]="$dict -max_len=8192 -len_control=10"
)

failed=()
for target in "${targets[@]}"; do
  corpus="$work/$target"
  mkdir -p "$corpus"
  cp "tests/fuzz/corpus/$target/"* "$corpus/"
  log="$work/$target.log"
  status=0
  # shellcheck disable=SC2086
  (cd "$work" && "$root/$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 "${parallel[@]}" \
      -rss_limit_mb=2048 -seed="$seed" -print_final_stats=1 \
      -artifact_prefix="$root/build-fuzz/artifacts/$target-" \
      ${extra[$target]:-} "$corpus" >"$log" 2>&1) || status=$?
  logs=("$log")
  [ "$workers" -gt 1 ] && logs=("$work"/fuzz-*.log)
  runs=$(cat "${logs[@]}" | sed -n 's/^stat::number_of_executed_units: *//p' | awk '{ s += $1 } END { print s }')
  rate=$(cat "${logs[@]}" | sed -n 's/^stat::average_exec_per_sec: *//p' | awk '{ s += $1 } END { print s }')
  cov=$(for l in "${logs[@]}"; do grep -oE 'cov: [0-9]+ ft: [0-9]+' "$l" | tail -1; done |
        sort -t' ' -k2,2n | tail -1 || true)
  [ "$workers" -gt 1 ] && cat "$work"/fuzz-*.log >>"$log"
  rm -f "$work"/fuzz-*.log
  if [ "$status" -ne 0 ]; then
    echo "$target: FAILED after ${runs:-?} executions"
    grep -E 'property broken|ERROR|SUMMARY|^ +#[0-9]+ ' "$log" | head -40 || true
    ls -1 build-fuzz/artifacts/"$target"-* 2>/dev/null || true
    failed+=("$target")
  else
    echo "$target: ${runs:-?} executions in ${seconds} s (${rate:-?}/s), ${cov:-cov ?}, no crash"
  fi
  if [ "$merge" -eq 1 ]; then
    # shellcheck disable=SC2086
    "$root/$build/fuzz/$target" -merge=1 ${extra[$target]:-} "tests/fuzz/corpus/$target" \
      "$corpus" >"$log.merge" 2>&1
    echo "  corpus: $(ls "tests/fuzz/corpus/$target" | wc -l) inputs after merging"
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing failed: ${failed[*]}"
  exit 1
fi
