#!/usr/bin/env python3
"""Writes face lists of the Platonic and Archimedean solids and of Johnson solids J1..J83.

Usage: python3 bench/make_solids.py FOLDER

Each solid is built from coordinates (stacks of regular rings, or a known solid augmented,
diminished or gyrated), its faces are found as the convex hull, and the hull is checked: every
point a vertex and every edge of length 1. FOLDER/<name>.txt then lists the faces, corners in
the order of their edges, each face anticlockwise seen from outside. The benchmark suite
(bench/compare_runs.sh) relaxes these inputs; only the faces matter, not the coordinates.
"""
import itertools
import math
import os
import sys

PHI = (1 + math.sqrt(5)) / 2


def sub(a, b):
    return [a[0] - b[0], a[1] - b[1], a[2] - b[2]]


def add(a, b):
    return [a[0] + b[0], a[1] + b[1], a[2] + b[2]]


def mul(a, s):
    return [a[0] * s, a[1] * s, a[2] * s]


def cross(a, b):
    return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def norm(a):
    return math.sqrt(dot(a, a))


def unit(a):
    return mul(a, 1 / norm(a))


def mean(points):
    return mul([sum(p[i] for p in points) for i in range(3)], 1 / len(points))


def hull_faces(points, reach):
    """Faces of the convex hull as corner lists, anticlockwise seen from outside. Only triples
    of points closer than `reach` to each other are tried (a face is at most that wide)."""
    n = len(points)
    near = [[j for j in range(n) if j != i and norm(sub(points[i], points[j])) < reach]
            for i in range(n)]
    faces = []
    seen = set()
    for i in range(n):
        for j, k in itertools.combinations([m for m in near[i] if m > i], 2):
            normal = cross(sub(points[j], points[i]), sub(points[k], points[i]))
            if norm(normal) < 1e-9:
                continue
            normal = unit(normal)
            d = dot(normal, points[i])
            sides = [dot(normal, p) - d for p in points]
            if all(s <= 1e-7 for s in sides):
                pass
            elif all(s >= -1e-7 for s in sides):
                normal = mul(normal, -1)
                d = -d
            else:
                continue
            on_plane = tuple(sorted(m for m in range(n) if abs(dot(normal, points[m]) - d) < 1e-7))
            if on_plane in seen:
                continue
            seen.add(on_plane)
            centre = mean([points[m] for m in on_plane])
            u = unit(sub(points[on_plane[0]], centre))
            v = cross(normal, u)
            faces.append(sorted(on_plane, key=lambda m: math.atan2(
                dot(sub(points[m], centre), v), dot(sub(points[m], centre), u))))
    return faces


def checked_faces(points):
    """The hull's faces when every point is a vertex, every edge has length 1 and every face is
    regular, else None."""
    faces = hull_faces(points, 3.3)
    used = set(m for f in faces for m in f)
    if len(used) != len(points):
        return None
    for f in faces:
        centre = mean([points[m] for m in f])
        for k in range(len(f)):
            if abs(norm(sub(points[f[k]], points[f[(k + 1) % len(f)]])) - 1) > 1e-6:
                return None
            if abs(norm(sub(points[f[k]], centre)) - radius(len(f))) > 1e-6:
                return None  # not a regular polygon: faces of the parts merged into one
    edges = sum(len(f) for f in faces)
    if len(points) - edges // 2 + len(faces) != 2:
        return None
    return faces


def scaled(points):
    shortest = min(norm(sub(a, b)) for a, b in itertools.combinations(points, 2))
    return [mul(p, 1 / shortest) for p in points]


def signs(p):
    out = set()
    for s in itertools.product([1, -1], repeat=3):
        out.add(tuple(c * f if c != 0 else 0.0 for c, f in zip(p, s)))
    return out


def even(p):
    x, y, z = p
    return [(x, y, z), (y, z, x), (z, x, y)]


