#!/usr/bin/env bash
# Runs every test: the run-time library's native unit tests, then the Win32 tests and the
# e2e driver against the real Ternavo.exe under Wine. Ends with one summary line.
set -uo pipefail
cd "$(dirname "$0")/.."
bash tools/setup-debian.sh || exit 1
source tools/wine-session.sh
logs="$TERNAVO_ROOT/build/test-logs"
rm -rf "$logs" && mkdir -p "$logs"

passed=0
failed=0
# $1: a name; the rest: a ctest command line. Counts GoogleTest's own tallies from the log,
# and a test binary that died before its tally as one failure.
run_suite() {
  local name=$1
  shift
  "$@" >"$logs/$name.log" 2>&1
  local status=$?
  local ok bad
  ok=$(grep -Eo '\[  PASSED  \] [0-9]+ test' "$logs/$name.log" | awk '{s+=$4} END {print s+0}')
  bad=$(grep -Eo '\[  FAILED  \] [0-9]+ test' "$logs/$name.log" | awk '{s+=$4} END {print s+0}')
  if [ "$status" != 0 ] && [ "$bad" = 0 ]; then bad=1; fi
  grep -E '^\[  FAILED  \] [A-Za-z]|Test +#|tests passed' "$logs/$name.log"
  [ "$status" != 0 ] && echo "$name: see $logs/$name.log"
  passed=$((passed + ok))
  failed=$((failed + bad))
}

# $1: a preset; the rest: cache settings.
build() {
  local preset=$1
  shift
  cmake --preset "$preset" "$@" >"$logs/configure-$preset.log" 2>&1 && cmake --build --preset "$preset" >"$logs/build-$preset.log" 2>&1 \
    || { echo "build $preset failed: see $logs/build-$preset.log"; tail -20 "$logs/build-$preset.log"; return 1; }
}

echo "== native unit tests"
if build native; then
  run_suite native ctest --test-dir build/native -V
else
  failed=$((failed + 1))
fi

echo "== Win32 tests and e2e under Wine ($TERNAVO_PRESET)"
# The shipped 32-bit program is always built, even where this host cannot run it.
[ "$TERNAVO_PRESET" != mingw-i686 ] && { build mingw-i686 -DTERNAVO_TESTS=OFF || failed=$((failed + 1)); }
if build "$TERNAVO_PRESET"; then
  wine_session_start "$TERNAVO_ROOT/build/wine-test"
  trap wine_session_stop EXIT
  run_suite wine ctest --test-dir "$TERNAVO_BUILD" -V --timeout 600
else
  failed=$((failed + 1))
fi

echo "tests: $passed passed, $failed failed"
[ "$failed" = 0 ]
