#!/usr/bin/env bash
# Installs every Debian 12 package that building, running, testing and printing end to end need.
# With --package only what building the Debian package needs (scripts/package.sh).
# Idempotent: when everything is already installed it changes nothing and needs no network.
set -euo pipefail

build_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libqt6svg6 libgl-dev
  fontconfig libfontconfig-dev libcups2-dev
  dpkg-dev file
)
packages=(
  "${build_packages[@]}"
  qt6-qpa-plugins qt6-translations-l10n
  libgtest-dev googletest
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-ocr-b
  fonts-noto-cjk
  cups cups-client cups-bsd cups-ipp-utils printer-driver-cups-pdf
  poppler-utils python3 python3-numpy
  xvfb xauth xdotool x11-apps
  libreoffice-draw
  desktop-file-utils appstream lintian mandoc man-db
  clang libclang-rt-14-dev
)
if [ "${1:-}" = "--package" ]; then
  packages=("${build_packages[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
  else
    echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq "${missing[@]}"
