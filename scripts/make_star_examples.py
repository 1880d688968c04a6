#!/usr/bin/env python3
"""Writes the face lists of uniform star polyhedra and their exact coordinates.

For each solid, examples/stars/<name>.txt lists its faces in the input format (star faces in
the order their edges are drawn, ended by -2) and examples/stars/<name>.off holds the exact
coordinates with unit edges, which scripts/check_congruent.py compares relaxed shapes with.

Two constructions, both without numpy:
- the star siblings of convex solids: replacing the golden ratio phi by -1/phi (sqrt 2 by
  -sqrt 2) in the convex solid's coordinates keeps every squared distance's rational part and
  so the edge graph; the convex hull's faces become the star solid's faces (a pentagon turns
  into a pentagram drawn in the same vertex order);
- the snub solids | p q r: the orbit under the rotations of the icosahedron of a point v
  that lies as far from its images under three rotations A, B, C (ABC = 1) as needed for
  |v - Av| = |v - Bv| = |v - Cv|; the faces are the orbits of v under A, B and C and the
  snub triangles v, Bv, A^-1 v.
The faces of every solid are then checked: planar regular polygons of unit edge, every edge
in exactly two faces. Run from the repository's top folder.
"""
import itertools
import math
import os
import random
import sys

sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_examples import PHI, cross, dot, even_permutations, hull_faces, norm, sub  # noqa: E402

PSI = -1 / PHI   # the conjugate of phi
OUT = os.path.join("examples", "stars")


# --- star siblings by conjugation ---------------------------------------------------------

def signed(p):
    """The sign variants of p in a fixed order (a zero keeps one sign)."""
    return [tuple(s * c for s, c in zip(signs, p)) for signs in itertools.product([1, -1], repeat=3)]


def icosahedral(points_of):
    """All even permutations and sign changes of each triple points_of(x), for phi = x, in an
    order that depends on nothing but the triples' structure (duplicates stay; see keep)."""
    return lambda x: [q for p in points_of(x) for e in even_permutations(p) for q in signed(e)]


ICOSAHEDRON = icosahedral(lambda x: [(0, 1, x)])
ICOSIDODECAHEDRON = icosahedral(lambda x: [(0, 0, x), (0.5, x / 2, x * x / 2)])
RHOMBICOSIDODECAHEDRON = icosahedral(lambda x: [(1, 1, x ** 3), (x * x, x, 2 * x),
                                                (2 + x, 0, x * x)])


def rhombicuboctahedron(r2):
    return [q for p in itertools.permutations((1, 1, 1 + r2)) for q in signed(p)]


def keep(points):
    """Indices of the first copy of each point."""
    out = []
    for i, p in enumerate(points):
        if all(norm(sub(p, points[j])) > 1e-9 for j in out):
            out.append(i)
    return out


def conjugate_sibling(build, convex_value, star_value):
    """The star solid whose coordinates are build(star_value), with the faces of the convex
    solid build(convex_value): both list their points in the same order."""
    kept = keep(build(convex_value))
    convex = [list(build(convex_value)[i]) for i in kept]
    star = [list(build(star_value)[i]) for i in kept]
    assert len(keep(star)) == len(star)
    faces = [corners for corners, _ in hull_faces(convex)]
    return star, faces


# --- snub solids -----------------------------------------------------------------------------

def rotation(axis, angle):
    x, y, z = [c / norm(axis) for c in axis]
    c, s = math.cos(angle), math.sin(angle)
    t = 1 - c
    return ((t * x * x + c, t * x * y - s * z, t * x * z + s * y),
            (t * x * y + s * z, t * y * y + c, t * y * z - s * x),
            (t * x * z - s * y, t * y * z + s * x, t * z * z + c))


def apply(m, p):
    return [dot(m[i], p) for i in range(3)]


def mul(a, b):
    return tuple(tuple(sum(a[i][k] * b[k][j] for k in range(3)) for j in range(3)) for i in range(3))


def same(a, b, tol=1e-9):
    return all(abs(a[i][j] - b[i][j]) < tol for i in range(3) for j in range(3))


