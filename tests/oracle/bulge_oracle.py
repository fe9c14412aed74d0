"""Arcs of random bulge segments as an outside DXF library computes them.

Prints one line per segment: start x, y, end x, y, bulge, then the centre x, y, the radius, and the start
and end angles (from the centre to the arc's ends, counter-clockwise, radians) as ezdxf's bulge_to_arc
gives them. Chords run from 0.1 to 100 and bulges from 0.01 to 5 in size, of either sign.
"""
import math
import random
import sys

from ezdxf.math import bulge_to_arc

count, seed = int(sys.argv[1]), int(sys.argv[2])
rng = random.Random(seed)
for _ in range(count):
    start = (rng.uniform(-1000, 1000), rng.uniform(-1000, 1000))
    direction, length = rng.uniform(0, 2 * math.pi), rng.uniform(0.1, 100)
    end = (start[0] + length * math.cos(direction), start[1] + length * math.sin(direction))
    bulge = rng.choice((-1, 1)) * rng.uniform(0.01, 5)
    centre, start_angle, end_angle, radius = bulge_to_arc(start, end, bulge)
    values = start + end + (bulge, centre.x, centre.y, radius, start_angle, end_angle)
    print(" ".join(repr(v) for v in values))
