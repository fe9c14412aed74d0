"""ezdxf as the outside judge of entities kept through a host that did not know their class.

compare NAME REFERENCE OTHER...: reads every file and prints one row per OTHER: how many entities of the DXF
name NAME it holds, and how many of them have, under the same handle, exactly the groups of the REFERENCE's.
"""
import sys

import ezdxf


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


if __name__ == "__main__":
    if len(sys.argv) < 5 or sys.argv[1] != "compare":
        sys.exit("usage: proxy_oracle.py compare NAME REFERENCE OTHER...")
    compare(sys.argv[2], sys.argv[3], sys.argv[4:])
