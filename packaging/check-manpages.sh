#!/usr/bin/env bash
# The manual pages must format without a warning: mandoc's lint, and groff through man(1) at
# two widths (a Japanese line groff cannot break shows here).
set -euo pipefail
status=0
for page in "$@"; do
  if ! mandoc -T lint -W warning "$page"; then
    status=1
  fi
  for width in 80 60; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=$width man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    if [ -n "$warnings" ]; then
      echo "$page ($width columns):"; echo "$warnings"; status=1
    fi
  done
done
[ $status -eq 0 ] && echo "manual pages clean: $#"
exit $status
