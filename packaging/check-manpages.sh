#!/usr/bin/env bash
# The manual pages must format without a warning: mandoc's lint for every page, and groff
# through man(1) for the English ones (groff 1.22 cannot break Japanese lines, which only
# makes it warn about line breaking, so the Japanese pages are left to mandoc).
set -euo pipefail
status=0
for page in "$@"; do
  if ! mandoc -T lint -W warning "$page"; then
    status=1
  fi
  case "$page" in
    */ja/*) ;;
    *)
      warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
      if [ -n "$warnings" ]; then
        echo "$page:"; echo "$warnings"; status=1
      fi
      ;;
  esac
done
[ $status -eq 0 ] && echo "manual pages clean: $#"
exit $status
