#!/usr/bin/env bash
# Builds the Windows installer rupeta-setup-VERSION.exe and the portable
# rupeta-VERSION-win64.zip, as your own user: installs what is missing (mingw-w64, NSIS, ...;
# through sudo when not root), cross-builds the program (preset "windows", build-windows/) and
# prints where the two files are.
#   scripts/package-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh windows
cmake --preset windows >/dev/null
cmake --build --preset windows --target rupeta_windows_package -j"$(nproc)"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/CMakeCache.txt)
ls "$PWD/build-windows/package/rupeta-setup-$version.exe" \
    "$PWD/build-windows/package/rupeta-$version-win64.zip"
