# DXF samples written by ezdxf: the rectangle and circle, and one file with
# every entity kind the reader takes (bulges, arcs, ellipse, spline, blocks).
import math
import ezdxf

doc = ezdxf.new("R2010")
doc.header["$INSUNITS"] = 4  # millimetres
msp = doc.modelspace()
msp.add_lwpolyline([(0, 0), (100, 0), (100, 60), (0, 60)], close=True)
msp.add_circle((60, 30), 10)
doc.saveas("shapes.ezdxf.dxf")

doc = ezdxf.new("R2010")
doc.header["$INSUNITS"] = 5  # centimetres
msp = doc.modelspace()
# A 4 x 2 cm slot: straight sides, half-circle ends as bulges.
msp.add_lwpolyline([(0, 0, 0, 0, 0), (3, 0, 0, 0, 1), (3, 2, 0, 0, 0), (0, 2, 0, 0, 1)],
                   format="xyseb", close=True)
msp.add_line((0, 3), (4, 3))
msp.add_arc((2, 3), 1, 0, 180)
msp.add_ellipse((6, 1), major_axis=(1, 0), ratio=0.5)
msp.add_open_spline([(0, 5), (1, 6), (2, 5), (3, 6)])
block = doc.blocks.new("HOLE")
block.add_circle((0, 0), 0.25)
msp.add_blockref("HOLE", (6, 4))
msp.add_blockref("HOLE", (7, 4), dxfattribs={"xscale": 2, "yscale": 2, "rotation": 90})
doc.saveas("kinds.ezdxf.dxf")
