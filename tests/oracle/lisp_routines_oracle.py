"""ezdxf's figures for the surveyor's LISP routines of examples/lisp run in zhost.

length PATH: one row, the total length of the LINE, ARC and LWPOLYLINE entities of model space (polylines with
their arcs, closed ones with their closing segment).
vertices PATH: for each LWPOLYLINE of model space, a row of its vertices' x and y in order.
points PATH: for each POINT of model space, a row of x, y, z, then the number of TEXT entities placed at
that point in plan whose text ends with its height to two places.
"""
import math
import sys

import ezdxf


def polyline_length(entity):
    total = 0.0
    for part in entity.virtual_entities():
        if part.dxftype() == "LINE":
            total += math.dist(part.dxf.start, part.dxf.end)
        else:
            span = (part.dxf.end_angle - part.dxf.start_angle) % 360
            total += part.dxf.radius * math.radians(span)
    return total


def length(path):
    total = 0.0
    for entity in ezdxf.readfile(path).modelspace():
        kind = entity.dxftype()
        if kind == "LINE":
            total += math.dist(entity.dxf.start, entity.dxf.end)
        elif kind == "ARC":
            span = (entity.dxf.end_angle - entity.dxf.start_angle) % 360
            total += entity.dxf.radius * math.radians(span)
        elif kind == "LWPOLYLINE":
            total += polyline_length(entity)
    print(repr(total))


def vertices(path):
    for entity in ezdxf.readfile(path).modelspace().query("LWPOLYLINE"):
        print(*[c for x, y, *_ in entity.get_points() for c in (x, y)])


def points(path):
    space = ezdxf.readfile(path).modelspace()
    texts = list(space.query("TEXT"))
    for point in space.query("POINT"):
        x, y, z = point.dxf.location
        labels = sum(1 for t in texts if math.isclose(t.dxf.insert.x, x) and math.isclose(t.dxf.insert.y, y)
                     and t.dxf.text.endswith(f"{z:.2f}"))
        print(x, y, z, labels)


{"length": length, "vertices": vertices, "points": points}[sys.argv[1]](sys.argv[2])
