#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-2.1-or-later
# Makes the HP-GL designs of this corpus with GNU plotutils (graph, plot,
# pic2plot) and pstoedit, and their references with hp2xx: `hp2xx -t -m hpgl`
# rewrites a plot in true size as absolute PU/PD pairs per SP pen, with
# scaling, arcs, circles and polygon mode worked out by hp2xx itself; the
# few lines of Python below only add up that output (pen-down length per
# tool, SP2 being the second tool, and the box of what is drawn, in mm).
# hp2xx's circles come out longer than the circle (CI400, r = 10 mm: 63.68 mm
# for 2 pi r = 62.83 mm, 1.5 % over); plot-markers, mostly circles, gets a
# 1 % length tolerance for it, the others keep the default 0.5 %.
#   tests/data/corpus/make_hpgl.sh     (needs plotutils, pstoedit, hp2xx)
set -euo pipefail
cd "$(dirname "$0")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export HPGL_PENS="1=black:2=red:3=green"

printf '0 0\n1 1\n2 4\n3 9\n4 16\n\n0 16\n2 8\n4 0\n' > "$work/two.txt"
printf '0 0\n1 2\n2 1\n3 3\n' > "$work/four.txt"
# Frame and labels in pen 1, the two data sets in pens 2 and 3.
HPGL_VERSION=1 graph -T hpgl -C -m 1 "$work/two.txt" > graph-pens.hpgl
# HP-GL/2: every stroke in polygon mode, open ones closed with the pen up.
graph -T hpgl -C -m 1 "$work/two.txt" > graph-hpgl2.hpgl
# Circle markers (CI) through a GNU metafile.
graph -T meta -C -S 4 0.2 -m 2 -g 0 "$work/four.txt" > "$work/markers.meta"
plot -T hpgl "$work/markers.meta" > plot-markers.hpgl
printf '.PS\nbox wid 1 ht 0.5\narc cw rad 0.4\ncircle rad 0.3 at (2,0)\nspline right 1 then up 1 then right 1\nellipse wid 0.8 ht 0.4 at (0.5,-1)\n.PE\n' > "$work/shapes.pic"
pic2plot -T hpgl "$work/shapes.pic" > pic2plot-arcs.hpgl
# Red and blue strokes; -pencolors makes them SP1 and SP2.
cat > "$work/two.ps" <<'PS'
%!PS-Adobe-3.0
%%BoundingBox: 0 0 300 200
1 0 0 setrgbcolor 2 setlinewidth
newpath 20 20 moveto 120 20 lineto 120 90 lineto 20 90 lineto closepath stroke
newpath 200 100 60 0 360 arc closepath stroke
0 0 1 setrgbcolor
newpath 30 150 moveto 80 190 130 110 180 150 curveto stroke
newpath 150 40 30 30 120 arcn stroke
showpage
PS
pstoedit -q -f "hpgl:-pencolors 4" "$work/two.ps" pstoedit-two-colours.hpgl 2>/dev/null

for f in graph-pens graph-hpgl2 plot-markers pic2plot-arcs pstoedit-two-colours; do
    hp2xx -t -q -m hpgl -f "$work/$f.out" "$f.hpgl"
    tolerance=0.005
    [ "$f" = plot-markers ] && tolerance=0.01
    python3 - "$work/$f.out" "$tolerance" > "$f.hpgl.ref" <<'PY'
import json, math, re, sys
pen, pos = 0, (0.0, 0.0)
tools = {1: 0.0, 2: 0.0}
box = [math.inf, math.inf, -math.inf, -math.inf]
for cmd, args in re.findall(r'([A-Z]{2})([^;A-Z]*)', open(sys.argv[1]).read()):
    nums = [float(v) for v in re.findall(r'[-+]?[0-9.]+', args)]
    if cmd == 'SP':
        pen = int(nums[0]) if nums else 0
    elif cmd in ('PU', 'PD'):
        for p in zip(nums[0::2], nums[1::2]):
            if cmd == 'PD' and p != pos:
                tools[2 if pen == 2 else 1] += math.dist(pos, p)
                for x, y in (pos, p):
                    box = [min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y)]
            pos = p
    elif cmd not in ('PA', 'IN'):
        sys.exit('hp2xx wrote %s, which this sum does not know' % cmd)
mm = lambda u: round(u / 40, 4)
ref = {"width": mm(box[2] - box[0]), "height": mm(box[3] - box[1]), "length": mm(tools[1] + tools[2])}
if float(sys.argv[2]) != 0.005:
    ref["length_tolerance"] = float(sys.argv[2])
if tools[2]:
    ref["tools"] = {"1": mm(tools[1]), "2": mm(tools[2])}
print(json.dumps(ref))
PY
done
