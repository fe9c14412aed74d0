"""ezdxf as the outside reader of the host polylines that the conversions make.

out PATH: reads PATH, audits it and prints the audit's error and fix counts, then for each LWPOLYLINE and
POLYLINE of model space a row "kind closed count colour" (kind 1 lightweight, 2 2-D, 3 3-D) followed by one
row per vertex: its world point, bulge, start and end width.
"""
import sys

import ezdxf
from ezdxf.math import OCS


def polyline_rows(entity):
    if entity.dxftype() == "LWPOLYLINE":
        ocs = OCS(entity.dxf.extrusion)
        points = entity.get_points("xyseb")
        world = list(ocs.points_to_wcs((x, y, entity.dxf.elevation) for x, y, *_ in points))
        return 1, [(w, p[4], p[2], p[3]) for w, p in zip(world, points)]
    vertices = list(entity.vertices)
    if entity.is_3d_polyline:
        return 3, [(v.dxf.location, 0, 0, 0) for v in vertices]
    ocs = OCS(entity.dxf.extrusion)
    elevation = entity.dxf.elevation.z
    world = ocs.points_to_wcs((v.dxf.location.x, v.dxf.location.y, elevation) for v in vertices)
    return 2, [(w, v.dxf.bulge, v.dxf.start_width, v.dxf.end_width) for w, v in zip(world, vertices)]


def out(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print(len(auditor.errors), len(auditor.fixes))
    for entity in doc.modelspace().query("LWPOLYLINE POLYLINE"):
        kind, rows = polyline_rows(entity)
        closed = entity.closed if entity.dxftype() == "LWPOLYLINE" else entity.is_closed
        print(kind, int(closed), len(rows), entity.dxf.color)
        for w, bulge, start, end in rows:
            print(repr(w.x), repr(w.y), repr(w.z), repr(bulge), repr(start), repr(end))


if __name__ == "__main__":
    {"out": out}[sys.argv[1]](sys.argv[2])
