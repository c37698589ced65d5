#!/bin/sh
# SPDX-License-Identifier: LGPL-2.1-or-later
# The SVG designs of the corpus and their references. svg_*.svg without a
# program in their name are written by hand (one SVG 1.1 trap each: page
# units, CSS units at 96 px per inch, preserveAspectRatio, nested
# viewports, use/symbol, never-rendered containers, styles). The others are
# made here by real programs (Debian 12: Inkscape 1.2.2, pstoedit 3.78 with
# GNU libplot 4.4, GNU plotutils graph/plot 2.6).
#
# References (NAME.ref): svgelements 1.7.2 (SVG.parse at 96 ppi), the box
# and Path.length() of every shape that draws (a stroke, or a fill that is
# neither transparent nor a white page background), in mm. svgelements
# misplaces nested viewports (x/y scaled twice), ignores the size a <use>
# gives a <symbol>, draws unused symbols and marker contents and bends
# skewX/skewY wrongly (a skewY ellipse grows wider), so for the
# files in INKSCAPE_BOX the box is Inkscape's (--query-all on a copy with
# zero stroke widths, so its visual box is the geometric one) and the
# length is given only where the two programs agree on the box. (Inkscape
# in turn sizes a <use> of an <svg> by the svg's viewBox, so svg_use_svg
# keeps svgelements' box: the use's width and height win.)
set -e
cd "$(dirname "$0")"
PY=/usr/bin/python3            # Debian's, where python3-svgelements lives
export HOME="${TMPDIR:-/tmp}/svgcorpus-home"   # a clean Inkscape profile
mkdir -p "$HOME"
ink() { inkscape "$@" 2>/dev/null; }

# Inkscape 1.2: shapes to paths and clones unlinked (plain SVG), text to
# paths, and an Inkscape SVG with layers.
for f in shapes transforms paths symbol_use par_align; do
    ink --actions="select-all:all;clone-unlink-recursively;object-to-path;export-plain-svg;export-filename:svg_inkscape_$f.svg;export-do" svg_$f.svg
done
ink --export-text-to-path --export-plain-svg -o svg_inkscape_text.svg svg_text.src.svg
ink --export-type=svg -o svg_inkscape_layers.svg svg_layers.src.svg

# pstoedit through GNU libplot, and GNU graph/plot (libplot's own SVG:
# viewBox 0 0 1 1 stretched over an 8 in page, a white background rect).
pstoedit -q -f plot-svg ../plot/shapes.ps svg_pstoedit_shapes.svg
pstoedit -q -f plot-svg ../plot/letters.ps svg_pstoedit_letters.svg
printf '0 0\n1 2\n2 1\n3 3\n4 0.5\n' > /tmp/svgcorpus.dat
graph -T svg -g 0 -S 4 0.05 /tmp/svgcorpus.dat > svg_graph.svg
graph -T meta -g 0 --page-size a4 /tmp/svgcorpus.dat | plot -T svg --page-size a4 > svg_plot.svg
gzip -9 -n -c svg_nested_svg.svg > svg_nested_svg.svgz

INKSCAPE_BOX="svg_par_align svg_inkscape_par_align svg_nested_svg svg_symbol_use svg_inkscape_symbol_use
    svg_unused_defs svg_transforms svg_inkscape_transforms"
$PY - $INKSCAPE_BOX <<'PYEOF'
import glob, json, os, re, subprocess, sys, tempfile
import xml.etree.ElementTree as ET
from svgelements import SVG, Shape, Path, Color
MM = 25.4 / 96
inkscape_box = set(sys.argv[1:])

def draws(e):
    if e.values.get('visibility') == 'hidden' or e.values.get('display') == 'none':
        return False
    stroke = e.stroke is not None and e.stroke.value is not None and (e.stroke_width or 0) > 0 and e.stroke.opacity != 0
    fill = e.fill is not None and e.fill.value is not None and e.fill.opacity != 0
    return stroke or (fill and e.fill != Color('white'))

def svgelements_ref(fn):
    box = [float('inf'), float('inf'), -float('inf'), -float('inf')]
    length = 0
    for e in SVG.parse(fn, ppi=96).elements():
        if not isinstance(e, Shape) or not draws(e):
            continue
        p = abs(Path(e))  # transforms applied: length() alone ignores them
        bb = p.bbox() if len(p) else None
        if bb is None:
            continue
        box = [min(box[0], bb[0]), min(box[1], bb[1]), max(box[2], bb[2]), max(box[3], bb[3])]
        length += p.length(error=1e-9)
    return (box[2] - box[0]) * MM, (box[3] - box[1]) * MM, length * MM

def inkscape_ref(fn):
    # The union of the boxes Inkscape gives the shapes and <use> instances
    # that render (its box for the root is not the drawing's).
    for prefix, uri in (('', 'http://www.w3.org/2000/svg'), ('xlink', 'http://www.w3.org/1999/xlink'),
                        ('inkscape', 'http://www.inkscape.org/namespaces/inkscape')):
        ET.register_namespace(prefix, uri)
    tree = ET.parse(fn)
    hidden = {'defs', 'symbol', 'clipPath', 'mask', 'marker', 'pattern'}
    shapes = {'path', 'rect', 'circle', 'ellipse', 'line', 'polyline', 'polygon', 'use'}
    wanted = set()
    def walk(el, n=[0]):
        tag = el.tag.split('}')[-1]
        if tag in hidden:
            return
        el.set('style', (el.get('style', '') + ';stroke-width:0').lstrip(';'))
        if tag in shapes:
            n[0] += 1
            el.set('id', el.get('id') or 'q%d' % n[0])
            wanted.add(el.get('id'))
        for child in el:
            walk(child)
    walk(tree.getroot())
    with tempfile.NamedTemporaryFile(suffix='.svg', delete=False) as t:
        tree.write(t)
    out = subprocess.run(['inkscape', '--query-all', t.name], capture_output=True, text=True).stdout
    os.unlink(t.name)
    box = [float('inf'), float('inf'), -float('inf'), -float('inf')]
    for line in out.splitlines():
        id, x, y, w, h = line.split(',')
        if id in wanted:
            x, y, w, h = map(float, (x, y, w, h))
            box = [min(box[0], x), min(box[1], y), max(box[2], x + w), max(box[3], y + h)]
    return (box[2] - box[0]) * MM, (box[3] - box[1]) * MM

for fn in sorted(glob.glob('svg_*.svg')):
    if fn.endswith('.src.svg') or fn == 'svg_use_cycle.svg':
        continue
    w, h, length = svgelements_ref(fn)
    ref = {"width": round(w, 4), "height": round(h, 4), "length": round(length, 4)}
    name = fn[:-4]
    if name in inkscape_box:
        iw, ih = inkscape_ref(fn)
        if abs(iw - w) > 0.05 or abs(ih - h) > 0.05:
            ref = {"width": round(iw, 4), "height": round(ih, 4)}
            print(fn, 'svgelements box', round(w, 4), round(h, 4), 'differs; Inkscape', ref, file=sys.stderr)
    targets = [fn] + ([fn[:-4] + '.svgz'] if os.path.exists(fn[:-4] + '.svgz') else [])
    for target in targets:
        with open(target + '.ref', 'w') as out:
            json.dump(ref, out, indent=1, sort_keys=True)
            out.write('\n')
    print(fn, ref)
with open('svg_use_cycle.svg.ref', 'w') as out:
    out.write('{\n "error": "refers to itself through #a"\n}\n')
PYEOF
