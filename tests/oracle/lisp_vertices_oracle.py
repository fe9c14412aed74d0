"""ezdxf reads the drawing that zhost saved after LISP programs changed its polylines vertex by vertex.

polylines PATH: for each ZORTAPOLY of model space, in drawing order, two rows: its handle followed by the
group codes of its own subclass, and the values of those groups (a point gives its three coordinates).
hostpolylines PATH: for each LWPOLYLINE (1) and POLYLINE (3) of model space a row of its kind and vertex
count, then one row per vertex: its world point.
entities PATH: one row, the number of entities in model space.
xrecords PATH: for each XRECORD, one row per text: the numbers of the comma-separated text (0 for none).
"""
import sys

import ezdxf


def own_subclass(entity):
    for subclass in entity.xtags.subclasses:
        if subclass[0].code == 100 and subclass[0].value == "PolyArc3D":
            return subclass[1:]
    raise KeyError("PolyArc3D")


def polylines(path):
    doc = ezdxf.readfile(path)
    for entity in doc.modelspace():
        if entity.dxftype() != "ZORTAPOLY":
            continue
        tags = own_subclass(entity)
        print(int(entity.dxf.handle, 16), *[tag.code for tag in tags])
        values = []
        for tag in tags:
            values.extend(tag.value if isinstance(tag.value, tuple) else [tag.value])
        print(*values)


def hostpolylines(path):
    doc = ezdxf.readfile(path)
    for entity in doc.modelspace():
        if entity.dxftype() == "LWPOLYLINE":
            points = list(entity.vertices_in_wcs())
            print(1, len(points))
        elif entity.dxftype() == "POLYLINE":
            points = list(entity.points())
            print(3, len(points))
        else:
            continue
        for p in points:
            print(p.x, p.y, p.z)


def entities(path):
    print(len(ezdxf.readfile(path).modelspace()))


def xrecords(path):
    doc = ezdxf.readfile(path)
    for record in doc.objects.query("XRECORD"):
        for tag in record.tags:
            if tag.code == 1:
                numbers = [n for n in tag.value.split(",") if n]
                print(*numbers) if numbers else print(0)


if __name__ == "__main__":
    {"polylines": polylines, "hostpolylines": hostpolylines, "entities": entities, "xrecords": xrecords}[sys.argv[1]](sys.argv[2])
