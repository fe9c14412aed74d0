"""ezdxf as the outside reader of what the host's EXPLODE made of styled polylines.

check BEFORE AFTER: reads the polylines of BEFORE (ZORTAPOLY groups: world points, bulges, closed flag,
layer) and what AFTER holds in their place, each host polyline, hatch and block reference given to the
source it lies on in plan (within 1e-6). Prints the audit's error and fix counts of AFTER, the number of
ZORTAPOLY left and of entities that lie on no source; then one row per source, in drawing order:
"pieces on-layer worst colour-min colour-max hatches loops hatch-colour associative inserts insert-worst
inserts-on-layer": its host polylines, 1 when all of them are on its layer, the largest plan distance of
its vertices from theirs, their smallest and largest colour (256 by layer), its hatches with their loops,
the colour and associative flag of the last one (0 without), its block references "ARBRE", the largest plan
distance of their insertion points from the source, and 1 when they are on its layer.
"""
import math
import sys

import ezdxf
from ezdxf.math import Vec3

from conversion_oracle import distance_to_segment

ON = 1e-6


def flat(p):
    return Vec3(p[0], p[1], 0)


def sources_of(path):
    sources = []
    for entity in ezdxf.readfile(path).modelspace():
        if entity.dxftype() != "ZORTAPOLY":
            continue
        layer = next(tag.value for tag in entity.xtags.get_subclass("AcDbEntity") if tag.code == 8)
        tags = list(entity.xtags.get_subclass("PolyArc3D"))
        closed = next(tag.value for tag in tags if tag.code == 70) & 1
        vertices = []
        for tag in tags:
            if tag.code == 10:
                vertices.append([flat(tag.value), 0.0])
            elif tag.code == 42 and vertices:
                vertices[-1][1] = tag.value
        segments = list(zip(vertices, vertices[1:] + (vertices[:1] if closed else [])))
        sources.append({"layer": layer, "vertices": [v for v, _ in vertices], "segments": segments})
    return sources


def distance_to_source(p, source):
    return min(distance_to_segment(flat(p), a, b, bulge) for (a, bulge), (b, _) in source["segments"])


def owner(points, sources):
    for index, source in enumerate(sources):
        if points and all(distance_to_source(p, source) <= ON for p in points):
            return index
    return None


def hatch_points(hatch):
    points = []
    for path in hatch.paths:
        if hasattr(path, "vertices"):
            points.extend((x, y) for x, y, _ in path.vertices)
        else:
            points.extend(edge.start for edge in path.edges if hasattr(edge, "start"))
    return points


def check(before, after):
    sources = sources_of(before)
    doc = ezdxf.readfile(after)
    auditor = doc.audit()
    found = [{"pieces": [], "hatches": [], "inserts": []} for _ in sources]
    left, orphans = 0, 0
    for entity in doc.modelspace():
        kind = entity.dxftype()
        if kind == "ZORTAPOLY":
            left += 1
            continue
        if kind == "LWPOLYLINE":
            points, group = list(entity.vertices_in_wcs()), "pieces"
        elif kind == "POLYLINE":
            points, group = [v.dxf.location for v in entity.vertices], "pieces"  # 3-D: world points
        elif kind == "HATCH":
            points, group = hatch_points(entity), "hatches"
        elif kind == "INSERT" and entity.dxf.name == "ARBRE":
            points, group = [entity.dxf.insert], "inserts"
        else:
            continue
        index = owner(points, sources)
        if index is None:
            orphans += 1
        else:
            found[index][group].append((entity, points))
    print(len(auditor.errors), len(auditor.fixes), left, orphans)
    for source, made in zip(sources, found):
        pieces, hatches, inserts = made["pieces"], made["hatches"], made["inserts"]
        piece_points = [flat(p) for _, points in pieces for p in points]
        worst = max((min((v - p).magnitude for p in piece_points) for v in source["vertices"]), default=math.inf)
        colours = [entity.dxf.color for entity, _ in pieces] or [0]
        last_hatch = hatches[-1][0] if hatches else None
        print(len(pieces), int(all(e.dxf.layer == source["layer"] for e, _ in pieces)), repr(worst),
              min(colours), max(colours), len(hatches), sum(len(h.paths) for h, _ in hatches),
              last_hatch.dxf.color if last_hatch else 0, last_hatch.dxf.associative if last_hatch else 0,
              len(inserts), repr(max((distance_to_source(p[0], source) for _, p in inserts), default=0)),
              int(all(e.dxf.layer == source["layer"] for e, _ in inserts)))


if __name__ == "__main__":
    {"check": check}[sys.argv[1]](*sys.argv[2:])
