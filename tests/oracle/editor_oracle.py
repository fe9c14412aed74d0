"""ezdxf reads the polylines the editor made in a drawing.

vertices PATH: for each polyline of model space, in drawing order, a row with its number of vertices, then
one row per vertex: x, y, z, bulge and flag word (0 when the group is absent).
"""
import sys

import ezdxf

SUBCLASSES = {"ZORTAPOLY": "PolyArc3D", "TAVROPOLY": "tavro_poly"}


def vertices_of(tags):
    rows = []
    for tag in tags:
        if tag.code == 10:
            rows.append([*tag.value, 0.0, 0])
        elif rows and tag.code == 42:
            rows[-1][3] = tag.value
        elif rows and tag.code == 70:
            rows[-1][4] = tag.value
    return rows


def vertices(path):
    doc = ezdxf.readfile(path)
    for entity in doc.modelspace():
        marker = SUBCLASSES.get(entity.dxftype())
        if not marker:
            continue
        for subclass in entity.xtags.subclasses:
            if subclass[0].code == 100 and subclass[0].value == marker:
                rows = vertices_of(subclass[1:])
                print(len(rows))
                for row in rows:
                    print(*row)


if __name__ == "__main__":
    {"vertices": vertices}[sys.argv[1]](sys.argv[2])
