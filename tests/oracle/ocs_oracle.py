"""Arbitrary-axis systems of random normals as an outside DXF library computes them.

Prints one line per normal: the normal as given (not unit), then the x, y and z axes of its object
coordinate system. A quarter of the normals lie near the world z axis, where the rule switches axes, and
every normal has a random length, since the rule is decided on the unit normal.
"""
import math
import random
import sys

from ezdxf.math import OCS

count, seed = int(sys.argv[1]), int(sys.argv[2])
rng = random.Random(seed)
for i in range(count):
    if i % 4 == 0:
        n = (rng.uniform(-0.02, 0.02), rng.uniform(-0.02, 0.02), rng.choice((-1.0, 1.0)))
    else:
        n = (rng.gauss(0, 1), rng.gauss(0, 1), rng.gauss(0, 1))
    length = math.sqrt(sum(c * c for c in n))
    scale = rng.uniform(0.05, 20.0) / length
    n = tuple(c * scale for c in n)
    ocs = OCS(n)
    axes = (ocs.ux, ocs.uy, ocs.uz)
    print(" ".join(repr(v) for v in n + tuple(c for axis in axes for c in axis)))