def icosahedral_rotations():
    """The 60 rotations with their axis (unit) and angle in (0, pi]: 5-fold axes through the
    icosahedron's vertices, 3-fold through its face centres, 2-fold through its edge middles."""
    ico = [list(ICOSAHEDRON(PHI)[i]) for i in keep(ICOSAHEDRON(PHI))]
    axes = {5: [], 3: [], 2: []}
    for p in ico:
        axes[5].append(p)
    for a, b, c in itertools.combinations(ico, 3):
        if all(abs(norm(sub(u, w)) - 2) < 1e-9 for u, w in ((a, b), (b, c), (a, c))):
            axes[3].append([a[i] + b[i] + c[i] for i in range(3)])
    for a, b in itertools.combinations(ico, 2):
        if abs(norm(sub(a, b)) - 2) < 1e-9:
            axes[2].append([a[i] + b[i] for i in range(3)])
    out = [(None, 0.0, rotation((0, 0, 1), 0.0))]
    for n, list_ in axes.items():
        for axis in list_:
            axis = [c / norm(axis) for c in axis]
            for k in range(1, n):
                angle = 2 * math.pi * k / n
                if angle > math.pi + 1e-9:
                    continue   # the same rotation as the opposite axis turned the other way
                m = rotation(axis, angle)
                if not any(same(m, o[2]) for o in out):
                    out.append((axis, angle, m))
    assert len(out) == 60, len(out)
    return out


def solve_snub(A, B, C, start):
    """Newton steps on the unit sphere for |v - Av| = |v - Bv| = |v - Cv|."""
    def residual(v):
        la = norm(sub(v, apply(A, v)))
        return [la - norm(sub(v, apply(B, v))), la - norm(sub(v, apply(C, v)))]

    v = [c / norm(start) for c in start]
    for _ in range(60):
        r = residual(v)
        if max(abs(c) for c in r) < 1e-14:
            break
        # a tangent basis
        t1 = cross(v, [1, 0, 0] if abs(v[0]) < 0.9 else [0, 1, 0])
        t1 = [c / norm(t1) for c in t1]
        t2 = cross(v, t1)
        h = 1e-7
        cols = []
        for t in (t1, t2):
            w = [v[i] + h * t[i] for i in range(3)]
            w = [c / norm(w) for c in w]
            rw = residual(w)
            cols.append([(rw[i] - r[i]) / h for i in range(2)])
        a, b, c, d = cols[0][0], cols[1][0], cols[0][1], cols[1][1]
        det = a * d - b * c
        if abs(det) < 1e-14:
            return None
        x = (d * r[0] - b * r[1]) / det
        y = (-c * r[0] + a * r[1]) / det
        v = [v[i] - x * t1[i] - y * t2[i] for i in range(3)]
        v = [c / norm(v) for c in v]
    if max(abs(c) for c in residual(v)) > 1e-11:
        return None
    return v


def orbit_polygon(m, v, points, index):
    """The corners of the orbit of v under m, in the order m visits them."""
    corners = []
    p = v
    while True:
        corners.append(index(p))
        p = apply(m, p)
        if norm(sub(p, v)) < 1e-7:
            return corners


def snub(rotations, kinds, radius):
    """The snub solid | p q r: kinds gives the (order, angle) of A, B and C; of the solutions,
    the one whose circumradius at unit edge is nearest `radius`."""
    def pick(order, angle):
        return [r for r in rotations if r[0] is not None and abs(r[1] - angle) < 1e-9]

    A = pick(*kinds[0])[0]   # all A are alike under the group: keep one, try every B
    best = None
    rng = random.Random(1)
    starts = [[rng.uniform(-1, 1) for _ in range(3)] for _ in range(40)]
    a = A[2]
    for B in pick(*kinds[1]):
        AB = mul(a, B[2])
        C = next(r for r in rotations if same(mul(AB, r[2]), rotations[0][2]))
        if C[0] is None or abs(C[1] - kinds[2][1]) > 1e-9:
            continue
        for s in starts:
            v = solve_snub(a, B[2], C[2], s)
            if v is None:
                continue
            edge = norm(sub(v, apply(a, v)))
            if edge < 1e-6:
                continue
            r = 1 / edge
            if best is None or abs(r - radius) < abs(best[0] - radius):
                best = (r, v, a, B[2], C[2])
    r, v, a, b, c = best
    points = [[x * r for x in apply(g[2], v)] for g in rotations]

    def index(p):
        p = [x * r for x in p]
        return min(range(len(points)), key=lambda m: norm(sub(points[m], p)))
    faces = set()
    out = []
    inv_a = mul(a, mul(a, mul(a, a)))  # A has order 5: A^4 = A^-1
    base = [orbit_polygon(a, v, points, index), orbit_polygon(b, v, points, index),
            [index(v), index(apply(b, v)), index(apply(inv_a, v))]]
    if abs(kinds[2][1] - math.pi) > 1e-9:
        base.append(orbit_polygon(c, v, points, index))
    for corners in base:
        for g in rotations:
            moved = [index(apply(g[2], [x / r for x in points[m]])) for m in corners]
            key = frozenset(moved)
            if key not in faces:
                faces.add(key)
                out.append(moved)
    return points, out


# --- checks and files -------------------------------------------------------------------------

