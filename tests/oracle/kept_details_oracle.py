"""ezdxf as the judge of details a drawing must keep through the host, one kind of drawing at a time.

write KIND PATH: writes a drawing of KIND and prints 0:
  blocks  (R2010) blocks whose BLOCK markers carry flags (anonymous, attributes, external reference), an
          external reference's path and a description;
  arrows  (R12) a dimension style naming its arrow blocks (DIMBLK, DIMBLK1, DIMBLK2);
  carets  (binary DXF) texts holding carets and control characters as they are.
compare KIND REFERENCE OTHER...: one row per OTHER: how many details REFERENCE holds and how many OTHER holds
the same; each difference is printed as a line of text. OTHER is ASCII DXF, whose texts hold control
characters and carets as caret codes ("^I", "^ "), decoded here as the DXF reference defines them.
"""
import logging
import re
import sys

import ezdxf

logging.getLogger("ezdxf").setLevel(logging.ERROR)

TEXTS = ["tab\there", "caret ^ sign", "^J is no line feed", "ends with ^", "bell\x07 and escape\x1b"]


def write(kind, path):
    if kind == "blocks":
        doc = ezdxf.new("R2010")
        doc.blocks.new("SITE", dxfattribs={"flags": 4, "xref_path": "C:\\plans\\site.dxf",
                                           "description": "site plan"})
        doc.blocks.new("TREE", dxfattribs={"description": "a tree"}).add_circle((0, 0), 1)
        doc.blocks.new_anonymous_block().add_line((0, 0), (1, 1))
        doc.blocks.new("POINT").add_attdef("ALTITUDE", (0, 0))
        doc.saveas(path)
    elif kind == "arrows":
        doc = ezdxf.new("R12")
        doc.blocks.new("TICK").add_line((-1, -1), (1, 1))
        doc.blocks.new("ACE").add_line((0, 0), (1, 0))
        style = doc.dimstyles.new("SURVEY")
        style.dxf.dimsah = 1
        style.dxf.dimblk, style.dxf.dimblk1, style.dxf.dimblk2 = "TICK", "TICK", "ACE"
        doc.saveas(path)
    else:
        doc = ezdxf.new("R2010")
        for i, text in enumerate(TEXTS):
            doc.modelspace().add_text(text, dxfattribs={"insert": (0, i)})
        doc.saveas(path, fmt="bin")
    print(0)


def caret_decoded(text):
    return re.sub(r"\^([ @-_])", lambda m: "^" if m.group(1) == " " else chr(ord(m.group(1)) - 64), text)


def details(kind, path, decode):
    doc = ezdxf.readfile(path)
    if kind == "blocks":
        return {block.name: (block.block.dxf.flags, block.block.dxf.get("xref_path", ""),
                             block.block.dxf.get("description", ""))
                for block in doc.blocks if not block.name.lower().endswith("_space")}
    if kind == "arrows":
        return {style.dxf.name: (style.dxf.get("dimblk"), style.dxf.get("dimblk1"), style.dxf.get("dimblk2"))
                for style in doc.dimstyles}
    texts = doc.modelspace().query("TEXT")
    return {round(text.dxf.insert.y): caret_decoded(text.dxf.text) if decode else text.dxf.text
            for text in texts}


def compare(kind, reference, others):
    expected = details(kind, reference, False)
    for path in others:
        found = details(kind, path, True)
        alike = 0
        for key, value in expected.items():
            if found.get(key) == value:
                alike += 1
            else:
                print(f"{path}: {key!r} {value!r} came back as {found.get(key)!r}")
        print(len(expected), alike)


if __name__ == "__main__":
    if sys.argv[1] == "write":
        write(sys.argv[2], sys.argv[3])
    else:
        compare(sys.argv[2], sys.argv[3], sys.argv[4:])
