# SPDX-License-Identifier: LGPL-2.1-or-later
# Writes the DXF designs of the corpus with ezdxf 0.18 and, beside each,
# NAME.dxf.ref with what ezdxf itself measures for the file as written:
# the box from ezdxf.bbox.extents and the length from ezdxf's flattening
# of every cut entity (inserts decomposed), both in millimetres by
# $INSUNITS. Paper space and entities on frozen or switched-off layers are
# not cut, so they are left out of the measure.
#   sh make_dxf.sh   (pstoedit first, then this script)
import json
import math
import re

import ezdxf
from ezdxf import bbox, disassemble, units
from ezdxf.math import Vec3


def new(insunits=4):
    doc = ezdxf.new("R2010")
    doc.header["$INSUNITS"] = insunits
    return doc, doc.modelspace()


def lean(text):
    # ezdxf writes 15 KB of CLASSES and OBJECTS no reader here needs;
    # dropping them keeps the corpus small (ezdxf measures the lean file).
    return re.sub(r"  0\nSECTION\n  2\n(CLASSES|OBJECTS)\n.*?  0\nENDSEC\n", "", text, flags=re.S)


def measure(doc):
    msp = doc.modelspace()

    def cut(e):
        layer = doc.layers.get(e.dxf.layer) if doc.layers.has_entry(e.dxf.layer) else None
        return layer is None or not (layer.is_frozen() or layer.is_off())

    prims = [e for e in disassemble.recursive_decompose(msp) if cut(e)]
    mm = units.conversion_factor(doc.units or units.MM, units.MM)
    box = bbox.extents(prims)
    length = 0.0
    paths = 0
    for p in disassemble.to_primitives(prims):
        if p.path is None:
            continue
        pts = list(p.path.flattening(0.001))
        length += sum(a.distance(b) for a, b in zip(pts, pts[1:]))
        paths += 1
    # Chords of a 0.05 mm tolerance run inside a curve on both sides of
    # the box, so a box is good to twice that.
    return {"width": round(box.size.x * mm, 4), "height": round(box.size.y * mm, 4),
            "length": round(length * mm, 4), "tolerance": 0.1}


def save(doc, name, extra=None):
    text = lean(_text(doc))
    with open(name + ".dxf", "w", newline="\n") as f:
        f.write(text)
    ref = measure(ezdxf.readfile(name + ".dxf"))
    ref.update(extra or {})
    with open(name + ".dxf.ref", "w") as f:
        json.dump(ref, f, indent=1, sort_keys=True)
        f.write("\n")


def _text(doc):
    import io
    stream = io.StringIO()
    doc.write(stream)
    return stream.getvalue()


def layers(doc):
    doc.layers.add("CUT", color=1)
    doc.layers.add("CREASE", color=5)
    doc.layers.add("HIDDEN", color=3).freeze()
    doc.layers.add("OFF", color=4).off()


doc, msp = new()
msp.add_line((0, 0), (80, 0))
msp.add_line((80, 0), (40, 50))
msp.add_line((40, 50), (0, 0))
msp.add_line((0, 60), (80, 65))
save(doc, "dxf_lines")

doc, msp = new()
msp.add_lwpolyline([(0, 0, 0.5), (40, 0, 0), (40, 20, -1), (20, 20, 0), (0, 20, 0)], format="xyb", close=True)
msp.add_lwpolyline([(50, 0, 0.2), (70, 10, -0.4), (90, 0)], format="xyb")
save(doc, "dxf_bulges")

doc, msp = new()
msp.add_circle((20, 20), 15)
msp.add_arc((60, 20), 12, 300, 60)   # crosses 0 degrees
msp.add_arc((60, 20), 8, 90, 270)
save(doc, "dxf_circles_arcs")

# A whole ellipse is written from 0 to 2 pi; libdime holds both as floats.
doc, msp = new()
msp.add_ellipse((30, 20), major_axis=(25, 10), ratio=0.4)
save(doc, "dxf_ellipse_full")

doc, msp = new()
msp.add_ellipse((0, 0), major_axis=(30, 0), ratio=0.5)
msp.add_line((-40, -20), (40, -20))
save(doc, "dxf_ellipse_line")

doc, msp = new()
msp.add_ellipse((0, 0), major_axis=(30, 0), ratio=0.5, start_param=0.5, end_param=4.0)
msp.add_ellipse((70, 0), major_axis=(0, 20), ratio=0.6, start_param=5.5, end_param=1.0)
save(doc, "dxf_ellipse_partial")

doc, msp = new()
msp.add_open_spline([(0, 0), (10, 30), (40, 30), (50, 0), (80, 10)], degree=3)
msp.add_rational_spline([(0, 40), (20, 70), (60, 70), (80, 40)], weights=[1, 3, 0.5, 1], degree=2)
save(doc, "dxf_spline_control")

doc, msp = new()
msp.add_spline([(0, 0), (20, 25), (45, 10), (60, 30), (80, 0)])
save(doc, "dxf_spline_fit")

doc, msp = new()
s = msp.add_spline([(0, 0), (30, 20), (60, 0), (90, 15)])
s.dxf.start_tangent = Vec3(0, 1, 0)
s.dxf.end_tangent = Vec3(1, -1, 0)
save(doc, "dxf_spline_fit_tangents")

