"""ezdxf as the writer of drawings from other programs, and as the judge of what zhost made of them.

make FOLDER: writes the corpus (ASCII and binary DXF) into FOLDER and prints one row per drawing: its number (the drawing is
drawing-NUMBER.dxf), 1 when its handles are its own (0 when it names none), its version and the version it is
to be saved in, as their numbers (AC1009 is 1009; an R12 drawing goes to AC1015).

compare SOURCE SAVED HANDLES: one row: the entities of SOURCE (every block and layout), how many of them SAVED
holds alike (type, layer, geometry to 1e-9, texts exact, vertices and attributes; under the same handle when
HANDLES is 1), the problems ezdxf's audit finds in SOURCE and in SAVED, SAVED's version as its number
(AC1015 is 1015), how many \\U+ escapes SAVED holds from AC1021 on (where texts are UTF-8), and 1 when
GDAL's ogrinfo finds the same features by layer in SAVED as in SOURCE (or cannot judge SOURCE: a binary file,
or one whose texts hold NUL bytes, which it does not read).
"""
import collections
import io
import logging
import os
import re
import subprocess
import sys

import ezdxf
from ezdxf.lldxf.validator import is_binary_dxf_file

logging.getLogger("ezdxf").setLevel(logging.ERROR)

KEYS = ("layer", "color", "linetype", "start", "end", "center", "radius", "start_angle", "end_angle", "insert",
        "text", "height", "rotation", "tag", "name", "location", "flags", "halign", "valign", "align_point",
        "vtx0", "vtx1", "vtx2", "vtx3", "thickness", "extrusion", "bulge", "prompt", "style", "m_count", "n_count",
        "m_smooth_density", "n_smooth_density", "smooth_type")


def dxf_decoded(text):
    """Texts as the DXF reference reads them: ^@ to ^_ the control codes, "^ " the caret, \\U+XXXX a character
    (ezdxf reads the text as it stands)."""
    text = re.sub(r"\^([ @-_])", lambda m: "^" if m.group(1) == " " else chr(ord(m.group(1)) - 64), text)
    return re.sub(r"\\U\+([0-9A-Fa-f]{4})", lambda m: chr(int(m.group(1), 16)), text)


def rounded(value, decode):
    if isinstance(value, str):
        return dxf_decoded(value) if decode else value
    if isinstance(value, float):
        return round(value, 9) + 0.0
    if hasattr(value, "x"):
        return tuple(rounded(c, decode) for c in value)
    return value


def signature(entity, handles, decode):
    dxf = entity.dxf
    # A value left out is its default; the alignment point of a text aligned at its insertion point means
    # nothing.
    aligned = dxf.is_supported("halign") and (dxf.get("halign", 0) or dxf.get("valign", 0))
    keys = [key for key in KEYS if dxf.is_supported(key) and (key != "align_point" or aligned)]
    found = [(key, rounded(dxf.get(key, dxf.get_default(key)), decode)) for key in keys]
    if handles:
        found.append(("handle", dxf.handle))
    if entity.dxftype() == "POLYLINE":
        found.append(tuple(signature(vertex, handles, decode) for vertex in entity.vertices))
    if entity.dxftype() == "INSERT":
        found.append(tuple(signature(attrib, handles, decode) for attrib in entity.attribs))
    return (entity.dxftype(), tuple(found))


def layout_name(block):
    # R12 names the layouts' blocks with a $, later versions with a *.
    name = block.name.upper()
    return "*" + name[1:] if name in ("$MODEL_SPACE", "$PAPER_SPACE") else name


def signatures(doc, handles, decode):
    found = {}
    for block in doc.blocks:
        found[layout_name(block)] = [signature(e, handles, decode) for e in block]
    found["*MODEL_SPACE"] = [signature(e, handles, decode) for e in doc.modelspace()]
    return found


def audit_problems(doc):
    auditor = doc.audit()
    return len(auditor.errors) + len(auditor.fixes)


def compare(source, saved, handles):
    first, second = ezdxf.readfile(source), ezdxf.readfile(saved)
    problems = audit_problems(first), audit_problems(second)
    # A binary file's texts stand as they are, with no caret codes or escapes.
    want = signatures(first, handles, not is_binary_dxf_file(source))
    have = signatures(second, handles, True)
    total = sum(len(v) for v in want.values())
    alike = sum(sum(1 for a, b in zip(entities, have.get(name, [])) if a == b) for name, entities in want.items())
    version = int(second.dxfversion[2:])
    with open(saved, "rb") as f:
        escapes = f.read().count(b"\\U+") if version >= 1021 else 0
    gdal_alike = int(not gdal_reads(source) or features_by_layer(saved) == features_by_layer(source))
    print(total, alike, problems[0], problems[1], version, escapes, gdal_alike)


def gdal_reads(path):
    with open(path, "rb") as f:
        content = f.read()
    return not is_binary_dxf_file(path) and b"\0" not in content


