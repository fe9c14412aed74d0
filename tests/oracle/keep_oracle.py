"""ezdxf and GDAL as the outside judges of a drawing that went through the host: nothing it held is lost.

write PATH: writes a drawing with what the host does not model: dimension styles, a viewport, a user
coordinate system and a view, complex linetypes, a second paper space layout with a viewport, an extension
dictionary holding an xrecord, a dimension and a multiple insert. Prints 0.

compare REFERENCE OTHER...: one row per OTHER: ezdxf's audit errors in REFERENCE and in OTHER, and how many
records, objects and entities were found the same (by handle: owner, attributes, linetype elements, layout,
extension dictionary); each difference is printed as a line of text, and so is a difference in the features
GDAL's ogrinfo counts per layer.
"""
import collections
import logging
import math
import re
import subprocess
import sys

import ezdxf

logging.getLogger("ezdxf").setLevel(logging.ERROR)


def write(path):
    doc = ezdxf.new("R2010", setup=True)
    doc.linetypes.add("GASLEITUNG2", 'A,.5,-.2,["GAS",STANDARD,S=.1,U=0.0,X=-0.1,Y=-.05],-.25',
                      description="Gas ----GAS----GAS----", length=1)
    doc.linetypes.add("SHAPED", 'A,.5,-.2,[132,ltypeshp.shx,x=-.1,s=.1],-.2', description="Shapes", length=0.9)
    msp = doc.modelspace()
    msp.add_line((0, 0), (10, 10), dxfattribs={"layer": "L1"})
    msp.add_line((0, 0), (5, 0), dxfattribs={"layer": "L1", "linetype": "GASLEITUNG2"})
    dimension = msp.add_linear_dim(base=(0, 5), p1=(0, 0), p2=(10, 0), dimstyle="EZDXF")
    dimension.render()
    circle = msp.add_circle((5, 5), 2, dxfattribs={"layer": "L2"})
    record = circle.new_extension_dict().add_xrecord("SURVEY")
    record.reset([(1, "station 12"), (40, 3.5)])
    doc.blocks.new("TREE").add_circle((0, 0), 0.5)
    msp.add_blockref("TREE", (4, 4), dxfattribs={"rotation": 30}).grid(size=(2, 3), spacing=(1.5, 2.5))
    doc.ucs.new("SITE", dxfattribs={"origin": (1, 2, 3)})
    doc.views.new("NORTH", dxfattribs={"height": 20.0})
    second = doc.layouts.new("Second")
    second.add_line((1, 1), (2, 2), dxfattribs={"layer": "PS"})
    second.add_viewport(center=(5, 5), size=(8, 8), view_center_point=(5, 5), view_height=20)
    doc.layouts.get("Layout1").add_circle((3, 3), 1, dxfattribs={"layer": "PS"})
    doc.saveas(path)
    print(0)


def same(a, b):
    if isinstance(a, float) or isinstance(b, float):
        return isinstance(a, (int, float)) and isinstance(b, (int, float)) and \
            math.isclose(a, b, rel_tol=1e-9, abs_tol=1e-9)
    iterable = [hasattr(v, "__iter__") and not isinstance(v, str) for v in (a, b)]
    if any(iterable):
        if not all(iterable):
            return False
        a, b = list(a), list(b)
        return len(a) == len(b) and all(same(x, y) for x, y in zip(a, b))
    return a == b


def attributes(entity):
    found = dict(entity.dxf.all_existing_dxf_attribs())
    for unchecked in ("handle",):
        found.pop(unchecked, None)
    return found


def content(path):
    doc = ezdxf.readfile(path)
    errors = len(doc.audit().errors)
    items = {}
    for table in (doc.layers, doc.linetypes, doc.styles, doc.dimstyles, doc.ucs, doc.views, doc.viewports,
                  doc.appids, doc.block_records):
        for record in table:
            found = attributes(record)
            if record.dxftype() == "LTYPE":
                found["pattern"] = [(t.code, t.value) for t in record.pattern_tags.tags]
            items[record.dxf.handle] = (record.dxftype(), found)
    for layout in doc.layouts:
        for entity in layout:
            found = attributes(entity)
            found["layout"] = layout.name
            if entity.has_extension_dict:
                found["xdict"] = entity.get_extension_dict().dictionary.dxf.handle
            items[entity.dxf.handle] = (entity.dxftype(), found)
    for entity in doc.objects:
        items[entity.dxf.handle] = (entity.dxftype(), {"owner": entity.dxf.get("owner")})
    return errors, items


def features(path):
    listing = subprocess.run(["ogrinfo", "-ro", "-al", "-geom=SUMMARY", path], capture_output=True, text=True,
                             check=True).stdout
    return collections.Counter(re.findall(r"^\s*Layer \(String\) = (.*)$", listing, re.MULTILINE))


def compare(reference, others):
    expected_errors, expected = content(reference)
    expected_features = features(reference)
    for path in others:
        errors, found = content(path)
        alike = 0
        for handle, (kind, attribs) in expected.items():
            if handle not in found:
                print(f"{path}: {kind} {handle} lost")
            elif found[handle][0] != kind:
                print(f"{path}: {kind} {handle} came back as {found[handle][0]}")
            else:
                other = found[handle][1]
                differ = [k for k in set(attribs) | set(other) if not same(attribs.get(k), other.get(k))]
                if differ:
                    print(f"{path}: {kind} {handle} differs in " +
                          ", ".join(f"{k} ({attribs.get(k)!r} -> {other.get(k)!r})" for k in sorted(differ)))
                else:
                    alike += 1
        if features(path) != expected_features:
            print(f"{path}: GDAL finds {dict(features(path))}, not {dict(expected_features)}")
        print(expected_errors, errors, alike)


if __name__ == "__main__":
    if sys.argv[1] == "write":
        write(sys.argv[2])
    else:
        compare(sys.argv[2], sys.argv[3:])
