#!/usr/bin/env bash
# The test command: installs what is missing, builds both trees and runs every
# test through ctest. Exits non-zero when any test fails.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

bash scripts/setup.sh
bash scripts/build.sh all

passed=0
failed=0
status=0
for tree in build/native build/win; do
  echo "== tests of $tree"
  log=$(mktemp)
  ctest --test-dir "$tree" --output-on-failure --no-tests=error "$@" 2>&1 | tee "$log" || status=1
  # "N% tests passed, F tests failed out of T"
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1 || true)
  rm -f "$log"
  if [ -z "$summary" ]; then status=1; failed=$((failed + 1)); continue; fi
  f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  t=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
  passed=$((passed + t - f))
  failed=$((failed + f))
done

# Wine's server for the tests' prefix is not needed any more.
WINEPREFIX="$repo/build/wineprefix" wineserver -k 2>/dev/null || true

echo "ctest: $passed passed, $failed failed"
[ "$status" = 0 ] && [ "$failed" = 0 ]
