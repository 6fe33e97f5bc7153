#!/usr/bin/env bash
# Source hygiene: no tabs, no CR LF and no trailing blanks in the project's sources and scripts.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.py' '*.sh' 'CMakeLists.txt' '*/CMakeLists.txt' 2>/dev/null ||
                     find src tests bench scripts -name '*.cpp' -o -name '*.h' -o -name '*.py' -o -name '*.sh')
bad=0
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  if grep -nP '\t' "$f" >/dev/null; then echo "$f: tab"; bad=1; fi
  if grep -nP '\r$' "$f" >/dev/null; then echo "$f: CR LF line end"; bad=1; fi
  if grep -nP '[ \t]+$' "$f" >/dev/null; then echo "$f: trailing blanks"; grep -nP '[ \t]+$' "$f" | head -3; bad=1; fi
done
[ $bad -eq 0 ] && echo "sources clean: ${#files[@]} files"
exit $bad
