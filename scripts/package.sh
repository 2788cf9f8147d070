#!/usr/bin/env bash
# Builds Cifrano in Release and makes the Debian package:
# build-package/cifrano_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
# dpkg-shlibdeps works out the package's library dependencies.
if ! command -v dpkg-shlibdeps >/dev/null || ! command -v file >/dev/null; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends dpkg-dev file
fi
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCIFRANO_BUILD_TESTS=OFF -DCIFRANO_BUILD_BENCH=OFF -DCIFRANO_BUILD_FUZZ=OFF >/dev/null
cmake --build build-package -j"${JOBS:-$(nproc)}"
rm -f build-package/cifrano_*.deb
(cd build-package && cpack -G DEB)
ls -1 build-package/cifrano_*.deb
# Debian's own checks, where lintian is installed (apt-get install lintian):
# any error or warning fails the packaging.
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning build-package/cifrano_*.deb
  echo "lintian: no errors, no warnings"
else
  echo "lintian is not installed: the package was not checked"
fi
