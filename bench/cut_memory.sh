#!/bin/sh
# SPDX-License-Identifier: LGPL-2.1-or-later
# Peak resident memory of the whole `vxcut cut` process against a vxsim
# process, in sizes of the plot text it sends, with same-run baselines:
#   tiny   `vxcut cut` of the sample plot: the process's fixed cost (Qt, plugin)
#   plan   `vxcut plan` of the big design: read, pipeline and text, no device
#   cut    `vxcut cut` of the big design: all of it, plus setPlt and the frame
#   host   the same cut through the host library as vxstudio makes it, the
#          plan kept for drawing (cut_memory_host; vxstudio itself starts a
#          cut only from its Start button)
# Usage: bench/cut_memory.sh [BUILD_DIR] [MEGABYTES]   (defaults: build 50)
set -eu
build=${1:-build}
mb=${2:-50}
bin=$build/bin
dir=$(mktemp -d)
# The runs' jobs go to a journal of their own, not the user's.
export VX_JOURNAL="$dir/jobs.jsonl"
trap 'kill $sim 2>/dev/null || true; rm -rf "$dir"' EXIT INT TERM

# Squares and strokes scattered over a sheet whose area grows with their
# number, as bench_plot makes them; about 56 bytes of HP-GL a shape.
python3 - "$dir/big.plt" "$mb" <<'PY'
import random, sys
path, mb = sys.argv[1], float(sys.argv[2])
shapes = int(mb * 1e6 / 56)
rng = random.Random(1)
side = int((shapes ** 0.5) * 400)
with open(path, "w") as f:
    f.write("IN;SP1;")
    for i in range(shapes):
        x, y, s = rng.randrange(side), rng.randrange(side), 40 + rng.randrange(300)
        if i % 3 == 0:
            f.write("PU%d,%d;PD%d,%d;\n" % (x, y, x + s, y + s // 2))
        else:
            f.write("PU%d,%d;PD%d,%d,%d,%d,%d,%d,%d,%d;\n" % (x, y, x + s, y, x + s, y + s, x, y + s, x, y))
    f.write("PU;SP0;")
PY

"$bin/vxsim" --port 0 --speedup 1000000 > "$dir/sim.log" 2>&1 &
sim=$!
port=
for _ in $(seq 100); do
    port=$(sed -n 's/^vxsim: listening on .*:\([0-9]*\)$/\1/p' "$dir/sim.log")
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || { echo "vxsim did not start" >&2; exit 1; }

# The design spans metres, as a big job does; the machine is told its work
# area is that large, or the cut would be refused before anything is sent.
"$bin/vxcut" set WORKAREA_X=20000 WORKAREA_Y=20000 --tcp 127.0.0.1:$port > /dev/null

peak() { # command... -> peak RSS in bytes of that process
    /usr/bin/time -v "$@" > "$dir/out" 2> "$dir/time" || { cat "$dir/out" "$dir/time" >&2; exit 1; }
    echo $(( $(sed -n 's/.*Maximum resident set size (kbytes): //p' "$dir/time") * 1024 ))
}
secs() { sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$dir/time"; }

tiny=$(peak "$bin/vxcut" cut tools/samples/sample.plt --tcp 127.0.0.1:$port --json)
plan=$(peak "$bin/vxcut" plan "$dir/big.plt" --output "$dir/sent.plt" --json); plan_t=$(secs)
# The simulated machine reads the whole job before it answers again; a
# long heartbeat keeps that from looking like a lost machine.
cut=$(peak "$bin/vxcut" cut "$dir/big.plt" --tcp 127.0.0.1:$port --json --heartbeat 60 --timeout 120); cut_t=$(secs)
host=-1; host_t=-
if [ -x "$bin/cut_memory_host" ]; then
    host=$(peak "$bin/cut_memory_host" "$bin/plugins/libVX-KTR450PROCam.so" "$dir/big.plt" 127.0.0.1:$port); host_t=$(secs)
fi
in=$(stat -c %s "$dir/big.plt")
sent=$(stat -c %s "$dir/sent.plt")

awk -v infile="$in" -v sent="$sent" -v tiny="$tiny" -v plan="$plan" -v cut="$cut" -v host="$host" -v pt="$plan_t" -v ct="$cut_t" -v ht="$host_t" 'BEGIN {
    MB = 1048576
    printf "design file %.1f MB, plot text sent %.1f MB\n", infile / MB, sent / MB
    printf "%-28s %9s %11s %20s\n", "", "peak MB", "x sent", "x sent over tiny"
    printf "%-28s %9.1f %11.2f %20s\n", "vxcut cut, sample (tiny)", tiny / MB, tiny / sent, "-"
    printf "%-28s %9.1f %11.2f %20.2f   (%s)\n", "vxcut plan, big", plan / MB, plan / sent, (plan - tiny) / sent, pt
    printf "%-28s %9.1f %11.2f %20.2f   (%s)\n", "vxcut cut, big", cut / MB, cut / sent, (cut - tiny) / sent, ct
    if (host >= 0)
        printf "%-28s %9.1f %11.2f %20.2f   (%s)\n", "host library, plan kept", host / MB, host / sent, (host - tiny) / sent, ht
}'
