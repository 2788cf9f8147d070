#!/usr/bin/env bash
# Builds the libFuzzer targets of the core with clang in build-fuzz and runs
# each for FUZZ_SECONDS (default 20) from its committed seed corpus. The corpus
# is copied to a temporary folder first, so nothing is written into the tree.
# Fails when any target finds a crash or a broken property; the input that did
# it is kept under build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${FUZZ_SECONDS:-20}

bash scripts/deps.sh

# clang and its libFuzzer runtime are needed here only, never by the normal build.
fuzz_packages=(clang libclang-rt-14-dev)
missing=()
for p in "${fuzz_packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

targets=(fuzz_numbers fuzz_configuration fuzz_pipeline)
jobs=${FUZZ_BUILD_JOBS:-2}
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCIFRANO_BUILD_FUZZ=ON -DCIFRANO_BUILD_TESTS=OFF -DCIFRANO_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target "${targets[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p build-fuzz/artifacts

# The pipeline's actions need room to reach the end of a game.
declare -A extra=([fuzz_pipeline]="-max_len=1024 -len_control=10")

failed=()
for target in "${targets[@]}"; do
  corpus="$work/$target"
  mkdir -p "$corpus"
  cp "tests/fuzz/corpus/$target/"* "$corpus/"
  log="$work/$target.log"
  status=0
  # shellcheck disable=SC2086
  (cd "$work" && "$root/build-fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -seed="${FUZZ_SEED:-1}" -print_final_stats=1 -artifact_prefix="$root/build-fuzz/artifacts/$target-" \
      ${extra[$target]:-} "$corpus" >"$log" 2>&1) || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  if [ "$status" -ne 0 ]; then
    echo "$target: FAILED after ${runs:-?} executions"
    grep -E 'property broken|ERROR|SUMMARY|^ +#[0-9]+ ' "$log" | head -40 || true
    ls -1 build-fuzz/artifacts/"$target"-* 2>/dev/null || true
    failed+=("$target")
  else
    echo "$target: ${runs:-?} executions in ${seconds} s (${rate:-?}/s), no crash"
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing failed: ${failed[*]}"
  exit 1
fi
