#!/usr/bin/env bash
# Counts non-blank, non-comment C++ lines by what the code is for: the
# program (app/, automation/, winutil/), the tools a user runs (the
# simulated client, the demo driver, the bench) and the tests (everything
# under tests/). Prints each, and the tests' share of the whole.
set -euo pipefail
cd "$(dirname "$0")/.."

count() {
  local total=0 n f
  for f in "$@"; do
    # Drops // comments, /* */ blocks and blank lines; a "//" inside a
    # string literal is rare enough here not to matter.
    n=$(sed -e 's://.*$::' "$f" | awk '
      { line = $0
        if (inblock) { if (match(line, /\*\//)) { line = substr(line, RSTART + 2); inblock = 0 } else next }
        while (match(line, /\/\*/)) {
          pre = substr(line, 1, RSTART - 1); rest = substr(line, RSTART + 2)
          if (match(rest, /\*\//)) line = pre substr(rest, RSTART + 2)
          else { line = pre; inblock = 1 }
        }
        if (line ~ /[^ \t]/) c++ }
      END { print c + 0 }')
    total=$((total + n))
  done
  echo "$total"
}

cxx() { find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) | sort; }

program=$(count $(cxx app automation winutil))
tools=$(count $(cxx tools bench))
tests=$(count $(cxx tests))
all=$((program + tools + tests))
printf '%-8s %6d\n' program "$program" tools "$tools" tests "$tests" all "$all"
awk -v t="$tests" -v a="$all" 'BEGIN { printf "tests are %.1f%% of all C++ lines\n", 100 * t / a }'
