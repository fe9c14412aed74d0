"""ezdxf as the outside reader of drawings made with zhost's everyday commands.

entities PATH: one row per entity of model space, in drawing order, its kind first:
  1 x1 y1 x2 y2 (LINE), 2 cx cy r (CIRCLE), 3 cx cy r start end (ARC, degrees),
  4 closed count, then per vertex x y start_width end_width bulge (LWPOLYLINE),
  5 x y height rotation halign valign align_x align_y width, then the text's code points (TEXT),
  6 x y xscale yscale rotation count, then per attribute its value's code points (INSERT).
block PATH: writes a drawing holding the block BORNE: a circle and the attributes NUM ("Numéro", "0") and
  ALT ("Altitude", "0.00"), in that order, a constant one and a preset one ("P"); and the text style COTES,
  1.5 high.
version PATH: the release number of the file's DXF version (1021 for AC1021), then its entities' count.
blocks PATH: per block but model and paper space: the name's code points, then a row "base_x base_y count",
  then its entities as entities prints them (attribute definitions counted, not printed).
symbol PATH: writes a drawing based at 1,1 whose model space holds a circle, the attribute NUM ("Numéro",
  "0") and a reference to its block CROIX (a line).
layers PATH: one row per layer: the name's code points, then a row "color on frozen locked current".
"""
import sys

import ezdxf


def codes(text):
    print(*[ord(c) for c in text] or [0])


def entities(path):
    for e in ezdxf.readfile(path).modelspace():
        describe(e)


def describe(e):
    kind = e.dxftype()
    if kind == "LINE":
        print(1, e.dxf.start.x, e.dxf.start.y, e.dxf.end.x, e.dxf.end.y)
    elif kind == "CIRCLE":
        print(2, e.dxf.center.x, e.dxf.center.y, e.dxf.radius)
    elif kind == "ARC":
        print(3, e.dxf.center.x, e.dxf.center.y, e.dxf.radius, e.dxf.start_angle % 360, e.dxf.end_angle % 360)
    elif kind == "LWPOLYLINE":
        points = e.get_points("xyseb")
        print(4, int(e.closed), len(points))
        for p in points:
            print(*p)
    elif kind == "TEXT":
        align = e.dxf.get("align_point", (0, 0))
        print(5, e.dxf.insert.x, e.dxf.insert.y, e.dxf.height, e.dxf.rotation, e.dxf.halign, e.dxf.valign,
              align[0], align[1], e.dxf.width)
        codes(e.dxf.text)
    elif kind == "INSERT":
        attribs = list(e.attribs)
        print(6, e.dxf.insert.x, e.dxf.insert.y, e.dxf.xscale, e.dxf.yscale, e.dxf.rotation, len(attribs))
        for a in attribs:
            codes(a.dxf.text)


def block(path):
    doc = ezdxf.new("R2010")
    doc.styles.new("COTES", dxfattribs={"font": "txt", "height": 1.5})
    borne = doc.blocks.new("BORNE")
    borne.add_circle((0, 0), 0.5)
    borne.add_attdef("NUM", (1, 0), "0", dxfattribs={"prompt": "Numéro", "height": 0.5})
    borne.add_attdef("ALT", (1, -1), "0.00", dxfattribs={"prompt": "Altitude", "height": 0.5})
    borne.add_attdef("TYPE", (1, -2), "B", dxfattribs={"flags": 2, "height": 0.5})
    borne.add_attdef("CODE", (1, -3), "P", dxfattribs={"prompt": "Code", "flags": 8, "height": 0.5})
    doc.saveas(path)


def layers(path):
    doc = ezdxf.readfile(path)
    current = doc.header.get("$CLAYER", "0")
    for layer in doc.layers:
        codes(layer.dxf.name)
        print(abs(layer.dxf.color), int(layer.is_on()), int(layer.is_frozen()), int(layer.is_locked()),
              int(layer.dxf.name.upper() == current.upper()))


def blocks(path):
    for block in ezdxf.readfile(path).blocks:
        if block.name.lower() in ("*model_space", "*paper_space"):
            continue
        codes(block.name)
        print(block.block.dxf.base_point.x, block.block.dxf.base_point.y, len(block))
        for e in block:
            describe(e)


def symbol(path):
    doc = ezdxf.new("R2010")
    doc.header["$INSBASE"] = (1, 1, 0)
    doc.blocks.new("CROIX").add_line((-1, 0), (1, 0))
    msp = doc.modelspace()
    msp.add_circle((1, 1), 0.5)
    msp.add_attdef("NUM", (2, 1), "0", dxfattribs={"prompt": "Numéro", "height": 0.5})
    msp.add_blockref("CROIX", (1, 1))
    doc.saveas(path)


def version(path):
    doc = ezdxf.readfile(path)
    print(int(doc.dxfversion[2:]), len(doc.modelspace()))


if __name__ == "__main__":
    {"entities": entities, "block": block, "layers": layers, "version": version,
     "blocks": blocks, "symbol": symbol}[sys.argv[1]](sys.argv[2])
