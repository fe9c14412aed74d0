"""ezdxf as the outside reader of the host polylines that the conversions make.

write PATH: writes a drawing of every source kind that the polyline is made from (DXF R2000), in the
order "in" reads them back.
in PATH POLYLINES: samples each source of PATH exactly (its own flattening and virtual entities) and prints,
per source, the largest distance of a sample from the polyline made from it; POLYLINES holds per source a
line "normal-x normal-y normal-z count closed" and then one line per vertex "x y z bulge" (world points).
out PATH: reads PATH, audits it and prints the audit's error and fix counts, then for each LWPOLYLINE and
POLYLINE of model space a row "kind closed count colour" (kind 1 lightweight, 2 2-D, 3 3-D) followed by one
row per vertex: its world point, bulge, start and end width.
"""
import math
import sys

import ezdxf
from ezdxf.math import OCS, Vec3

SAGITTA = 1e-4


def write(path):
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0, 0.1, 0.2, 0.5), (5, 0, 0.3, 0.3, -1.2), (5, 5, 0, 0, 0), (1, 6, 0, 0, 0)],
                       format="xyseb", close=True, dxfattribs={"elevation": 2.5, "extrusion": (0.3, -0.2, 0.9)})
    fitted = msp.add_polyline2d([(0, 10), (5, 12), (10, 10), (14, 13)], dxfattribs={"elevation": (0, 0, 1.5)})
    fitted.vertices[1].dxf.flags = 1  # a vertex made by curve fitting
    fitted.vertices[0].dxf.bulge = 0.35
    msp.add_polyline3d([(0, 20, 1), (5, 22, 2), (10, 20, 3)], close=True)
    msp.add_line((1, 2, 3), (4, 5, 6))
    msp.add_arc((10, 0, 1), 2, 30, 300, dxfattribs={"extrusion": (0, 0.6, 0.8)})
    msp.add_arc((-5, 0, 2), 3, 10, 100, dxfattribs={"extrusion": (0, 0, -1)})
    msp.add_circle((20, 0, 4), 1.5)
    msp.add_circle((30, 5, 0), 2.5, dxfattribs={"extrusion": (0.6, 0, 0.8)})
    msp.add_3dface([(30, 0, 0), (31, 0, 0), (31, 1, 1), (30, 1, 1)])
    msp.add_ellipse((40, 0, 0), major_axis=(3, 0, 0), ratio=0.5)
    msp.add_ellipse((50, 0, 2), major_axis=(0, 4, 0), ratio=0.8, start_param=0.5, end_param=4,
                    dxfattribs={"extrusion": (0.6, 0, 0.8)})
    doc.saveas(path)
    print(0)


def samples(entity):
    kind = entity.dxftype()
    if kind in ("ARC", "CIRCLE", "ELLIPSE"):
        return list(entity.flattening(SAGITTA))
    if kind == "LINE":
        return [entity.dxf.start, entity.dxf.end]
    if kind == "3DFACE":
        return list(entity.wcs_vertices())
    points = []
    for part in entity.virtual_entities():
        points.extend(samples(part))
    return points


def distance_to_segment(p, a, b, bulge):
    """Distance of p from the segment a-b of bulge `bulge`, all in the plane system (arcs in plan)."""
    if bulge == 0:
        ab = b - a
        t = 0 if ab.magnitude == 0 else max(0, min(1, (p - a).dot(ab) / ab.magnitude_square))
        return (a + ab * t - p).magnitude
    chord = math.hypot(b.x - a.x, b.y - a.y)
    angle = 4 * math.atan(bulge)
    radius = chord / (2 * math.sin(abs(angle) / 2))
    mid = Vec3((a.x + b.x) / 2, (a.y + b.y) / 2)
    normal = Vec3(-(b.y - a.y), b.x - a.x).normalize()  # left of the travel
    # The centre lies left of a counter-clockwise chord, past it for arcs beyond a half turn.
    offset = radius * math.cos(angle / 2)
    centre = mid + normal * (offset if bulge > 0 else -offset)
    start = math.atan2(a.y - centre.y, a.x - centre.x)
    at = math.atan2(p.y - centre.y, p.x - centre.x)
    sweep = (at - start) * (1 if bulge > 0 else -1) % (2 * math.pi)
    if sweep > abs(angle):
        return min((p - a).magnitude, (p - b).magnitude)
    return math.hypot(math.hypot(p.x - centre.x, p.y - centre.y) - radius, p.z - a.z)


def read_polylines(path):
    with open(path) as f:
        numbers = [list(map(float, line.split())) for line in f if line.strip()]
    polylines, i = [], 0
    while i < len(numbers):
        nx, ny, nz, count, closed = numbers[i]
        vertices = numbers[i + 1:i + 1 + int(count)]
        polylines.append((Vec3(nx, ny, nz), vertices, int(closed)))
        i += 1 + int(count)
    return polylines


def check_in(path, polylines_path):
    sources = list(ezdxf.readfile(path).modelspace())
    for entity, (normal, vertices, closed) in zip(sources, read_polylines(polylines_path)):
        ocs = OCS(normal)
        plane = [(ocs.from_wcs(Vec3(x, y, z)), bulge) for x, y, z, bulge in vertices]
        segments = list(zip(plane, plane[1:] + (plane[:1] if closed else [])))
        worst = max(min(distance_to_segment(ocs.from_wcs(p), a, b, bulge) for (a, bulge), (b, _) in segments)
                    for p in samples(entity))
        print(len(sources), repr(worst))


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
    {"write": write, "in": check_in, "out": out}[sys.argv[1]](*sys.argv[2:])
