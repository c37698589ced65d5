#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-2.1-or-later
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs each
# for SECONDS seconds on its seed corpus, with its dictionary (fuzz/TARGET.dict)
# when there is one.
#   fuzz/run.sh [SECONDS] [TARGET...]     default: 30 s, every target
# Env: BUILD (default build-fuzz), JOBS (default 2), CORPUS_OUT (directory for
# the grown corpora; default: a temporary one, so the seeds stay as committed).
# Exits non-zero when a target finds a crash, a leak, a timeout or runs out
# of memory.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
src="$(dirname "$here")"
secs="${1:-30}"; shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_receive fuzz_decode fuzz_plot fuzz_cloud fuzz_svg fuzz_dxf fuzz_http)
build="${BUILD:-$src/build-fuzz}"
jobs="${JOBS:-2}"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DVX_FUZZ=ON -DVX_TESTS=OFF -DVX_BENCH=OFF \
    "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$jobs" --target "${targets[@]}"

if [ -n "${CORPUS_OUT:-}" ]; then
    out="$CORPUS_OUT"
else
    out="$(mktemp -d)"
    trap 'rm -rf "$out"' EXIT
fi
export QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='*.debug=false'
# ASan keeps freed blocks in a quarantine (256 MB by default) and in its
# caches, all of it resident: under a 512 MB limit that, not the input,
# was what ran out. A small quarantine and prompt release leave the limit
# to what an input really holds.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:quarantine_size_mb=16:allocator_release_to_os_interval_ms=100:${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$src/scripts/lsan.supp:print_suppressions=0:${LSAN_OPTIONS:-}"
status=0
for t in "${targets[@]}"; do
    mkdir -p "$out/$t" "$build/fuzz-artifacts/$t"
    echo "== $t: $secs s"
    dict=()
    [ -f "$here/$t.dict" ] && dict=(-dict="$here/$t.dict")
    # A timeout or going past -rss_limit_mb (also any one allocation that
    # big) ends libFuzzer with a non-zero status like a crash: a reader that
    # hangs or takes the memory is a finding, not a swap storm.
    if ! "$build/bin/$t" "$out/$t" "$here/corpus/$t" -max_total_time="$secs" \
            -timeout=10 -rss_limit_mb=512 -max_len=65536 -print_final_stats=1 "${dict[@]}" \
            -artifact_prefix="$build/fuzz-artifacts/$t/" 2>"$build/fuzz-artifacts/$t.log"; then
        echo "!! $t failed; see $build/fuzz-artifacts/$t.log"
        tail -40 "$build/fuzz-artifacts/$t.log"
        status=1
    fi
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb|#[0-9]+.*DONE' \
        "$build/fuzz-artifacts/$t.log" | sed "s/^/   /" || true
done
exit $status
