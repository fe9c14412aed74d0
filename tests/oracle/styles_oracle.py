"""ezdxf as the outside reader of the hatches and symbol blocks that the cartographic styles make.

read PATH: reads PATH, audits it and prints the audit's error and fix counts; then for each HATCH of model
space a row "pattern-type scale angle spacing colour associative loops", a row of the character codes of
"PATTERN|LAYER", and per loop a row "kind count closed" (kind 1 polyline, 2 edges) followed by, for a polyline
loop, one row per vertex "x y bulge", and a row of the number and handles (hexadecimal read as numbers) of
the objects it follows; then for each INSERT a row "x y z rotation sx sy sz colour" and a row of the character codes of
"BLOCK|LAYER".
"""
import sys

import ezdxf


def codes(text):
    print(*[ord(c) for c in text])


def read(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print(len(auditor.errors), len(auditor.fixes))
    msp = doc.modelspace()
    for hatch in msp.query("HATCH"):
        spacing = 0
        if hatch.pattern and hatch.pattern.lines and hatch.dxf.pattern_type == 0:
            spacing = hatch.pattern.lines[0].offset.magnitude
        print(hatch.dxf.pattern_type, hatch.dxf.pattern_scale, hatch.dxf.pattern_angle, spacing,
              hatch.dxf.color, hatch.dxf.associative, len(hatch.paths))
        codes(hatch.dxf.pattern_name + "|" + hatch.dxf.layer)
        for path in hatch.paths:
            if path.type == ezdxf.entities.BoundaryPathType.POLYLINE:
                print(1, len(path.vertices), int(path.is_closed))
                for x, y, bulge in path.vertices:
                    print(x, y, bulge)
            else:
                print(2, len(path.edges), 1)
            handles = [int(handle, 16) for handle in path.source_boundary_objects]
            print(len(handles), *handles)
    for insert in msp.query("INSERT"):
        x, y, z = insert.dxf.insert
        print(x, y, z, insert.dxf.rotation, insert.dxf.xscale, insert.dxf.yscale, insert.dxf.zscale,
              insert.dxf.color)
        codes(insert.dxf.name + "|" + insert.dxf.layer)


if __name__ == "__main__":
    if sys.argv[1] == "read":
        read(sys.argv[2])
