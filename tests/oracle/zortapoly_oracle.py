"""ezdxf as the outside reader of drawings holding the polyline entity.

check PATH: reads PATH, audits it and prints rows of numbers: the audit's error and fix counts; for the
classes ZORTAPOLY and TAVROPOLY, in this order: 1 when the class row names its C++ class as expected, its
proxy flags, its was-a-proxy and is-an-entity flags; then for each polyline of model space, in drawing
order, two rows: its kind (2 ZORTAPOLY, 1 TAVROPOLY) followed by the group codes of its own subclass, and
the values of those groups (a point gives its three coordinates).
"""
import sys

import ezdxf

CLASSES = [("ZORTAPOLY", "PolyArc3D", 2), ("TAVROPOLY", "tavro_poly", 1)]


def own_subclass(entity, marker):
    for subclass in entity.xtags.subclasses:
        if subclass[0].code == 100 and subclass[0].value == marker:
            return subclass[1:]
    raise KeyError(marker)


def values_of(tags):
    values = []
    for tag in tags:
        if isinstance(tag.value, tuple):
            values.extend(tag.value)
        else:
            values.append(tag.value)
    return values


def check(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print(len(auditor.errors), len(auditor.fixes))
    for name, cpp, _ in CLASSES:
        cls = doc.classes.get(name)
        print(int(cls.dxf.cpp_class_name == cpp), cls.dxf.flags, cls.dxf.was_a_proxy, cls.dxf.is_an_entity)
    kinds = {name: (cpp, kind) for name, cpp, kind in CLASSES}
    for entity in doc.modelspace():
        if entity.dxftype() not in kinds:
            continue
        cpp, kind = kinds[entity.dxftype()]
        tags = own_subclass(entity, cpp)
        print(kind, *[tag.code for tag in tags])
        print(*values_of(tags))


if __name__ == "__main__":
    {"check": check}[sys.argv[1]](sys.argv[2])
