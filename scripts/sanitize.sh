#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-2.1-or-later
# The whole test suite under AddressSanitizer + UndefinedBehaviorSanitizer
# with LeakSanitizer on, in a build dir of its own.
#   scripts/sanitize.sh            configure, build, run every test
# Env: BUILD (default build-sanitize), JOBS (default 2), CTEST_ARGS (extra,
# e.g. "-R tst_dispatch"), SANITIZE_TIMED_TESTS (ctest regex of the tests run
# without leak detection; default ^tst_simulator$).
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD:-$src/build-sanitize}"
jobs="${JOBS:-2}"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Debug info without optimisation costs too much build time on two cores;
# -O1 keeps stacks readable and the suite fast.
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
    -DVX_SANITIZE=ON -DVX_BENCH=OFF -DVX_TESTS=ON "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$jobs"

# Qt is built without frame pointers: the fast unwinder stops one frame into
# it, too short to tell Qt's own leaks (scripts/lsan.supp) from ours, so
# allocations take a short slow unwind instead.
export LSAN_OPTIONS="suppressions=$src/scripts/lsan.supp:print_suppressions=0:${LSAN_OPTIONS:-}"
# libdime (the DXF reader's library) allocates its table names with new[]
# and frees them with delete: not ours to fix, and ASan would stop every
# test that reads a DXF file with tables.
export ASAN_OPTIONS="alloc_dealloc_mismatch=0:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
slow="detect_leaks=1:fast_unwind_on_malloc=0:malloc_context_size=4"
# Tests with wall-clock budgets over millions of allocations cannot afford
# that unwind; they run with ASan and UBSan but without leak detection.
timed="${SANITIZE_TIMED_TESTS:-^tst_simulator\$}"
cd "$build"
status=0
# The install and package tests are left out: a sanitized build is not what
# ships, and its packages depend on the sanitizer runtimes.
# The timed tests first, so the run closes with the whole suite's summary.
# shellcheck disable=SC2086
ASAN_OPTIONS="detect_leaks=0:${ASAN_OPTIONS:-}" ctest --output-on-failure -j "$jobs" --timeout 600 -LE install -R "$timed" ${CTEST_ARGS:-} || status=1
# shellcheck disable=SC2086
ASAN_OPTIONS="$slow:${ASAN_OPTIONS:-}" ctest --output-on-failure -j "$jobs" --timeout 600 -LE install -E "$timed" ${CTEST_ARGS:-} || status=1
exit $status
