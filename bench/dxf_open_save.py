#!/usr/bin/python3
"""Opening and saving a drawing of one LWPOLYLINE of a million vertices (DXF R2000), or of as many small
LWPOLYLINEs of three vertices each (--entities), whole processes timed side by side in one run: zhost, ezdxf
(readfile + saveas) and the plain from_chars copy. Prints each one's CPU time and peak memory, and the
ratios the figures are judged by. zhost and the plain copy, quick, run
several times, one after the other in turn, and keep their best, so that a busy spell of the machine falls
on both alike and does not decide the ratio between them.

It first times zhost's start-up: a one-line script run with the plug-in loaded, beside the same script run by
zhost alone (the anchor), as the ratio of their median CPU times over STARTUP_ROUNDS runs in turn.

usage: dxf_open_save.py BIN_DIR [VERTICES] [--entities]   (BIN_DIR holds zhost and dxf_plain_copy, ../lib
the plug-in; with --entities, VERTICES counts the polylines)
"""
import math
import os
import statistics
import subprocess
import sys
import tempfile

import ezdxf


def drawing(path, count):
    doc = ezdxf.new("R2000")
    points = []
    for i in range(count):
        a = 2 * math.pi * i / count
        r = 5000 + 40 * math.sin(a * 300)
        points.append((652000 + r * math.cos(a), 6234000 + r * math.sin(a), 0, 0, 0.02 if i % 4 == 0 else 0))
    doc.modelspace().add_lwpolyline(points, format="xyseb", close=True)
    doc.saveas(path)


def entities(path, count):
    """`count` triangles on a grid of 1,000 columns, as a plan of many small features is."""
    doc = ezdxf.new("R2000")
    space = doc.modelspace()
    for i in range(count):
        x, y = (i % 1000) * 10.0, (i // 1000) * 10.0
        space.add_lwpolyline([(x, y), (x + 5, y), (x + 5, y + 5)])
    doc.saveas(path)


def timed(argv):
    """CPU seconds (user + system) and peak resident kilobytes of one child process."""
    # Spawned rather than forked, so that copying and dropping this interpreter's memory is not counted in
    # the child's time; what the programs print (zhost's notes) is not part of the figures.
    pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=[(os.POSIX_SPAWN_OPEN, 1, os.devnull,
                                                                    os.O_WRONLY, 0)])
    _, status, usage = os.wait4(pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{os.path.basename(argv[0])} failed: {argv}")
    return usage.ru_utime + usage.ru_stime, usage.ru_maxrss


ROUNDS = 7  # of zhost and the plain copy in turn; ezdxf, slow and far behind, runs once


def best_in_turn(runs, rounds):
    """Each program's least CPU time and peak memory over `rounds` rounds that run every one in turn."""
    times = {name: [] for name in runs}
    for _ in range(rounds):
        for name, argv in runs.items():
            times[name].append(timed(argv))
    return {name: (min(s for s, _ in t), max(p for _, p in t)) for name, t in times.items()}


STARTUP_ROUNDS = 101


def startup(bin_dir, work):
    """Median CPU seconds of zhost running a one-line script alone and with the plug-in loaded."""
    script = os.path.join(work, "one_line.scr")
    with open(script, "w") as out:
        out.write("(princ 1)\n")
    zhost = os.path.join(bin_dir, "zhost")
    plugin = os.path.join(bin_dir, "..", "lib", "ZortaPoly2021x64.so")
    runs = {"alone": [zhost, "--script", script], "plug-in": [zhost, "--load", plugin, "--script", script]}
    times = {name: [] for name in runs}
    for _ in range(STARTUP_ROUNDS):
        for name, argv in runs.items():
            times[name].append(timed(argv)[0])
    return {name: statistics.median(t) for name, t in times.items()}


def main():
    arguments = [a for a in sys.argv[1:] if a != "--entities"]
    many = len(arguments) < len(sys.argv) - 1
    if len(arguments) not in (1, 2):
        sys.exit(__doc__)
    bin_dir = arguments[0]
    count = int(arguments[1]) if len(arguments) == 2 else 1_000_000
    with tempfile.TemporaryDirectory() as work:
        started = startup(bin_dir, work)
        print(f"start-up: zhost with the plug-in {started['plug-in'] * 1000:.2f} ms CPU, zhost alone "
              f"{started['alone'] * 1000:.2f} ms: {started['plug-in'] / started['alone']:.2f}x")
        source = os.path.join(work, "outline.dxf")
        (entities if many else drawing)(source, count)
        size_kb = os.path.getsize(source) / 1024
        quick = {
            "zhost": [os.path.join(bin_dir, "zhost"), source, "--save", os.path.join(work, "zhost.dxf")],
            "plain": [os.path.join(bin_dir, "dxf_plain_copy"), source, os.path.join(work, "plain.dxf")],
        }
        results = best_in_turn(quick, ROUNDS)
        results["ezdxf"] = timed([sys.executable, "-c",
                                  "import sys, ezdxf; ezdxf.readfile(sys.argv[1]).saveas(sys.argv[2])",
                                  source, os.path.join(work, "ezdxf.dxf")])
    print(f"file: {count} {'polylines' if many else 'vertices'}, {size_kb / 1024:.1f} MiB")
    for name, (seconds, peak_kb) in results.items():
        print(f"{name:6} {seconds:8.3f} s CPU  peak {peak_kb / 1024:8.1f} MiB  ({peak_kb / size_kb:.2f}x the file)")
    zhost = results["zhost"][0]
    print(f"ezdxf / zhost: {results['ezdxf'][0] / zhost:.2f}x   zhost / plain: {zhost / results['plain'][0]:.2f}x")


if __name__ == "__main__":
    main()
