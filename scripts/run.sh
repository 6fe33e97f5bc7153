#!/usr/bin/env bash
# Sets up, builds and starts the program's window. Extra arguments go to the program.
# Without a display (no DISPLAY or WAYLAND_DISPLAY) it cannot open a window: it says so and
# prints the bundled sample slip to out/sample.pdf with nobrisa-cli instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
  echo "run: no display to open the window on; printing samples/sample.dat to out/sample.pdf" >&2
  echo "run: (start the window with a display, or under Xvfb: xvfb-run bash scripts/run.sh)" >&2
  mkdir -p out
  QT_QPA_PLATFORM=offscreen ./build/src/nobrisa-cli print samples/sample.dat --pdf out/sample.pdf
  exit 0
fi
exec ./build/src/nobrisa "$@"
