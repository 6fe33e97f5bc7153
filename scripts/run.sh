#!/usr/bin/env bash
# Sets up, builds and runs the program: prints the bundled sample slip to a PDF
# (out/sample.pdf) with nobrisa-cli. Extra arguments go to "nobrisa-cli print"
# (e.g. --printer NAME to print on a CUPS queue instead).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
mkdir -p out
if [ $# -eq 0 ]; then
  set -- --pdf out/sample.pdf
fi
./build/src/nobrisa-cli print samples/sample.dat "$@"
