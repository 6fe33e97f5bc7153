#!/usr/bin/env bash
# lintian on the package that package_deb built: no error and no warning (lintian leaves its
# informational tags out unless asked with -I).
set -euo pipefail
deb=$(ls "$1"/nobrisa_*.deb)
lintian --fail-on error,warning --tag-display-limit 0 "$deb"
echo "lintian: no error or warning in $(basename "$deb")"
