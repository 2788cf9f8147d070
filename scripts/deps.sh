#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Cifrano need,
# plus any packages named as arguments (clang for the fuzz and sanitizer runs);
# "deps.sh bench" adds what the display benchmarks (bench/startup.sh) and the
# checks beside them need: an X server, a window manager, screenshots, strace.
# Idempotent: does nothing when every package is already installed.
set -euo pipefail

packages=(
  cmake g++ make
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins libqt6multimedia6
  libxcb1-dev
  libsqlite3-dev libfontconfig-dev
  fonts-liberation
)
for extra in "$@"; do
  if [ "$extra" = bench ]; then
    packages+=(xvfb openbox x11-utils imagemagick strace)
  else
    packages+=("$extra")
  fi
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