def every(p):
    return set(itertools.permutations(p))


def points_of(groups, perms):
    out = set()
    for g in groups:
        for q in perms(g):
            out |= signs(q)
    return scaled([list(p) for p in out])


# --- Platonic and Archimedean solids -------------------------------------------------------

def snub_of(points, twist):
    """A snub: every face's corners drawn towards its centre and turned by `twist`."""
    out = []
    for face in checked_faces(points):
        corners = [points[m] for m in face]
        centre = mean(corners)
        normal = unit(centre)
        for c in corners:
            r = sub(c, centre)
            turned = add(mul(r, math.cos(twist)), mul(cross(normal, r), math.sin(twist)))
            out.append(add(centre, mul(turned, 0.6)))
    return out


def snub_faces(points, faces_wanted):
    """Faces of a snub built from rough points: the hull's combinatorics, checked by its count
    of faces instead of its edges (the points are not the true snub's)."""
    faces = hull_faces(points, 100)
    return faces if len(faces) == faces_wanted else None


def platonic_and_archimedean():
    s = {}
    t = PHI
    s["tetrahedron"] = scaled([list(p) for p in signs((1, 1, 1)) if p[0] * p[1] * p[2] > 0])
    s["cube"] = points_of([(1, 1, 1)], every)
    s["octahedron"] = points_of([(1, 0, 0)], every)
    s["dodecahedron"] = points_of([(1, 1, 1), (0, 1 / t, t)], even)
    s["icosahedron"] = points_of([(0, 1, t)], even)
    s["truncated_tetrahedron"] = scaled([list(q) for p in every((3, 1, 1)) for q in signs(p)
                                         if q[0] * q[1] * q[2] > 0])
    s["cuboctahedron"] = points_of([(1, 1, 0)], every)
    s["truncated_cube"] = points_of([(math.sqrt(2) - 1, 1, 1)], every)
    s["truncated_octahedron"] = points_of([(0, 1, 2)], every)
    s["rhombicuboctahedron"] = points_of([(1, 1, 1 + math.sqrt(2))], every)
    s["truncated_cuboctahedron"] = points_of([(1, 1 + math.sqrt(2), 1 + 2 * math.sqrt(2))], every)
    s["icosidodecahedron"] = points_of([(0, 0, t), (0.5, t / 2, t * t / 2)], even)
    s["truncated_dodecahedron"] = points_of([(0, 1 / t, 2 + t), (1 / t, t, 2 * t),
                                             (t, 2, t + 1)], even)
    s["truncated_icosahedron"] = points_of([(0, 1, 3 * t), (1, 2 + t, 2 * t), (t, 2, t ** 3)],
                                           even)
    s["rhombicosidodecahedron"] = points_of([(1, 1, t ** 3), (t * t, t, 2 * t),
                                             (2 + t, 0, t * t)], even)
    s["truncated_icosidodecahedron"] = points_of([
        (1 / t, 1 / t, 3 + t), (2 / t, t, 1 + 2 * t), (1 / t, t * t, 3 * t - 1),
        (2 * t - 1, 2, 2 + t), (t, 3, 2 * t)], even)
    return s


# --- Johnson solids from stacked rings ------------------------------------------------------

def radius(n):
    return 0.5 / math.sin(math.pi / n)


def ring(n, r, turn, z):
    return [[r * math.cos(2 * math.pi * k / n + turn), r * math.sin(2 * math.pi * k / n + turn), z]
            for k in range(n)]


