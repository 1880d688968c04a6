#!/usr/bin/env python3
"""Writes the example inputs of known solids and their reference coordinates.

For each solid, examples/<name>.txt lists its faces (found as the convex hull of known vertex
coordinates, or built by rule for prisms and antiprisms), and tests/data/reference/<name>.xyz
holds the coordinates with unit edges, one vertex per line, which the end-to-end tests compare
the relaxed shape with. Run from the repository's top folder: python3 scripts/make_examples.py
"""
import itertools
import math
import os

PHI = (1 + math.sqrt(5)) / 2


def sub(a, b):
    return [a[i] - b[i] for i in range(3)]


def cross(a, b):
    return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]


def dot(a, b):
    return sum(a[i] * b[i] for i in range(3))


def norm(a):
    return math.sqrt(dot(a, a))


def even_permutations(p):
    x, y, z = p
    return [(x, y, z), (y, z, x), (z, x, y)]


def all_permutations(p):
    return list(set(itertools.permutations(p)))


def sign_variants(p):
    out = set()
    for signs in itertools.product([1, -1], repeat=3):
        out.add(tuple(s * c if c != 0 else 0.0 for s, c in zip(signs, p)))
    return list(out)


def unique(points):
    out = []
    for p in points:
        if all(norm(sub(p, q)) > 1e-9 for q in out):
            out.append(list(p))
    return out


def scale_to_unit_edge(points):
    shortest = min(norm(sub(a, b)) for a, b in itertools.combinations(points, 2))
    return [[c / shortest for c in p] for p in points]


def hull_faces(points):
    """Faces of the convex hull, each with its corners in order (counter-clockwise seen from
    outside)."""
    faces = []
    seen = set()
    n = len(points)
    for i, j, k in itertools.combinations(range(n), 3):
        normal = cross(sub(points[j], points[i]), sub(points[k], points[i]))
        if norm(normal) < 1e-9:
            continue
        normal = [c / norm(normal) for c in normal]
        d = dot(normal, points[i])
        sides = [dot(normal, p) - d for p in points]
        if all(s <= 1e-7 for s in sides):
            pass
        elif all(s >= -1e-7 for s in sides):
            normal = [-c for c in normal]
            d = -d
        else:
            continue
        on_plane = tuple(sorted(m for m in range(n) if abs(dot(normal, points[m]) - d) < 1e-7))
        if on_plane in seen:
            continue
        seen.add(on_plane)
        centre = [sum(points[m][a] for m in on_plane) / len(on_plane) for a in range(3)]
        u = sub(points[on_plane[0]], centre)
        u = [c / norm(u) for c in u]
        v = cross(normal, u)
        ordered = sorted(on_plane, key=lambda m: math.atan2(dot(sub(points[m], centre), v),
                                                             dot(sub(points[m], centre), u)))
        faces.append((ordered, 1))
    return faces


def prism(n, d):
    r = 1 / (2 * math.sin(d * math.pi / n))
    points = []
    for level in (-0.5, 0.5):
        for k in range(n):
            a = 2 * math.pi * k * d / n
            points.append([r * math.cos(a), r * math.sin(a), level])
    faces = [(list(range(n)), d), (list(range(n, 2 * n)), d)]
    for k in range(n):
        faces.append(([k, (k + 1) % n, n + (k + 1) % n, n + k], 1))
    return points, faces


def antiprism(n, d):
    r = 1 / (2 * math.sin(d * math.pi / n))
    chord = 2 * r * math.sin(d * math.pi / (2 * n))
    h = math.sqrt(1 - chord * chord)
    points = []
    for k in range(n):
        a = 2 * math.pi * k * d / n
        points.append([r * math.cos(a), r * math.sin(a), -h / 2])
    for k in range(n):
        a = 2 * math.pi * (k + 0.5) * d / n
        points.append([r * math.cos(a), r * math.sin(a), h / 2])
    faces = [(list(range(n)), d), (list(range(n, 2 * n)), d)]
    for k in range(n):
        faces.append(([k, (k + 1) % n, n + k], 1))
        faces.append(([n + k, n + (k + 1) % n, (k + 1) % n], 1))
    return points, faces


def pyramid(n):
    r = 1 / (2 * math.sin(math.pi / n))
    points = [[r * math.cos(2 * math.pi * k / n), r * math.sin(2 * math.pi * k / n), 0.0]
              for k in range(n)]
    points.append([0.0, 0.0, math.sqrt(1 - r * r)])
    return points


