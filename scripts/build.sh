#!/usr/bin/env bash
# Configures and builds into build/ (Release with debug info, tests included).
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${NOBRISA_CMAKE_ARGS:-}
cmake --build build -j "$jobs"
