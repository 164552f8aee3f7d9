#!/usr/bin/env bash
# Builds the Debian package of ルペタ: a release build for the /usr prefix in build-package/,
# then cpack. Prints the package's path and lintian's findings.
#   scripts/package.sh        then: sudo apt install ./build-package/rupeta_*.deb
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$repo/build-package

# The test set brings dpkg-shlibdeps (for the dependencies) and lintian.
bash "$repo/scripts/install-deps.sh" test
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DRUPETA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/rupeta_*.deb
(cd "$build" && cpack >/dev/null)
deb=$(ls "$build"/rupeta_*.deb)
echo "$deb"
if command -v lintian >/dev/null; then
    lintian "$deb" 2>&1 | grep -v '^running with root privileges' || true
fi
