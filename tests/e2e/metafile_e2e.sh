#!/usr/bin/env bash
# The facsimile's Windows metafile opened by another program: nobrisa-cli writes the facsimile of
# the sample setting file as a placeable .wmf, LibreOffice converts it to PNG, and the picture
# must show the blue form with its frames where they belong and the subscriber's name in its box
# (check_facsimile_png.py).
#
#   metafile_e2e.sh PATH/TO/nobrisa-cli PATH/TO/samples
set -euo pipefail

cli=$1
samples=$2
here="$(cd "$(dirname "$0")" && pwd)"
# numpy comes from Debian's python3-numpy: use Debian's interpreter, whatever else is on PATH.
py=/usr/bin/python3

command -v soffice >/dev/null ||
    { echo "metafile e2e: soffice is missing (libreoffice-draw, scripts/setup.sh)" >&2; exit 1; }

dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/home"

QT_QPA_PLATFORM=offscreen "$cli" facsimile "$samples/sample.dat" "$dir/out.wmf"
# A profile of its own: LibreOffice would otherwise use (or wait for) the user's.
HOME="$dir/home" timeout 240 soffice --headless --norestore --convert-to png \
    --outdir "$dir" "$dir/out.wmf" >"$dir/soffice.log" 2>&1 ||
    { cat "$dir/soffice.log" >&2; echo "metafile e2e: LibreOffice failed" >&2; exit 1; }
[[ -s "$dir/out.png" ]] ||
    { cat "$dir/soffice.log" >&2; echo "metafile e2e: LibreOffice wrote no PNG" >&2; exit 1; }
if [[ -n "${NOBRISA_E2E_KEEP:-}" ]]; then
    cp "$dir/out.wmf" "$dir/out.png" "$NOBRISA_E2E_KEEP/"
fi
"$py" "$here/check_facsimile_png.py" "$dir/out.png"
