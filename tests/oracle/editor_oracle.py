"""ezdxf reads the polylines the editor made in a drawing.

vertices PATH: for each polyline of model space, in drawing order, a row with its number of vertices and its
closed bit, then one row per vertex: x, y, z, bulge and flag word (0 when the group is absent).
default_widths PATH: one row per polyline of model space: its default width (0 when the group is absent).
drawing_with_linetype PATH NAME: writes a new drawing whose current linetype is NAME; no rows.
changed BEFORE AFTER...: one row per AFTER: how many entities of model space differ from BEFORE in any DXF
group (an entity missing on either side counts), and how many entities AFTER has.
reals PATH: one row per polyline of model space: its number of vertices, 1 when every real of its own groups
is finite (else 0), its largest coordinate, height (39) and width (40, 41), in absolute value.
"""
import math
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
                tags = subclass[1:]
                rows = vertices_of(tags)
                flags = next((tag.value for tag in tags if tag.code == 70), 0)
                print(len(rows), flags & 1)
                for row in rows:
                    print(*row)


def own_tags(entity):
    marker = SUBCLASSES.get(entity.dxftype())
    for subclass in entity.xtags.subclasses:
        if subclass[0].code == 100 and subclass[0].value == marker:
            return subclass[1:]
    return []


def default_widths(path):
    for entity in ezdxf.readfile(path).modelspace():
        if entity.dxftype() in SUBCLASSES:
            width = 0.0
            for tag in own_tags(entity):
                if tag.code == 10:
                    break
                if tag.code == 42:
                    width = tag.value
            print(width)


def reals(path):
    for entity in ezdxf.readfile(path).modelspace():
        if entity.dxftype() not in SUBCLASSES:
            continue
        count, finite, largest = 0, 1, {"xyz": 0.0, 39: 0.0, 40: 0.0}
        for tag in own_tags(entity):
            values = tag.value if tag.code == 10 else (tag.value,)
            if tag.code == 10:
                count += 1
            if tag.code not in (10, 39, 40, 41) or not count:
                continue
            if not all(math.isfinite(v) for v in values):
                finite = 0
                continue
            key = "xyz" if tag.code == 10 else min(tag.code, 40)
            largest[key] = max(largest[key], *(abs(v) for v in values))
        print(count, finite, largest["xyz"], largest[39], largest[40])


def drawing_with_linetype(path, name):
    doc = ezdxf.new("R2000")
    doc.linetypes.add(name, pattern=[0.0], description=name)
    doc.header["$CELTYPE"] = name
    doc.saveas(path)


def groups(entity):
    """Every DXF group of the entity as the file holds it: its subclasses, application and extended data."""
    xtags = getattr(entity, "xtags", None)
    if xtags is None:
        return sorted((key, str(value)) for key, value in entity.dxfattribs().items())
    tags = [(t.code, t.value) for subclass in xtags.subclasses for t in subclass]
    tags += [(t.code, t.value) for appdata in xtags.appdata for t in appdata]
    tags += [(t.code, t.value) for xdata in xtags.xdata for t in xdata]
    return tags


def entities_by_handle(path):
    return {e.dxf.handle: groups(e) for e in ezdxf.readfile(path).modelspace()}


def changed(before, *afters):
    reference = entities_by_handle(before)
    for path in afters:
        after = entities_by_handle(path)
        handles = set(reference) | set(after)
        print(sum(reference.get(h) != after.get(h) for h in handles), len(after))


if __name__ == "__main__":
    {"vertices": vertices, "default_widths": default_widths, "drawing_with_linetype": drawing_with_linetype,
     "changed": changed, "reals": reals}[sys.argv[1]](*sys.argv[2:])