# Extrusion (0,0,-1): the object's x axis points to -x (arbitrary axis
# rule), so OCS coordinates and counter-clockwise angles come out mirrored.
# A line in world coordinates beside each pins the mirror in the box.
flip = {"extrusion": (0, 0, -1)}


def anchored():
    doc, msp = new()
    msp.add_line((0, -5), (5, -5))
    return doc, msp


doc, msp = anchored()
msp.add_arc((30, 10), 10, 0, 120, dxfattribs=flip)
msp.add_circle((60, 10), 5, dxfattribs=flip)
save(doc, "dxf_extrusion_arc")

doc, msp = anchored()
msp.add_lwpolyline([(10, 0, 0), (40, 0, 1), (40, 20, 0), (10, 30, 0)], format="xyb", dxfattribs=flip)
save(doc, "dxf_extrusion_lwpolyline")

doc, msp = anchored()
msp.add_ellipse((20, 5), major_axis=(15, 5), ratio=0.5, start_param=0.3, end_param=2.5, dxfattribs=flip)
save(doc, "dxf_extrusion_ellipse")


def part(doc, name):
    b = doc.blocks.new(name)
    b.add_lwpolyline([(0, 0), (10, 0), (10, 5)])
    b.add_circle((4, 2), 2)
    b.add_arc((0, 5), 3, 0, 90)
    return b


doc, msp = new()
part(doc, "PART")
msp.add_blockref("PART", (0, 0), dxfattribs={"rotation": 30})
msp.add_blockref("PART", (30, 0), dxfattribs={"xscale": -1, "rotation": 15})
msp.add_blockref("PART", (40, 0), dxfattribs={"xscale": 2, "yscale": 0.5, "rotation": 60})
save(doc, "dxf_insert_transforms")

doc, msp = new()
part(doc, "LEAF")
b = doc.blocks.new("BRANCH")
b.add_blockref("LEAF", (5, 5), dxfattribs={"rotation": 45, "xscale": 1.5, "yscale": 0.75})
b.add_line((0, 0), (20, 0))
# ezdxf decomposes an insert inside a non-uniformly scaled one as another
# insert, which cannot hold the shear a rotated child then takes on; so the
# outer insert mirrors and turns but scales evenly, and ezdxf stays exact.
msp.add_blockref("BRANCH", (10, 10), dxfattribs={"rotation": -20, "xscale": -1.5, "yscale": 1.5})
save(doc, "dxf_insert_nested")

doc, msp = new()
part(doc, "CELL")
msp.add_blockref("CELL", (0, 0), dxfattribs={"rotation": 30}).grid(size=(2, 3), spacing=(8, 14))
save(doc, "dxf_minsert_rotated")

doc, msp = new()
msp.add_lwpolyline([(0, 0), (50, 0), (50, 30), (0, 30)], close=True)
doc.layout("Layout1").add_circle((200, 200), 50)
doc.layout("Layout1").add_line((0, 0), (300, 0))
save(doc, "dxf_paperspace")

doc, msp = new()
layers(doc)
msp.add_line((0, 0), (50, 0), dxfattribs={"layer": "CUT"})
msp.add_line((0, 10), (50, 10), dxfattribs={"layer": "CREASE", "true_color": 0x20a0ff})
msp.add_circle((100, 100), 20, dxfattribs={"layer": "HIDDEN"})
msp.add_circle((-100, 100), 20, dxfattribs={"layer": "HIDDEN"})
msp.add_circle((100, -100), 20, dxfattribs={"layer": "OFF"})
b = doc.blocks.new("MARK")
b.add_circle((0, 0), 3)                                # layer 0: takes the insert's
b.add_line((-3, 0), (3, 0), dxfattribs={"layer": "CREASE", "color": 2})
msp.add_blockref("MARK", (25, 25), dxfattribs={"layer": "CUT"})
save(doc, "dxf_layers")

doc, msp = new(insunits=1)
msp.add_lwpolyline([(0, 0), (4, 0), (4, 2), (0, 2)], close=True)
msp.add_circle((2, 1), 0.5)
save(doc, "dxf_units_inch")

doc, msp = new(insunits=5)
msp.add_arc((0, 0), 3, 10, 200)
msp.add_line((-3, -1), (3, -1))
save(doc, "dxf_units_cm")

doc, msp = new()
b = doc.blocks.new("LOOP")
b.add_line((0, 0), (10, 0))
b.add_blockref("LOOP", (1, 1))
msp.add_blockref("LOOP", (0, 0))
save_loop = _text(doc)
with open("dxf_insert_loop.dxf", "w", newline="\n") as f:
    f.write(lean(save_loop))
with open("dxf_insert_loop.dxf.ref", "w") as f:
    json.dump({"error": "block LOOP inserts itself"}, f, indent=1)
    f.write("\n")

# Written by another program (make_dxf.sh): measured only.
for name in ["dxf_pstoedit"]:
    ref = measure(ezdxf.readfile(name + ".dxf"))
    with open(name + ".dxf.ref", "w") as f:
        json.dump(ref, f, indent=1, sort_keys=True)
        f.write("\n")
