#!/usr/bin/env python3
"""Tells which relaxed models are congruent to an exact solid.

    python3 scripts/check_congruent.py EXACT.off RELAXED.off [RELAXED.off ...]

Two models of unit edges are taken as congruent when their sorted lists of pairwise vertex
distances agree within 1e-3 (a mirror image counts as congruent). Prints one line per relaxed
file, "congruent" or the largest difference, and exits 0 when at least one file is congruent.
"""
import math
import sys


def read_off(path):
    words = []
    with open(path) as f:
        for line in f:
            line = line.split("#", 1)[0].split()
            words.extend(line)
    # "OFF", then the counts, then the vertices (an OFF file of this program has three
    # coordinates per vertex)
    assert words[0] == "OFF", path + " is no OFF file"
    count = int(words[1])
    values = [float(w) for w in words[4:4 + 3 * count]]
    return [values[3 * i:3 * i + 3] for i in range(count)]


def distances(points):
    out = []
    for i in range(len(points)):
        for j in range(i + 1, len(points)):
            out.append(math.dist(points[i], points[j]))
    return sorted(out)


def difference(exact, relaxed):
    if len(exact) != len(relaxed):
        return math.inf
    return max(abs(a - b) for a, b in zip(exact, relaxed))


def main():
    if len(sys.argv) < 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    exact = distances(read_off(sys.argv[1]))
    found = False
    for path in sys.argv[2:]:
        d = difference(exact, distances(read_off(path)))
        if d < 1e-3:
            found = True
            print("%s: congruent" % path)
        else:
            print("%s: differs by %.3g" % (path, d))
    return 0 if found else 1


if __name__ == "__main__":
    sys.exit(main())
