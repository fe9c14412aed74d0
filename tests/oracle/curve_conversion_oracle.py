"""ezdxf as the outside judge of the polylines made from splines and hatches and converted back to host
polylines.

write PATH: writes a drawing of splines and hatches (DXF R2000), each source on a layer of its own ("C0",
"C1", ...), in the order "check" reports them.
check SOURCE CONVERTED: for each source of SOURCE, in drawing order, a row "pieces forward backward": the
number of LWPOLYLINE and POLYLINE entities of CONVERTED on its layer; the largest distance of a point of the
source (sampled by ezdxf's own construction tools: the spline's flattening, the arcs and ellipses of the
hatch's boundary paths) from those pieces; and the largest distance of a vertex or segment middle of the
pieces from the source's sampled boundary.
"""
import math
import sys

import ezdxf
from ezdxf.entities import BoundaryPathType, EdgeType
from ezdxf.lldxf import const
from ezdxf.math import OCS, ConstructionArc, ConstructionEllipse, Vec3, bulge_to_arc

from conversion_oracle import distance_to_segment

SAGITTA = 1e-5


def write(path):
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    layer = iter(f"C{i}" for i in range(100))

    def attributes():
        name = next(layer)
        doc.layers.add(name)
        return {"layer": name}

    msp.add_open_spline([(0, 0, 2), (10, 10, 2), (20, -5, 2), (30, 5, 2), (40, 0, 2)], degree=3,
                        dxfattribs=attributes())
    msp.add_open_spline([(50, 0, 0), (55, 8, 3), (62, -4, 6), (70, 3, 2)], degree=3, dxfattribs=attributes())
    msp.add_open_spline([(80, 0, 1), (80, 0, 1), (90, 10, 1), (90, 10, 1), (100, 0, 1), (100, 0, 1)], degree=3,
                        dxfattribs=attributes())

    # A parcel with a curved side and two holes: a triangle and a round one.
    hatch = msp.add_hatch(dxfattribs={**attributes(), "elevation": (0, 0, 1.5)})
    hatch.paths.add_polyline_path([(0, 20, 0), (30, 20, 0), (30, 50, 0.4), (0, 50, 0)], is_closed=True,
                                  flags=const.BOUNDARY_PATH_EXTERNAL)
    hatch.paths.add_polyline_path([(5, 25, 0), (10, 25, 0), (10, 30, 0)], is_closed=True,
                                  flags=const.BOUNDARY_PATH_DEFAULT)
    hatch.paths.add_polyline_path([(17, 40, 1), (23, 40, 1)], is_closed=True, flags=const.BOUNDARY_PATH_DEFAULT)

    # Edges: lines and a quarter circle round the outside, a whole ellipse inside.
    hatch = msp.add_hatch(dxfattribs={**attributes(), "elevation": (0, 0, -3)})
    edges = hatch.paths.add_edge_path(flags=const.BOUNDARY_PATH_EXTERNAL)
    edges.add_line((40, 20), (60, 20))
    edges.add_arc((60, 30), 10, -90, 0, ccw=True)
    edges.add_line((70, 30), (70, 45))
    edges.add_line((70, 45), (40, 45))
    edges.add_line((40, 45), (40, 20))
    hole = hatch.paths.add_edge_path(flags=const.BOUNDARY_PATH_DEFAULT)
    hole.add_ellipse((52, 33), major_axis=(4, 0), ratio=0.9, start_angle=0, end_angle=360, ccw=True)
    doc.saveas(path)
    print(0)


def arc_points(center, radius, start, end):
    return list(ConstructionArc(center, radius, start, end).flattening(SAGITTA))


def path_parts(path, elevation):
    """The boundary path as point chains in world coordinates (the hatches lie in the xy plane)."""
    lift = lambda points: [Vec3(p.x, p.y, elevation) for p in points]
    parts = []
    if path.type == BoundaryPathType.POLYLINE:
        vertices = list(path.vertices)
        for (x0, y0, bulge), (x1, y1, _) in zip(vertices, vertices[1:] + vertices[:1]):
            if bulge == 0:
                parts.append(lift([Vec3(x0, y0), Vec3(x1, y1)]))
                continue
            center, start, end, radius = bulge_to_arc((x0, y0), (x1, y1), bulge)
            parts.append(lift(arc_points(center, radius, math.degrees(start), math.degrees(end))))
        return parts
    for edge in path.edges:
        if edge.type == EdgeType.LINE:
            parts.append(lift([Vec3(edge.start), Vec3(edge.end)]))
        elif edge.type == EdgeType.ARC:
            parts.append(lift(arc_points(edge.center, edge.radius, edge.start_angle, edge.end_angle)))
        elif edge.type == EdgeType.ELLIPSE:
            ellipse = ConstructionEllipse(center=Vec3(edge.center), major_axis=Vec3(edge.major_axis),
                                          ratio=edge.ratio, start_param=math.radians(edge.start_angle),
                                          end_param=math.radians(edge.end_angle))
            parts.append(lift(ellipse.vertices(ellipse.params(720))))
    return parts


def source_parts(entity):
    if entity.dxftype() == "SPLINE":
        return [list(entity.flattening(SAGITTA))]
    parts = []
    for path in entity.paths:
        parts.extend(path_parts(path, entity.dxf.elevation.z))
    return parts


def piece_segments(entity):
    """The segments of a host polyline as (ocs, (a, bulge), (b, _)), points in its plane system."""
    if entity.dxftype() == "LWPOLYLINE":
        ocs = OCS(entity.dxf.extrusion)
        plane = [(Vec3(x, y, entity.dxf.elevation), bulge) for x, y, bulge in entity.get_points("xyb")]
        closed = entity.closed
    else:
        ocs = OCS()
        plane = [(Vec3(v.dxf.location), 0) for v in entity.vertices]
        closed = entity.is_closed
    return [(ocs, a, b) for a, b in zip(plane, plane[1:] + (plane[:1] if closed else []))]


def segment_middle(a, b, bulge):
    chord = b - a
    middle = a.lerp(b)
    if bulge == 0:
        return middle
    # A positive bulge turns counter-clockwise: the arc lies right of the chord.
    right = Vec3(chord.y, -chord.x).normalize()
    return middle + right * (bulge * math.hypot(chord.x, chord.y) / 2)


def distance_to_chain(p, parts):
    best = math.inf
    for chain in parts:
        for a, b in zip(chain, chain[1:]):
            ab = b - a
            t = 0 if ab.magnitude == 0 else max(0.0, min(1.0, (p - a).dot(ab) / ab.magnitude_square))
            best = min(best, (a + ab * t - p).magnitude)
    return best


def check(source_path, converted_path):
    pieces = {}
    for entity in ezdxf.readfile(converted_path).modelspace().query("LWPOLYLINE POLYLINE"):
        pieces.setdefault(entity.dxf.layer, []).append(piece_segments(entity))
    for source in ezdxf.readfile(source_path).modelspace():
        mine = pieces.get(source.dxf.layer, [])
        segments = [s for piece in mine for s in piece]
        parts = source_parts(source)
        forward = max((min((distance_to_segment(ocs.from_wcs(p), a, b, bulge)
                            for ocs, (a, bulge), (b, _) in segments), default=math.inf)
                       for chain in parts for p in chain), default=math.inf)
        backward = max((distance_to_chain(ocs.to_wcs(q), parts) for ocs, (a, bulge), (b, _) in segments
                        for q in (a, segment_middle(a, b, bulge))), default=math.inf)
        print(len(mine), repr(forward), repr(backward))


if __name__ == "__main__":
    {"write": write, "check": check}[sys.argv[1]](*sys.argv[2:])
