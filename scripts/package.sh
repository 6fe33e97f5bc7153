#!/usr/bin/env bash
# Builds the Debian package: installs what building needs (scripts/setup.sh --package), builds
# without tests into build-deb/ and runs CPack there: build-deb/nobrisa_*.deb. Optimised with
# debugging information (-O2 -g, as Debian builds), stripped into the package by CPack.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --package
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
  -DNOBRISA_BENCH=OFF ${NOBRISA_CMAKE_ARGS:-}
cmake --build build-deb -j "$(nproc 2>/dev/null || echo 2)"
(cd build-deb && cpack -G DEB)
ls build-deb/nobrisa_*.deb