def features_by_layer(path):
    listing = subprocess.run(["ogrinfo", "-ro", "-al", "-q", path], capture_output=True, text=True,
                             check=True).stdout
    layers = re.findall(r"^  Layer \(String\) = (.*)$", listing, re.MULTILINE)
    return sorted(collections.Counter(layers).items())


def survey(doc):
    """Entities a surveyor receives: lines, circles, arcs, texts, polylines, points, blocks with heights,
    meshes."""
    doc.layers.add("SURVEY", color=3)
    space = doc.modelspace()
    space.add_line((0, 0), (1.25, 1), dxfattribs={"layer": "SURVEY"})
    space.add_circle((2, 2), 1.5)
    space.add_arc((0, 0), 2, 10, 80)
    space.add_text("Station 12", dxfattribs={"height": 2.5, "rotation": 30}).set_placement((1, 2))
    space.add_polyline2d([(0, 0), (1, 0), (1, 1)], close=True)
    space.add_polyline3d([(0, 0, 1), (1, 0, 2), (2, 2, 3.125)])
    space.add_point((5, 5, 101.37))
    block = doc.blocks.new("PT")
    block.add_circle((0, 0), 0.2)
    block.add_attdef("ALT", (0, 0), dxfattribs={"height": 0.5})
    for i, height in enumerate(("101.37", "99.80")):
        space.add_blockref("PT", (10 + i, 10)).add_attrib("ALT", height, (10 + i, 10))
    meshes(doc)


def meshes(doc):
    """A terrain as a polyface mesh (a face with an invisible edge, a triangle) and as a polygon mesh closed in N."""
    doc.layers.add("TERRAIN")
    space = doc.modelspace()
    faces = space.add_polyface(dxfattribs={"layer": "TERRAIN"})
    faces.append_face([(0, 0, 100.5), (10, 0, 101.25), (10, 10, 99.875), (0, 10, 100)])
    faces.append_face([(10, 0, 101.25), (20, 0, 102), (10, 10, 99.875)])
    record = next(v for v in faces.vertices if v.is_face_record)
    record.dxf.vtx1 = -record.dxf.vtx1
    grid = space.add_polymesh((3, 4), dxfattribs={"layer": "TERRAIN", "m_smooth_density": 6})
    grid.dxf.flags |= 32
    for i in range(3):
        for j in range(4):
            grid.set_mesh_vertex((i, j), (i * 5.5, j * 2.25, 100 + i * j / 3))


def without_handles(text):
    """The drawing as older programs write it: no handles, no $HANDLING and $HANDSEED."""
    lines = text.split("\n")
    kept, i = [], 0
    while i + 1 < len(lines):
        code, value = lines[i].strip(), lines[i + 1].strip()
        if code in ("5", "105"):
            i += 2
        elif code == "9" and value in ("$HANDLING", "$HANDSEED"):
            i += 4
        else:
            kept += lines[i:i + 2]
            i += 2
    return "\n".join(kept + lines[i:]) + ("" if kept[-1:] == [""] else "\n")


def written(doc):
    stream = io.StringIO()
    doc.write(stream)
    return stream.getvalue()


def make(folder):
    corpus = []
    doc = ezdxf.new("R12")
    survey(doc)
    corpus.append((written(doc), 1, 1009, 1015))
    corpus.append((without_handles(corpus[-1][0]), 0, 1009, 1015))
    doc = ezdxf.new("R2000")
    survey(doc)
    doc.modelspace().add_text("NUL\x00tab\tcaret^code\x1f^ end", dxfattribs={"height": 1})
    corpus.append((written(doc), 1, 1015, 1015))
    for version in ("R2000", "R2004", "R2007", "R2010", "R2013", "R2018"):
        doc = ezdxf.new(version)
        survey(doc)
        doc.modelspace().add_text("Ωμέγα 東京 Œuvre", dxfattribs={"height": 1})
        corpus.append((written(doc), 1, int(doc.dxfversion[2:]), int(doc.dxfversion[2:])))
    for number, (text, handles, version, saved) in enumerate(corpus):
        # Texts outside the code page as \U+ escapes up to AC1018, as ezdxf saves them.
        encoding = "utf-8" if version >= 1021 else "cp1252"
        with open(os.path.join(folder, "drawing-%d.dxf" % number), "w", encoding=encoding, errors="dxfreplace",
                  newline="") as f:
            f.write(text)
        print(number, handles, version, saved)
    # Binary DXF: one byte a code in R12, two from R13 on.
    for number, version in enumerate(("R12", "R2018"), len(corpus)):
        doc = ezdxf.new(version)
        survey(doc)
        doc.modelspace().add_text("Œuvre ^ tab\tend", dxfattribs={"height": 1})
        doc.saveas(os.path.join(folder, "drawing-%d.dxf" % number), fmt="bin")
        print(number, 1, int(doc.dxfversion[2:]), max(1015, int(doc.dxfversion[2:])))


if __name__ == "__main__":
    command = sys.argv[1]
    if command == "make":
        make(sys.argv[2])
    elif command == "compare":
        compare(sys.argv[2], sys.argv[3], sys.argv[4] == "1")
