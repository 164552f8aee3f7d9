#!/usr/bin/env bash
# Builds the Debian package of ルペタ, as your own user: the release build for the /usr prefix
# (preset "package", build-package/), then cpack. Reproducible: every date in it is the last
# commit's. Prints the package's path and lintian's findings.
#   scripts/package.sh        then: sudo apt install ./build-package/rupeta_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
build=$PWD/build-package

bash scripts/install-deps.sh package
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
cmake --preset package >/dev/null
cmake --build --preset package -j"$(nproc)"
rm -f "$build"/rupeta_*.deb
(cd "$build" && cpack >/dev/null)
deb=$(ls "$build"/rupeta_*.deb)
echo "$deb"
lintian "$deb" 2>&1 | grep -v '^running with root privileges' || true
