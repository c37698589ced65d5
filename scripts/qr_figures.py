#!/usr/bin/env python3
# SPDX-License-Identifier: LGPL-2.1-or-later
# A QR-code production of many sheets against vxsim at high simulated speed:
# wall time per sheet on the host and vxcut's resident memory at the first,
# tenth and last sheet. Designs from tests/data/plot, one code in ten
# unknown (answered with a plot holding no stroke).
#   scripts/qr_figures.py [BUILD_BIN] [SHEETS]   (defaults: build/bin, 1000)
import json, os, re, subprocess, sys, tempfile, time

src = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
bindir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(src, 'build', 'bin')
count = int(sys.argv[2]) if len(sys.argv) > 2 else 1000

def rss_kib(pid):
    with open('/proc/%d/status' % pid) as f:
        for line in f:
            if line.startswith('VmRSS:'):
                return int(line.split()[1])
    return -1

with tempfile.TemporaryDirectory() as tmp:
    designs = os.path.join(tmp, 'designs')
    os.mkdir(designs)
    data = os.path.join(src, 'tests', 'data', 'plot')
    for code, name in (('A', 'shapes.plotutils.svg'), ('B', 'shapes.ezdxf.dxf'), ('C', 'shapes.pstoedit.hpgl')):
        ext = {'svg': 'svg', 'dxf': 'dxf', 'hpgl': 'plt'}[name.rsplit('.', 1)[1]]
        with open(os.path.join(data, name), 'rb') as i, open(os.path.join(designs, code + '.' + ext), 'wb') as o:
            o.write(i.read())
    codes = ['A', 'B', 'C', 'A', 'B', 'A', 'C', 'B', 'A', 'NONE']
    stack = os.path.join(tmp, 'stack.txt')
    with open(stack, 'w') as f:
        f.write('\n'.join(codes[i % len(codes)] for i in range(count)) + '\n')
    sim = subprocess.Popen([os.path.join(bindir, 'vxsim'), '--port', '0', '--sheets-file', stack,
                            '--speedup', '1e6'], stdout=subprocess.PIPE, text=True)
    port = re.search(r':(\d+)', sim.stdout.readline()).group(1)
    # The simulator prints a line per sheet: drained, so it never blocks on a full pipe.
    import threading
    threading.Thread(target=lambda: [None for _ in sim.stdout], daemon=True).start()
    cmd = [os.path.join(bindir, 'vxcut'), 'qr', designs, '--tcp', '127.0.0.1:' + port, '--json']
    env = dict(os.environ, VX_JOURNAL=os.path.join(tmp, 'jobs.jsonl'))
    start = time.time()
    cut = subprocess.Popen(cmd, stdout=subprocess.PIPE, env=env, text=True)
    seen, marks, first_at, result = 0, {}, None, None
    for line in cut.stdout:
        event = json.loads(line)
        if event.get('event') == 'sheet':
            seen += 1
            if seen == 1:
                first_at = time.time()
            if seen in (1, 10) or seen == count:
                marks[seen] = rss_kib(cut.pid)
        elif event.get('event') == 'result':
            result = event
    cut.wait()
    end = time.time()
    sim.terminate()
    sim.wait()
    print('command: vxcut qr DESIGNS --tcp 127.0.0.1:PORT --json  (vxsim --sheets-file STACK --speedup 1e6)')
    print('sheets %d, exit %d, finished %s, skipped %s, failed %s' % (
        seen, cut.returncode, result.get('finished'), result.get('skipped'), result.get('failed')))
    print('wall %.2f s in all; %.2f ms per sheet from the first sheet on' % (
        end - start, (end - first_at) * 1000 / max(1, seen - 1)))
    print('vxcut RSS: ' + ', '.join('sheet %d %d KiB' % (k, v) for k, v in sorted(marks.items())))
