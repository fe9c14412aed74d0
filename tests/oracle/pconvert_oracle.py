"""ezdxf as the outside judge of a round trip of host polylines through the polyline (ZOR_PCONVERT A, then P).

write PATH: writes the sources (DXF R2000): lightweight polylines with widths of their own at every vertex
(one closed counter-clockwise, one closed clockwise), one of constant width, one tilted in its own plane
system with arcs and tapering widths, and a closed 3-D polyline. Every end width is the next start width,
which is all the polyline's one width per vertex holds.
check SOURCE OUT: prints the audit's error and fix counts of OUT and its number of polylines, then a row per
source "kind closed worst-point worst-bulge worst-width" for the polyline of OUT that holds its first segment
(kind 1 lightweight, 3 3-D). A segment is compared with the one of that polyline nearest to it, whichever
way it runs: a reversed segment has the opposite bulge and its widths swapped.
"""
import sys

import ezdxf
from ezdxf.math import OCS, Vec3


def write(path):
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0, 0.1, 0.2, 0.5), (5, 0, 0.2, 0.3, -0.4), (5, 5, 0.3, 0.4, 0), (1, 6, 0.4, 0.1, 0)],
                       format="xyseb", close=True)
    msp.add_lwpolyline([(20, 0, 0.6, 0.7, 0), (20, 5, 0.7, 0.8, 0.3), (25, 5, 0.8, 0.6, 0)], format="xyseb",
                       close=True)
    msp.add_lwpolyline([(0, 10), (5, 10), (5, 15)], dxfattribs={"const_width": 0.5})
    msp.add_lwpolyline([(0, 20, 0.5, 1.0, 0.25), (8, 20, 1.0, 0.25, -0.6), (8, 26, 0.25, 0.25, 0)],
                       format="xyseb", dxfattribs={"elevation": 3.5, "extrusion": (0.3, -0.2, 0.9)})
    msp.add_polyline3d([(0, 40, 1), (5, 42, 2.5), (10, 40, 3), (6, 35, 0.5)], close=True)
    doc.saveas(path)
    print(0)


def segments(entity):
    """(start, end, bulge, start width, end width) of each segment, in world coordinates."""
    if entity.dxftype() == "LWPOLYLINE":
        ocs = OCS(entity.dxf.extrusion)
        points = entity.get_points("xyseb")
        world = [Vec3(p) for p in ocs.points_to_wcs((x, y, entity.dxf.elevation) for x, y, *_ in points)]
        # The constant width holds where no vertex has widths of its own.
        own = any(p[2] or p[3] for p in points)
        constant = 0 if own else entity.dxf.get("const_width", 0)
        ends = [(w, p[2] or constant, p[3] or constant, p[4]) for w, p in zip(world, points)]
        closed = entity.closed
    else:
        ends = [(v.dxf.location, 0, 0, 0) for v in entity.vertices]
        closed = entity.is_closed
    pairs = list(zip(ends, ends[1:] + (ends[:1] if closed else [])))
    return [(a, b, bulge, start, end) for (a, start, end, bulge), (b, *_) in pairs]


def difference(segment, other):
    """Point, bulge and width differences of two segments, the second taken the way the first runs."""
    a, b, bulge, start, end = segment
    c, d, other_bulge, other_start, other_end = other
    forward = (a - c).magnitude + (b - d).magnitude
    backward = (a - d).magnitude + (b - c).magnitude
    if backward < forward:
        c, d, other_bulge, other_start, other_end = d, c, -other_bulge, other_end, other_start
    return (max((a - c).magnitude, (b - d).magnitude), abs(bulge - other_bulge),
            max(abs(start - other_start), abs(end - other_end)))


def check(source_path, out_path):
    doc = ezdxf.readfile(out_path)
    auditor = doc.audit()
    made = list(doc.modelspace().query("LWPOLYLINE POLYLINE"))
    print(len(auditor.errors), len(auditor.fixes), len(made))
    for source in ezdxf.readfile(source_path).modelspace():
        wanted = segments(source)
        target = min(made, key=lambda e: min(difference(wanted[0], s)[0] for s in segments(e)))
        theirs = segments(target)
        worst = [max(values) for values in zip(*(min((difference(s, t) for t in theirs), key=lambda d: d[0])
                                                 for s in wanted))]
        kind = 1 if target.dxftype() == "LWPOLYLINE" else 3
        closed = target.closed if kind == 1 else target.is_closed
        print(kind, int(closed), *map(repr, worst))


if __name__ == "__main__":
    {"write": write, "check": check}[sys.argv[1]](*sys.argv[2:])
