"""ezdxf as the outside judge of entities kept through a host that did not know their class.

compare NAME REFERENCE OTHER...: reads every file and prints one row per OTHER: how many entities of the DXF
name NAME it holds, and how many of them have, under the same handle, exactly the groups of the REFERENCE's.

graphics PATH: one row per ZORTAPOLY of model space, decoded by ezdxf's proxy-graphics reader: its handle (as a
number), 1 when it has widths or heights (which draw beside its path), how many entities its proxy graphics
give (-1 without proxy graphics), the largest distance of their points from the polyline's path, the largest
distance of a vertex from the nearest of their points, and how many of their points lie inside arcs.

images PATH: one row per entity of model space with proxy graphics (a ZORTAPOLY or the proxy kept for one): its
handle (as a number) and how many entities ezdxf decodes from them.

proxies KEPT REFERENCE: one row per ACAD_PROXY_ENTITY of KEPT: its handle (as a number), 1 when its groups are
the proxy form (90 498, a 91 numbering a class that CLASSES lists, a 93 giving the bits of the data chunks that
follow it, 94 0), the line segments ezdxf decodes from its proxy graphics, and those it decodes from the entity
of the same handle in REFERENCE.

svg A B: one row comparing two pictures of the same drawing, which may be shifted as a whole: the drawn
elements of A, those of B, how many of B's are found among A's in order (kind, handle, marker, point count),
and the largest distance of a point of B from A's once the shift is taken out.
"""
import itertools
import re
import xml.etree.ElementTree as ElementTree
import math
import sys

import logging

import ezdxf
from ezdxf.math import Vec3, bulge_to_arc
from ezdxf.proxygraphic import ProxyGraphic

logging.getLogger("ezdxf").setLevel(logging.ERROR)  # its notes on meshes it has not met would be read as rows


def groups_by_handle(path, name):
    doc = ezdxf.readfile(path)
    kept = {}
    for entity in doc.modelspace().query(name):
        tags = [(tag.code, tag.value) for subclass in entity.xtags.subclasses for tag in subclass]
        tags += [(tag.code, tag.value) for xdata in entity.xtags.xdata for tag in xdata]
        kept[entity.dxf.handle] = tags
    return kept


def compare(name, reference, others):
    expected = groups_by_handle(reference, name)
    for path in others:
        found = groups_by_handle(path, name)
        same = sum(1 for handle, tags in found.items() if expected.get(handle) == tags)
        print(len(found), same)


def vertices(entity):
    """The vertices (point, bulge) and the closed flag from the polyline's own groups."""
    tags = next(s for s in entity.xtags.subclasses if s[0].code == 100 and s[0].value == "PolyArc3D")
    closed = next(tag.value for tag in tags if tag.code == 70) & 1
    points, widths = [], False
    for tag in tags[1:]:
        if tag.code == 10:
            points.append([Vec3(tag.value), 0.0])
        elif tag.code == 42 and points:
            points[-1][1] = tag.value
        elif tag.code in (40, 39) and points and tag.value != 0:
            widths = True
    return points, closed, widths


def segments(points, closed):
    ends = list(zip(points, points[1:]))
    if closed:
        ends.append((points[-1], points[0]))
    return [(a[0], b[0], a[1]) for a, b in ends]


def arc_distance(p, start, end, bulge):
    """Plan distance to the arc, None when p is outside its sweep; the arc's heights are interpolated."""
    center, start_angle, end_angle, radius = bulge_to_arc(start.vec2, end.vec2, bulge)
    offset = p.vec2 - center
    span = (end_angle - start_angle) % math.tau
    if (offset.angle - start_angle) % math.tau > span + 1e-9:
        return None
    return abs(offset.magnitude - radius)


def line_distance(p, a, b):
    ab = b - a
    t = 0.0 if ab.magnitude == 0 else max(0.0, min(1.0, (p - a).dot(ab) / ab.dot(ab)))
    return (a + ab * t - p).magnitude


def drawn_points(entity):
    if entity.proxy_graphic is None:
        return None
    drawn = list(ProxyGraphic(entity.proxy_graphic, entity.doc).virtual_entities())
    points = []
    for e in drawn:
        points += [Vec3(v.dxf.location) for v in e.vertices] if e.dxftype() == "POLYLINE" else []
    return drawn, points


