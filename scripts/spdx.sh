#!/usr/bin/env bash
# Puts "SPDX-License-Identifier: LGPL-2.1-or-later" at the top of every source
# file that lacks one: C++ sources and headers, CMake files, shell scripts and
# the Makefile. Safe to rerun (after a merge brings new files): a file that
# already names a licence near its top is left alone.
#   bash scripts/spdx.sh          add the missing lines
#   bash scripts/spdx.sh --check  list the files lacking one; exit 1 if any
set -euo pipefail
cd "$(dirname "$0")/.."
id="SPDX-License-Identifier: LGPL-2.1-or-later"
check=0; [ "${1:-}" = "--check" ] && check=1
missing=0

# Tracked files and new ones not ignored, so it works before the commit too.
while IFS= read -r -d '' f; do
    [ -f "$f" ] || continue
    case "$f" in
        fuzz/corpus/*) continue ;;
        *.cpp|*.h|*.cpp.in|*.h.in) style=cxx ;;
        CMakeLists.txt|*/CMakeLists.txt|*.cmake|*.cmake.in|*.sh|Makefile|.ci/run) style=hash ;;
        *) continue ;;
    esac
    head -n 5 "$f" | grep -q 'SPDX-License-Identifier:' && continue
    missing=1
    if [ $check -eq 1 ]; then echo "$f"; continue; fi
    tmp=$(mktemp)
    if [ $style = cxx ]; then
        { printf '// %s\n' "$id"; cat "$f"; } > "$tmp"
    elif head -n 1 "$f" | grep -q '^#!'; then
        # The interpreter line has to stay first.
        { head -n 1 "$f"; printf '# %s\n' "$id"; tail -n +2 "$f"; } > "$tmp"
    else
        { printf '# %s\n' "$id"; cat "$f"; } > "$tmp"
    fi
    # Keep the mode (scripts stay executable).
    cat "$tmp" > "$f"
    rm -f "$tmp"
done < <(git ls-files -z --cached --others --exclude-standard)
[ $check -eq 1 ] && exit $missing
exit 0
