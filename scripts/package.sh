#!/usr/bin/env bash
# Builds the Debian package: installs what building needs (scripts/setup.sh), builds a release
# without tests into build-deb/ and runs CPack there. The package is build-deb/nobrisa_*.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DNOBRISA_BENCH=OFF ${NOBRISA_CMAKE_ARGS:-}
cmake --build build-deb -j "$(nproc 2>/dev/null || echo 2)"
(cd build-deb && cpack -G DEB)
ls build-deb/nobrisa_*.deb
