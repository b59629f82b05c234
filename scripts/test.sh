#!/usr/bin/env bash
# Builds the project and runs every test (unit, end-to-end and the fuzz corpora replays).
#
#   scripts/test.sh [--sanitize address|thread]
#
# --sanitize address builds and tests in build-asan/ (AddressSanitizer and UndefinedBehavior-
# Sanitizer), --sanitize thread in build-tsan/ (ThreadSanitizer). The exit status is ctest's.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=default
while (($#)); do
  case "$1" in
    --sanitize)
      case "${2:-}" in
        address) preset=asan ;;
        thread) preset=tsan ;;
        *) echo "--sanitize takes address or thread" >&2; exit 2 ;;
      esac
      shift 2 ;;
    *) echo "usage: $0 [--sanitize address|thread]" >&2; exit 2 ;;
  esac
done

scripts/setup.sh --preset "$preset"

# Tests never open a window; SDL, if reached at all, draws nowhere.
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-dummy}
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
# Caches that system libraries keep until the process ends are listed in tests/lsan-suppressions.txt.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan-suppressions.txt:print_suppressions=0}
# Races inside uninstrumented system libraries (fontconfig, glib, cairo, DjVuLibre) are listed in
# tests/tsan-suppressions.txt; our own code gets no suppressions.
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan-suppressions.txt}

runner=()
if [[ $preset == tsan ]]; then
  # ThreadSanitizer's fixed memory layout fails with the address randomisation of newer kernels.
  runner=(setarch "$(uname -m)" -R)
fi

status=0
"${runner[@]}" ctest --preset "$preset" || status=$?

# In CI a skipped test fails the run, since a fresh machine set up by setup.sh has everything the
# tests need; a test may skip only for a reason it states "cannot be fixed here".
if [[ ${CI:-} == true ]]; then
  build_dir=build
  [[ $preset == default ]] || build_dir=build-$preset
  log=$build_dir/Testing/Temporary/LastTest.log
  unexcused=$(awk '
    /^[0-9]+\/[0-9]+ Test: / { name = $3; skipped = 0; excused = 0 }
    /\[  SKIPPED \]/ { skipped = 1 }
    /cannot be fixed here/ { excused = 1 }
    /^<end of output>/ { if (skipped && !excused) print name }
  ' "$log")
  if [[ -n $unexcused ]]; then
    echo "Skipped tests (a skip in CI is a failure unless it says it cannot be fixed here):" >&2
    echo "$unexcused" >&2
    ((status != 0)) || status=1
  fi
fi
exit "$status"