def cap(kind, n):
    """A cap on a base of n corners at z = 0 (corners at angles 2πk/n), growing upwards, without
    the base: "pyramid", "cupola" (n = 2m) or "rotunda" (n = 10)."""
    if kind == "pyramid":
        return [[0.0, 0.0, math.sqrt(1 - radius(n) ** 2)]]
    if kind == "cupola":
        m = n // 2
        top = ring(m, radius(m), math.pi / n, 0.0)
        d = norm(sub(top[0], ring(n, radius(n), 0.0, 0.0)[0]))
        return [[p[0], p[1], math.sqrt(1 - d * d)] for p in top]
    if kind == "rotunda":
        r2 = (2 * PHI * PHI - 1) / (2 * PHI * math.cos(math.pi / 10))
        middle = ring(5, r2, math.pi / 10, math.sqrt(PHI * PHI - r2 * r2))
        top = ring(5, radius(5), 3 * math.pi / 10, math.sqrt(PHI * PHI - radius(5) ** 2))
        return middle + top
    return []


def turned(points, angle, flip=False):
    c, s = math.cos(angle), math.sin(angle)
    return [[c * p[0] - s * p[1], s * p[0] + c * p[1], -p[2] if flip else p[2]] for p in points]


def lifted(points, dz):
    return [[p[0], p[1], p[2] + dz] for p in points]


def stack(n, bottom, middle, top, gyro):
    """A base ring of n corners with `bottom` below it (or nothing), a prism or antiprism
    (`middle`) or nothing between, and `top` above, turned by one corner step when `gyro`."""
    step = 2 * math.pi / n
    points = ring(n, radius(n), 0.0, 0.0)
    if bottom:
        points += turned(cap(bottom, n), 0.0, flip=True)
    height, turn = 0.0, 0.0
    if middle == "prism":
        height = 1.0
    elif middle == "antiprism":
        turn = step / 2
        d = 2 * radius(n) * math.sin(step / 4)
        height = math.sqrt(1 - d * d)
    if middle:
        points += ring(n, radius(n), turn, height)
    if top:
        points += lifted(turned(cap(top, n), turn + (step if gyro else 0.0)), height)
    return points


def ring_johnsons():
    j = {}
    j["J01_square_pyramid"] = stack(4, None, None, "pyramid", False)
    j["J02_pentagonal_pyramid"] = stack(5, None, None, "pyramid", False)
    j["J03_triangular_cupola"] = stack(6, None, None, "cupola", False)
    j["J04_square_cupola"] = stack(8, None, None, "cupola", False)
    j["J05_pentagonal_cupola"] = stack(10, None, None, "cupola", False)
    j["J06_pentagonal_rotunda"] = stack(10, None, None, "rotunda", False)
    for number, n in ((7, 3), (8, 4), (9, 5)):
        j["J%02d_elongated_%d_pyramid" % (number, n)] = stack(n, None, "prism", "pyramid", False)
    for number, n in ((10, 4), (11, 5)):
        j["J%02d_gyroelongated_%d_pyramid" % (number, n)] = stack(n, None, "antiprism", "pyramid",
                                                                  False)
    j["J12_triangular_bipyramid"] = stack(3, "pyramid", None, "pyramid", False)
    j["J13_pentagonal_bipyramid"] = stack(5, "pyramid", None, "pyramid", False)
    for number, n in ((14, 3), (15, 4), (16, 5)):
        j["J%02d_elongated_%d_bipyramid" % (number, n)] = stack(n, "pyramid", "prism", "pyramid",
                                                               False)
    j["J17_gyroelongated_square_bipyramid"] = stack(4, "pyramid", "antiprism", "pyramid", False)
    for number, n, kind in ((18, 6, "cupola"), (19, 8, "cupola"), (20, 10, "cupola"),
                            (21, 10, "rotunda")):
        j["J%02d_elongated_%d_%s" % (number, n, kind)] = stack(n, None, "prism", kind, False)
    for number, n, kind in ((22, 6, "cupola"), (23, 8, "cupola"), (24, 10, "cupola"),
                            (25, 10, "rotunda")):
        j["J%02d_gyroelongated_%d_%s" % (number, n, kind)] = stack(n, None, "antiprism", kind,
                                                                   False)
    h = math.sqrt(3) / 2
    j["J26_gyrobifastigium"] = [[0.5, 0.5, 0], [0.5, -0.5, 0], [-0.5, 0.5, 0], [-0.5, -0.5, 0],
                                [0.5, 0, h], [-0.5, 0, h], [0, 0.5, -h], [0, -0.5, -h]]
    pairs = [(27, 6, "cupola", "cupola", False), (28, 8, "cupola", "cupola", False),
             (29, 8, "cupola", "cupola", True), (30, 10, "cupola", "cupola", False),
             (31, 10, "cupola", "cupola", True), (32, 10, "cupola", "rotunda", False),
             (33, 10, "cupola", "rotunda", True), (34, 10, "rotunda", "rotunda", False)]
    for number, n, low, high, gyro in pairs:
        j["J%02d_bi_%d_%s_%s_%s" % (number, n, low, high, "gyro" if gyro else "ortho")] = stack(
            n, low, None, high, gyro)
    elongated = [(35, 6, "cupola", "cupola", False), (36, 6, "cupola", "cupola", True),
                 (37, 8, "cupola", "cupola", True), (38, 10, "cupola", "cupola", False),
                 (39, 10, "cupola", "cupola", True), (40, 10, "cupola", "rotunda", False),
                 (41, 10, "cupola", "rotunda", True), (42, 10, "rotunda", "rotunda", False),
                 (43, 10, "rotunda", "rotunda", True)]
    for number, n, low, high, gyro in elongated:
        j["J%02d_elongated_bi_%d_%s_%s_%s" % (number, n, low, high,
                                             "gyro" if gyro else "ortho")] = stack(
            n, low, "prism", high, gyro)
    for number, n, low, high in ((44, 6, "cupola", "cupola"), (45, 8, "cupola", "cupola"),
                                 (46, 10, "cupola", "cupola"), (47, 10, "cupola", "rotunda"),
                                 (48, 10, "rotunda", "rotunda")):
        j["J%02d_gyroelongated_bi_%d_%s_%s" % (number, n, low, high)] = stack(
            n, low, "antiprism", high, False)
    return j


