"""ezdxf as the outside reader of drawings that the plug-in's commands changed and zhost saved.

polylines PATH: for each ZORTAPOLY and TAVROPOLY of model space, in drawing order, a row "handle closed
count" (the handle as a number) followed by one row "x y z" per vertex, as stored.
lightweight PATH: the same for each LWPOLYLINE of model space, its vertices in world coordinates.
tef PATH: one row per text of the TEF colour record ("ZORTA_32" / "ZORTATEFCOLOR" in the named-objects
dictionary): how many numbers its list holds, then the numbers.
"""
import sys

import ezdxf

CLASSES = {"ZORTAPOLY": "PolyArc3D", "TAVROPOLY": "tavro_poly"}


def own_subclass(entity, marker):
    for subclass in entity.xtags.subclasses:
        if subclass[0].code == 100 and subclass[0].value == marker:
            return subclass[1:]
    raise KeyError(marker)


def polylines(path):
    doc = ezdxf.readfile(path)
    for entity in doc.modelspace():
        if entity.dxftype() not in CLASSES:
            continue
        tags = own_subclass(entity, CLASSES[entity.dxftype()])
        flags = next(tag.value for tag in tags if tag.code == 70)
        points = [tag.value for tag in tags if tag.code == 10]
        print(int(entity.dxf.handle, 16), flags & 1, len(points))
        for point in points:
            print(*point)


def lightweight(path):
    doc = ezdxf.readfile(path)
    for entity in doc.modelspace().query("LWPOLYLINE"):
        points = list(entity.vertices_in_wcs())
        print(int(entity.dxf.handle, 16), int(entity.closed), len(points))
        for point in points:
            print(point.x, point.y, point.z)


def tef(path):
    doc = ezdxf.readfile(path)
    record = doc.rootdict["ZORTA_32"]["ZORTATEFCOLOR"]
    for tag in record.tags:
        if tag.code == 1:
            numbers = [int(item) for item in tag.value.split(",") if item]
            print(len(numbers), *numbers)


if __name__ == "__main__":
    {"polylines": polylines, "lightweight": lightweight, "tef": tef}[sys.argv[1]](sys.argv[2])