def solids():
    s = {}
    s["tetrahedron"] = [p for p in sign_variants((1, 1, 1)) if p[0] * p[1] * p[2] > 0]
    s["cube"] = sign_variants((1, 1, 1))
    s["octahedron"] = unique([q for p in all_permutations((1, 0, 0)) for q in sign_variants(p)])
    s["dodecahedron"] = unique(sign_variants((1, 1, 1)) + [
        q for p in even_permutations((0, 1 / PHI, PHI)) for q in sign_variants(p)])
    s["icosahedron"] = unique([q for p in even_permutations((0, 1, PHI)) for q in sign_variants(p)])
    s["cuboctahedron"] = unique([q for p in all_permutations((1, 1, 0)) for q in sign_variants(p)])
    s["truncated_tetrahedron"] = unique([
        q for p in all_permutations((3, 1, 1)) for q in sign_variants(p)
        if q[0] * q[1] * q[2] > 0])
    s["truncated_octahedron"] = unique([q for p in all_permutations((0, 1, 2)) for q in sign_variants(p)])
    s["rhombicuboctahedron"] = unique([
        q for p in all_permutations((1, 1, 1 + math.sqrt(2))) for q in sign_variants(p)])
    t = ((1 + (19 - 3 * math.sqrt(33)) ** (1 / 3) + (19 + 3 * math.sqrt(33)) ** (1 / 3)) / 3)
    snub = []
    for p in [(1, 1 / t, t)]:
        for q in sign_variants(p):
            odd = sum(1 for c in q if c < 0) % 2 == 1
            base = even_permutations(q)
            if odd:  # odd number of minus signs: odd permutations
                base = [(q[1], q[0], q[2]), (q[0], q[2], q[1]), (q[2], q[1], q[0])]
            snub.extend(base)
    s["snub_cube"] = unique(snub)
    s["square_pyramid"] = pyramid(4)
    s["pentagonal_pyramid"] = pyramid(5)
    cup = [q for q in unique([q for p in all_permutations((1, 1, 0)) for q in sign_variants(p)])
           if q[0] + q[1] + q[2] >= -1e-9]
    s["triangular_cupola"] = cup
    r5 = 1 / (2 * math.sin(math.pi / 5))
    s["pentagonal_bipyramid"] = [[r5 * math.cos(2 * math.pi * k / 5), r5 * math.sin(2 * math.pi * k / 5), 0.0]
                                 for k in range(5)] + [[0, 0, math.sqrt(1 - r5 * r5)], [0, 0, -math.sqrt(1 - r5 * r5)]]
    return s


# Hand-written examples keep their own text; only their reference coordinates are written.
HAND_WRITTEN = {"cube", "pentagrammic_prism"}


def write(name, points, faces, comment):
    if name not in HAND_WRITTEN:
        write_example(name, faces, comment)
    os.makedirs(os.path.join("tests", "data", "reference"), exist_ok=True)
    with open(os.path.join("tests", "data", "reference", name + ".xyz"), "w") as f:
        for p in points:
            f.write("%.15f %.15f %.15f\n" % tuple(p))


def write_example(name, faces, comment):
    with open(os.path.join("examples", name + ".txt"), "w", newline="") as f:
        f.write("' " + (comment or name.replace("_", " ")) + "\r\n{\r\n")
        for corners, step in faces:
            f.write(",".join(str(c + 1) for c in corners) + ",-" + str(step) + ",\r\n")
        f.write("}\r\n")


def main():
    for name, points in solids().items():
        points = scale_to_unit_edge(points)
        faces = hull_faces(points)
        kinds = sorted(set(len(c) for c, _ in faces))
        write(name, points, faces, "%s: %d vertices, %d faces (%s-gons)" % (
            name.replace("_", " ").capitalize(), len(points), len(faces), ", ".join(map(str, kinds))))
    for n, d, label in [(5, 1, "pentagonal_prism"), (5, 2, "pentagrammic_prism"),
                        (7, 3, "heptagrammic_prism_7_3")]:
        points, faces = prism(n, d)
        write(label, points, faces, "%s {%d/%d} (built by rule): star faces list their corners "
              "in the order of their edges" % (label.replace("_", " ").capitalize(), n, d))
    for n, d, label in [(4, 1, "square_antiprism"), (5, 1, "pentagonal_antiprism")]:
        points, faces = antiprism(n, d)
        write(label, points, faces, "%s {%d/%d} (built by rule)" % (
            label.replace("_", " ").capitalize(), n, d))


if __name__ == "__main__":
    main()
