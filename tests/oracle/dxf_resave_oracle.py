"""ezdxf as another DXF program that re-saves the host's drawings, and as the judge of what the host saves.

resave IN OUT: reads IN and saves it as OUT, as a user of another program would.
entities PATH: audits PATH and prints its error count, then one row per entity of model space: the kind
(index in KINDS, -1 for a kind ezdxf keeps as it found it), the handle, and the kind's key geometry (for
a kind ezdxf does not know, the points of its group 10).
"""
import sys

import ezdxf

KINDS = ["LINE", "ARC", "CIRCLE", "POINT", "LWPOLYLINE", "POLYLINE", "RAY", "3DFACE", "ELLIPSE", "SPLINE",
         "HATCH", "TEXT", "INSERT"]


def point(p):
    return [p[0], p[1], p[2] if len(p) > 2 else 0.0]


def geometry(e):
    kind = e.dxftype()
    d = e.dxf
    if kind == "LINE":
        return point(d.start) + point(d.end)
    if kind in ("ARC", "CIRCLE"):
        angles = [d.start_angle % 360, d.end_angle % 360] if kind == "ARC" else []
        return point(d.center) + [d.radius] + angles
    if kind == "POINT":
        return point(d.location)
    if kind == "LWPOLYLINE":
        points = e.get_points("xyb")
        return [len(points), int(e.closed), d.elevation] + [v for p in points for v in p]
    if kind == "POLYLINE":
        return [len(e.vertices), int(e.is_closed)] + [v for x in e.vertices for v in point(x.dxf.location)]
    if kind == "RAY":
        return point(d.start) + point(d.unit_vector)
    if kind == "3DFACE":
        return [v for p in e.wcs_vertices() for v in point(p)]
    if kind == "ELLIPSE":
        return point(d.center) + point(d.major_axis) + [d.ratio]
    if kind == "SPLINE":
        # Fit points may come back with the control points computed from them: the fit points and the
        # curve's ends count.
        curve = list(e.construction_tool().control_points)
        ends = point(curve[0]) + point(curve[-1]) if curve else []
        return [d.degree, len(e.fit_points)] + [v for p in e.fit_points for v in point(p)] + ends
    if kind == "HATCH":
        return [len(e.paths), int(e.dxf.solid_fill)]
    if kind == "TEXT":
        return point(d.insert) + [d.height, d.rotation, len(d.text)]
    if kind == "INSERT":
        return point(d.insert) + [d.xscale, d.yscale, d.rotation]
    # A kind ezdxf does not know (the plug-in's polylines): the points it holds, as filed.
    points = [t.value for tags in e.xtags.subclasses for t in tags if t.code == 10]
    return [len(points)] + [v for p in points for v in point(p)]


def entities(path):
    doc = ezdxf.readfile(path)
    print(len(doc.audit().errors))
    for e in doc.modelspace():
        kind = e.dxftype()
        print(KINDS.index(kind) if kind in KINDS else -1, int(e.dxf.handle, 16), *geometry(e))


def resave(source, target):
    ezdxf.readfile(source).saveas(target)
    print(0)


if __name__ == "__main__":
    if sys.argv[1] == "resave":
        resave(sys.argv[2], sys.argv[3])
    else:
        entities(sys.argv[2])