def face_step(points, corners):
    """The step d of a regular polygon {n/d} with the given corners in drawing order."""
    n = len(corners)
    a, b, c = (points[corners[k]] for k in range(3))
    u, w = sub(a, b), sub(c, b)
    angle = math.acos(max(-1, min(1, dot(u, w) / (norm(u) * norm(w)))))
    # the corner angle of {n/d} is pi (1 - 2d/n)
    d = round(n * (1 - angle / math.pi) / 2)
    return d


def check(points, faces):
    edges = {}
    for corners in faces:
        n = len(corners)
        d = face_step(points, corners)
        centre = [sum(points[m][i] for m in corners) / n for i in range(3)]
        radius = 1 / (2 * math.sin(math.pi * d / n))
        for k in range(n):
            p, q = corners[k], corners[(k + 1) % n]
            assert abs(norm(sub(points[p], points[q])) - 1) < 1e-9, "edge not unit"
            assert abs(norm(sub(points[p], centre)) - radius) < 1e-9, "face not regular"
            key = (min(p, q), max(p, q))
            edges[key] = edges.get(key, 0) + 1
    assert all(c == 2 for c in edges.values()), "an edge not in two faces"
    return len(edges)


def write(name, title, points, faces):
    os.makedirs(OUT, exist_ok=True)
    edges = check(points, faces)
    kinds = {}
    steps = []
    for corners in faces:
        d = face_step(points, corners)
        steps.append(d)
        label = "%d" % len(corners) if d == 1 else "%d/%d" % (len(corners), d)
        kinds[label] = kinds.get(label, 0) + 1
    # (no braces: a comment of the input may not hold one)
    summary = ", ".join("%d faces %s" % (c, k) for k, c in sorted(kinds.items()))
    with open(os.path.join(OUT, name + ".txt"), "w", newline="") as f:
        f.write("' %s: %d vertices, %s\r\n{\r\n" % (title, len(points), summary))
        for corners, d in zip(faces, steps):
            f.write(",".join(str(c + 1) for c in corners) + ",-" + str(d) + ",\r\n")
        f.write("}\r\n")
    with open(os.path.join(OUT, name + ".off"), "w", newline="\n") as f:
        f.write("# %s with unit edges: %s\nOFF\n%d %d %d\n" % (title, summary, len(points),
                                                                len(faces), edges))
        for p in points:
            f.write("%.15f %.15f %.15f\n" % tuple(p))
        for corners in faces:
            f.write("%d %s\n" % (len(corners), " ".join(map(str, corners))))
    radius = max(norm(p) for p in points)
    print("%-45s %3d vertices  %s  R %.4f" % (name, len(points), summary, radius))


def main():
    siblings = [
        ("great_icosahedron", "Great icosahedron", ICOSAHEDRON, PHI, PSI),
        ("great_icosidodecahedron", "Great icosidodecahedron", ICOSIDODECAHEDRON, PHI, PSI),
        ("great_rhombicosidodecahedron", "Nonconvex great rhombicosidodecahedron",
         RHOMBICOSIDODECAHEDRON, PHI, PSI),
        ("great_rhombicuboctahedron", "Nonconvex great rhombicuboctahedron",
         rhombicuboctahedron, math.sqrt(2), -math.sqrt(2)),
    ]
    for name, title, build, convex_value, star_value in siblings:
        points, faces = conjugate_sibling(build, convex_value, star_value)
        edge = min(norm(sub(points[f[0]], points[f[1]])) for f in faces)
        points = [[c / edge for c in p] for p in points]
        write(name, title, points, faces)
    rotations = icosahedral_rotations()
    five = (5, 2 * math.pi / 5)
    five2 = (5, 4 * math.pi / 5)
    three = (3, 2 * math.pi / 3)
    two = (2, math.pi)
    # kinds of A, B, C and the circumradius at unit edge that tells the solutions apart
    snubs = [
        ("snub_dodecadodecahedron", "Snub dodecadodecahedron | 2 5/2 5", (five2, five, two), 1.2744),
        ("great_snub_icosidodecahedron", "Great snub icosidodecahedron | 2 5/2 3",
         (five2, three, two), 0.8163),
        ("great_inverted_snub_icosidodecahedron", "Great inverted snub icosidodecahedron | 5/3 2 3",
         (five2, three, two), 0.6450),
        ("great_retrosnub_icosidodecahedron", "Great retrosnub icosidodecahedron | 3/2 5/3 2",
         (five2, three, two), 0.5799),
        ("small_snub_icosicosidodecahedron", "Small snub icosicosidodecahedron | 5/2 3 3",
         (five2, three, three), 1.4582),
    ]
    for name, title, kinds, radius in snubs:
        points, faces = snub(rotations, kinds, radius)
        write(name, title, points, faces)


if __name__ == "__main__":
    main()