# --- Johnson solids from known solids -------------------------------------------------------

def face_frame(points, face):
    corners = [points[m] for m in face]
    centre = mean(corners)
    normal = unit(cross(sub(corners[1], corners[0]), sub(corners[2], corners[0])))
    if dot(normal, sub(centre, mean(points))) < 0:
        normal = mul(normal, -1)
    return corners, centre, normal


def augmented(points, face, kind, shift):
    """`points` with a pyramid or cupola on `face`; `shift` (0 or 1) picks which of the base
    edges take the cupola's squares."""
    corners, centre, normal = face_frame(points, face)
    if kind == "pyramid":
        r = norm(sub(corners[0], centre))
        return points + [add(centre, mul(normal, math.sqrt(1 - r * r)))]
    n = len(corners)
    m = n // 2
    top = []
    for i in range(m):
        a, b = corners[(2 * i + shift) % n], corners[(2 * i + 1 + shift) % n]
        top.append(add(centre, mul(unit(sub(mean([a, b]), centre)), radius(m))))
    # Each top corner is over the middle of its base edge, 1 from both ends.
    across = norm(sub(top[0], mean([corners[shift % n], corners[(1 + shift) % n]])))
    lift = math.sqrt(0.75 - across * across)
    return points + [add(p, mul(normal, lift)) for p in top]


def faces_of(points, sides):
    return [f for f in checked_faces(points) if len(f) == sides]


def apart(points, faces, dots):
    """The first choice of len(dots) + 1 faces whose normals' pairwise dot products are `dots`
    (in the order of the pairs of itertools.combinations)."""
    normals = [face_frame(points, f)[2] for f in faces]
    for choice in itertools.combinations(range(len(faces)), len(dots) + 1 if len(dots) < 3 else 3):
        pair_dots = [dot(normals[a], normals[b]) for a, b in itertools.combinations(choice, 2)]
        if all(abs(x - y) < 1e-6 for x, y in zip(pair_dots, dots)):
            return [faces[c] for c in choice]
    raise ValueError("no faces %s apart" % dots)