def graphics(path):
    doc = ezdxf.readfile(path)
    for entity in doc.modelspace().query("ZORTAPOLY"):
        points, closed, widths = vertices(entity)
        decoded = drawn_points(entity)
        if decoded is None:
            print(int(entity.dxf.handle, 16), int(widths), -1, 0, 0, 0)
            continue
        drawn, found = decoded
        off_path, in_arcs = 0.0, 0
        for p in found:
            distances = []
            for a, b, bulge in segments(points, closed):
                if bulge == 0:
                    distances.append(line_distance(p, a, b))
                elif (d := arc_distance(p, a, b, bulge)) is not None:
                    distances.append(d)
                    if min((p - a).magnitude, (p - b).magnitude) > 1e-6:
                        in_arcs += 1
            off_path = max(off_path, min(distances, default=math.inf))
        missed = max(min((v - p).magnitude for p in found) for v, _ in points) if found else math.inf
        print(int(entity.dxf.handle, 16), int(widths), len(drawn), off_path, missed, in_arcs)


def images(path):
    doc = ezdxf.readfile(path)
    for entity in doc.modelspace():
        if entity.proxy_graphic is not None:
            drawn = list(ProxyGraphic(entity.proxy_graphic, doc).virtual_entities())
            print(int(entity.dxf.handle, 16), len(drawn))


def segment_count(entity, doc):
    count = 0
    for e in ProxyGraphic(entity.proxy_graphic, doc).virtual_entities() if entity.proxy_graphic else []:
        if e.dxftype() == "POLYLINE":
            count += len(e.vertices) - 1 + int(e.is_closed)
        elif e.dxftype() == "LINE":
            count += 1
    return count


def is_proxy_form(tags, classes):
    values = {}
    for code, value in tags:
        values.setdefault(code, value)
    after_bits = [tag for tag in tags[[code for code, _ in tags].index(93) + 1:]] if 93 in values else []
    data = b"".join(value for code, value in itertools.takewhile(lambda tag: tag[0] == 310, after_bits))
    return (values.get(90) == 498 and 0 <= values.get(91, 0) - 500 < len(classes) and
            values.get(93) == 8 * len(data) and values.get(94) == 0)


def proxies(kept, reference):
    doc, ref = ezdxf.readfile(kept), ezdxf.readfile(reference)
    classes = list(doc.classes.classes.values())
    for entity in doc.modelspace().query("ACAD_PROXY_ENTITY"):
        tags = [(tag.code, tag.value) for tag in entity.acdb_proxy_entity]
        same = ref.entitydb.get(entity.dxf.handle)
        print(int(entity.dxf.handle, 16), int(is_proxy_form(tags, classes)), segment_count(entity, doc),
              segment_count(same, ref) if same is not None else -1)


def drawn_elements(path):
    elements = []
    for element in ElementTree.parse(path).getroot().iter():
        if "points" in element.attrib:
            numbers = [float(n) for n in re.split(r"[ ,]+", element.attrib["points"].strip())]
            kind = (element.tag, element.attrib.get("data-handle"), element.attrib.get("data-marker"))
            elements.append((kind, list(zip(numbers[0::2], numbers[1::2]))))
    return elements


def compare_svg(first, second):
    a, b = drawn_elements(first), drawn_elements(second)
    pairs, rest = [], iter(a)
    for kind, points in b:  # B's elements among A's, in A's order
        match = next((pa for ka, pa in rest if ka == kind and len(pa) == len(points)), None)
        if match is not None:
            pairs.append((match, points))
    shift = (pairs[0][1][0][0] - pairs[0][0][0][0], pairs[0][1][0][1] - pairs[0][0][0][1]) if pairs else (0, 0)
    off = max((math.dist((xb - shift[0], yb - shift[1]), (xa, ya))
               for pa, pb in pairs for (xa, ya), (xb, yb) in zip(pa, pb)), default=0.0)
    print(len(a), len(b), len(pairs), off)


if __name__ == "__main__":
    if len(sys.argv) >= 5 and sys.argv[1] == "compare":
        compare(sys.argv[2], sys.argv[3], sys.argv[4:])
    elif len(sys.argv) == 3 and sys.argv[1] == "graphics":
        graphics(sys.argv[2])
    elif len(sys.argv) == 3 and sys.argv[1] == "images":
        images(sys.argv[2])
    elif len(sys.argv) == 4 and sys.argv[1] == "proxies":
        proxies(sys.argv[2], sys.argv[3])
    elif len(sys.argv) == 4 and sys.argv[1] == "svg":
        compare_svg(sys.argv[2], sys.argv[3])
    else:
        sys.exit("usage: proxy_oracle.py compare NAME REFERENCE OTHER... | graphics PATH | images PATH | "
                 "proxies KEPT REFERENCE | svg A B")
