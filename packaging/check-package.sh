#!/usr/bin/env bash
# Builds the Debian package from the build tree, unpacks it into a temporary root and runs the
# unpacked nobrisa-cli from there: its version, and the installed sample printed into a PDF.
# Usage: check-package.sh CPACK BUILD_DIR VERSION OUT_DIR (the .deb stays in OUT_DIR for lintian).
set -euo pipefail
cpack=$1 build=$2 version=$3 outdir=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$outdir"
mkdir -p "$outdir"
if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"; fail "cpack"
fi
deb=$(ls "$work"/cpack/nobrisa_"$version"_*.deb) || fail "no nobrisa_${version}_*.deb"
cp "$deb" "$outdir/"
echo "built $(basename "$deb") ($(du -k "$deb" | cut -f1) kB)"

# The control fields: the version set in CMake, libraries found by dpkg-shlibdeps, the fonts.
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
for want in libqt6widgets6 libqt6printsupport6 libcups2 fonts-ipafont-gothic fonts-ocr-b; do
  [[ "$depends" == *"$want"* ]] || fail "Depends lacks $want: $depends"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/nobrisa usr/bin/nobrisa-cli usr/share/nobrisa/nobrisa.html \
         usr/share/nobrisa/sample.dat usr/share/icons/hicolor/scalable/apps/nobrisa.svg \
         usr/share/icons/hicolor/48x48/apps/nobrisa.png \
         usr/share/icons/hicolor/256x256/apps/nobrisa.png \
         usr/share/man/man1/nobrisa-cli.1.gz usr/share/man/ja/man1/nobrisa-cli.1.gz \
         usr/share/doc/nobrisa/copyright; do
  [ -s "$root/$f" ] || fail "$f missing from the package"
done
ls "$root"/usr/share/applications/*.desktop "$root"/usr/share/metainfo/*.metainfo.xml >/dev/null ||
  fail "desktop entry or metainfo missing"
file "$root/usr/share/icons/hicolor/256x256/apps/nobrisa.png" | grep -q "256 x 256" ||
  fail "the 256 px icon is not 256 x 256"

cli="$root/usr/bin/nobrisa-cli"
[ "$("$cli" --version)" = "nobrisa-cli $version" ] || fail "--version: $("$cli" --version)"
# A user's home of its own, so that nothing is read from or written to the real one.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$HOME"
"$cli" print "$root/usr/share/nobrisa/sample.dat" --pdf "$work/sample.pdf" ||
  fail "printing the installed sample"
pages=$(pdfinfo "$work/sample.pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" = 1 ] || fail "the PDF has $pages pages"
pdftotext "$work/sample.pdf" - | grep -q "日本語教育振興会" ||
  fail "the subscriber's name is not in the PDF"
echo "package checks passed"
