"""ezdxf as the outside reader and writer of the host's DXF drawings.

check PATH: reads PATH, audits it and prints rows of numbers: the audit's error and fix counts; the count
of each entity kind in model space (KINDS order); then values read from the entities.
write PATH: writes a drawing of the same entity kinds with known values to PATH (DXF R2000).
"""
import math
import sys

import ezdxf

KINDS = ["LINE", "ARC", "CIRCLE", "POINT", "LWPOLYLINE", "POLYLINE", "RAY", "3DFACE", "ELLIPSE", "SPLINE",
         "HATCH", "TEXT", "INSERT"]


def check(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print(len(auditor.errors), len(auditor.fixes))
    msp = doc.modelspace()
    print(*[len(msp.query(kind)) for kind in KINDS])
    lw = msp.query("LWPOLYLINE")[0]
    points = lw.get_points("xyseb")
    arc = msp.query("ARC")[0]
    line = msp.query("LINE")[0]
    xdata = line.get_xdata("ZORTA")
    text = msp.query("TEXT")[0]
    insert = msp.query("INSERT")[0]
    hatch = msp.query("HATCH")[0]
    zorta = doc.rootdict["ZORTA_32"]
    colours = zorta["ZORTATefColor"]
    print(points[0][4], points[2][3], lw.dxf.elevation, int(lw.closed), arc.dxf.start_angle, arc.dxf.end_angle,
          xdata[1].value, len(text.dxf.text), int(text.dxf.text == "Borne n°12"), insert.dxf.xscale,
          len(hatch.paths), len(list(colours.tags)), int(doc.layers.get("Talus").dxf.linetype == "TIRETS"))


def write(path):
    doc = ezdxf.new("R2000")
    doc.appids.new("ZORTA")
    doc.linetypes.add("TIRETS", pattern=[0.75, 0.5, -0.25], description="Tirets")
    doc.layers.add("Talus", color=1, linetype="TIRETS")
    block = doc.blocks.new("ARBRE", base_point=(0.5, 0.5))
    block.add_circle((0.5, 0.5), 0.5)
    msp = doc.modelspace()
    line = msp.add_line((1, 2, 3), (4, 5, 6), dxfattribs={"layer": "Talus", "color": 3})
    line.set_xdata("ZORTA", [(1000, "*I=ARBRE,d=10"), (1070, 7)])
    msp.add_arc((10, 0, 0), 2, 30, 120)
    msp.add_circle((20, 0, 0), 1.5)
    msp.add_point((1, 1, 7.25))
    msp.add_lwpolyline([(0, 0, 0.1, 0.2, 0.5), (5, 0, 0, 0, 0), (5, 5, 0, 0, 0)], format="xyseb", close=True)
    msp.add_polyline2d([(0, 10), (5, 12), (10, 10)])
    msp.add_polyline3d([(0, 20, 1), (5, 22, 2), (10, 20, 3)])
    msp.add_ray((0, -5, 0), (1, 0, 0))
    msp.add_3dface([(30, 0, 0), (31, 0, 0), (31, 1, 1), (30, 1, 1)])
    msp.add_ellipse((40, 0, 0), major_axis=(3, 0, 0), ratio=0.5)
    msp.add_spline([(50, 0, 0), (52, 3, 0), (55, 1, 0), (57, 4, 0)])
    hatch = msp.add_hatch(color=2)
    hatch.paths.add_polyline_path([(0, 30), (10, 30), (10, 40), (0, 40)], is_closed=True)
    edges = hatch.paths.add_edge_path()
    edges.add_line((20, 30), (30, 30))
    edges.add_arc((25, 30), 5, 0, 180)
    wave = hatch.paths.add_edge_path()
    wave.add_spline(control_points=[(40, 30), (44, 36), (48, 30)], knot_values=[0, 0, 0, 1, 1, 1], degree=2)
    wave.add_line((48, 30), (40, 30))
    msp.add_text("Côte 12,5", dxfattribs={"insert": (0, 50), "height": 2.0, "rotation": 15})
    msp.add_blockref("ARBRE", (20, 50), dxfattribs={"xscale": 2, "yscale": 2, "rotation": 30})
    dictionary = doc.rootdict.add_new_dict("ZORTA_32")
    record = dictionary.add_xrecord("ZORTATefColor")
    record.reset([(1, "1,2,3,"), (2, "4,5,")])
    doc.saveas(path)
    print(0)


if __name__ == "__main__":
    {"check": check, "write": write}[sys.argv[1]](sys.argv[2])
