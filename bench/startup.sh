#!/usr/bin/env bash
# The figures of what a player sees, on an X display (Xvfb with openbox) and
# offscreen: bench_startup (start-up, the game screen, picking users'
# pictures, --help, each against a bare Qt window) and bench_sheet_view.
#
#   bash bench/startup.sh [runs]        (7 runs by default)
#
# BUILD names the build folder (build-bench by default).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
build=${BUILD:-build-bench}
bash scripts/deps.sh bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCIFRANO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target bench_startup bench_sheet_view >/dev/null

# An X display of our own, with a window manager; both end with the script.
number=97
while [ -e "/tmp/.X11-unix/X$number" ] && [ "$number" -gt 10 ]; do number=$((number - 1)); done
display=":$number"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
wm=
trap 'if [ -n "$wm" ]; then kill "$wm" 2>/dev/null || true; fi; kill "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$number" ] && break
  sleep 0.1
done
DISPLAY="$display" openbox >/dev/null 2>&1 &
wm=$!
for _ in $(seq 100); do
  DISPLAY="$display" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break
  sleep 0.1
done

for platform in xcb offscreen; do
  echo "== $platform"
  DISPLAY="$display" QT_QPA_PLATFORM=$platform "$build/bench/bench_startup" --runs "$runs"
  DISPLAY="$display" QT_QPA_PLATFORM=$platform "$build/bench/bench_sheet_view"
done