def augment_all(points, faces, kind):
    for shifts in itertools.product((0, 1), repeat=len(faces)):
        out = points
        for face, shift in zip(faces, shifts):
            out = augmented(out, face, kind, shift)
        if checked_faces(out):
            return out
    raise ValueError("no augmentation fits")


def without(points, removed):
    return [p for i, p in enumerate(points) if i not in removed]


def gyrated(points, face):
    corners, centre, normal = face_frame(points, face)
    out = [list(p) for p in points]
    for m in face:
        r = sub(points[m], centre)
        a = math.pi / 5
        out[m] = add(centre, add(mul(r, math.cos(a)), mul(cross(normal, r), math.sin(a))))
    return out


def derived_johnsons(known):
    j = {}
    para, meta5 = -1.0, -1 / math.sqrt(5)
    prisms = {n: ring(n, radius(n), 0, 0) + ring(n, radius(n), 0, 1) for n in (3, 5, 6)}
    def squares(n, picks):
        p = prisms[n]
        quads = faces_of(p, 4)
        normals = [face_frame(p, f)[2] for f in quads]
        order = sorted(range(n), key=lambda i: math.atan2(normals[i][1], normals[i][0]))
        return [quads[order[i]] for i in picks]
    for name, n, picks in (("J49_augmented_triangular_prism", 3, [0]),
                           ("J50_biaugmented_triangular_prism", 3, [0, 1]),
                           ("J51_triaugmented_triangular_prism", 3, [0, 1, 2]),
                           ("J52_augmented_pentagonal_prism", 5, [0]),
                           ("J53_biaugmented_pentagonal_prism", 5, [0, 2]),
                           ("J54_augmented_hexagonal_prism", 6, [0]),
                           ("J55_parabiaugmented_hexagonal_prism", 6, [0, 3]),
                           ("J56_metabiaugmented_hexagonal_prism", 6, [0, 2]),
                           ("J57_triaugmented_hexagonal_prism", 6, [0, 2, 4])):
        j[name] = augment_all(prisms[n], squares(n, picks), "pyramid")
    d = known["dodecahedron"]
    pentagons = faces_of(d, 5)
    j["J58_augmented_dodecahedron"] = augment_all(d, pentagons[:1], "pyramid")
    j["J59_parabiaugmented_dodecahedron"] = augment_all(d, apart(d, pentagons, [para]), "pyramid")
    j["J60_metabiaugmented_dodecahedron"] = augment_all(d, apart(d, pentagons, [meta5]),
                                                        "pyramid")
    j["J61_triaugmented_dodecahedron"] = augment_all(d, apart(d, pentagons, [meta5] * 3),
                                                     "pyramid")
    ico = known["icosahedron"]
    c = mean(ico)
    def vertex_dot(a, b):
        return dot(unit(sub(ico[a], c)), unit(sub(ico[b], c)))
    for a, b in itertools.combinations(range(12), 2):
        if abs(vertex_dot(a, b) + 1 / math.sqrt(5)) < 1e-6:
            j["J62_metabidiminished_icosahedron"] = without(ico, {a, b})
            break
    for a, b, e in itertools.combinations(range(12), 3):
        if all(abs(vertex_dot(x, y) + 1 / math.sqrt(5)) < 1e-6 for x, y in ((a, b), (a, e), (b, e))):
            tri = without(ico, {a, b, e})
            if checked_faces(tri):
                j["J63_tridiminished_icosahedron"] = tri
                for face in faces_of(tri, 3):
                    try:
                        j["J64_augmented_tridiminished_icosahedron"] = augment_all(tri, [face],
                                                                                   "pyramid")
                        break
                    except ValueError:
                        continue
                break
    tt = known["truncated_tetrahedron"]
    j["J65_augmented_truncated_tetrahedron"] = augment_all(tt, faces_of(tt, 6)[:1], "cupola")
    tc = known["truncated_cube"]
    octagons = faces_of(tc, 8)
    j["J66_augmented_truncated_cube"] = augment_all(tc, octagons[:1], "cupola")
    j["J67_biaugmented_truncated_cube"] = augment_all(tc, apart(tc, octagons, [para]), "cupola")
    td = known["truncated_dodecahedron"]
    decagons = faces_of(td, 10)
    j["J68_augmented_truncated_dodecahedron"] = augment_all(td, decagons[:1], "cupola")
    j["J69_parabiaugmented_truncated_dodecahedron"] = augment_all(td, apart(td, decagons, [para]),
                                                                  "cupola")
    j["J70_metabiaugmented_truncated_dodecahedron"] = augment_all(
        td, apart(td, decagons, [meta5]), "cupola")
    j["J71_triaugmented_truncated_dodecahedron"] = augment_all(
        td, apart(td, decagons, [meta5] * 3), "cupola")
    rid = known["rhombicosidodecahedron"]
    caps = faces_of(rid, 5)
    one = caps[:1]
    two_para = apart(rid, caps, [para])
    two_meta = apart(rid, caps, [meta5])
    three = apart(rid, caps, [meta5] * 3)
    def changed(gyrate, diminish):
        out = rid
        for face in gyrate:
            out = gyrated(out, face)
        removed = set(m for face in diminish for m in face)
        return without(out, removed)
    j["J72_gyrate_rhombicosidodecahedron"] = changed(one, [])
    j["J73_parabigyrate_rhombicosidodecahedron"] = changed(two_para, [])
    j["J74_metabigyrate_rhombicosidodecahedron"] = changed(two_meta, [])
    j["J75_trigyrate_rhombicosidodecahedron"] = changed(three, [])
    j["J76_diminished_rhombicosidodecahedron"] = changed([], one)
    j["J77_paragyrate_diminished_rhombicosidodecahedron"] = changed(two_para[:1], two_para[1:])
    j["J78_metagyrate_diminished_rhombicosidodecahedron"] = changed(two_meta[:1], two_meta[1:])
    j["J79_bigyrate_diminished_rhombicosidodecahedron"] = changed(three[:2], three[2:])
    j["J80_parabidiminished_rhombicosidodecahedron"] = changed([], two_para)
    j["J81_metabidiminished_rhombicosidodecahedron"] = changed([], two_meta)
    j["J82_gyrate_bidiminished_rhombicosidodecahedron"] = changed(three[:1], three[1:])
    j["J83_tridiminished_rhombicosidodecahedron"] = changed([], three)
    return j


def write(folder, name, faces):
    with open(os.path.join(folder, name + ".txt"), "w") as f:
        f.write("' %s: %d faces\n{\n" % (name.replace("_", " "), len(faces)))
        for corners in faces:
            f.write(",".join(str(c + 1) for c in corners) + ",-1,\n")
        f.write("}\n")


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "solids"
    os.makedirs(folder, exist_ok=True)
    known = platonic_and_archimedean()
    solids = {}
    for name, points in known.items():
        solids[name] = checked_faces(points)
    solids["snub_cube"] = snub_faces(snub_of(known["cube"], 0.3), 38)
    solids["snub_dodecahedron"] = snub_faces(snub_of(known["dodecahedron"], 0.3), 92)
    for name, points in list(ring_johnsons().items()) + list(derived_johnsons(known).items()):
        solids[name] = checked_faces(points)
    for name, faces in sorted(solids.items()):
        if not faces:
            raise SystemExit("no valid hull for " + name)
        write(folder, name, faces)
    print("%d solids written to %s" % (len(solids), folder))


if __name__ == "__main__":
    main()
