#!/usr/bin/env python3
"""Writes the large example inputs: a chain of regular tetrahedra glued face to face (the
Boerdijk-Coxeter helix) and a tower of decagonal antiprism rings.

  tetrahedron_chain_N.txt  vertex i joined to i+1, i+2 and i+3; faces {i, i+1, i+3},
                           {i, i+2, i+3} and the two end triangles
  antiprism_tower_N.txt    N/10 rings of ten vertices, triangles between rings, a decagon at
                           each end

Run from the repository's top folder: python3 scripts/make_big_models.py [folder]
"""
import os
import sys


def chain(vertices):
    faces = [[1, 2, 3]]
    for i in range(1, vertices - 2):
        faces.append([i, i + 1, i + 3])
        faces.append([i, i + 2, i + 3])
    faces.append([vertices - 2, vertices - 1, vertices])
    return faces


def tower(vertices, ring=10):
    rings = vertices // ring

    def v(r, k):
        return r * ring + k % ring + 1

    faces = [[v(0, k) for k in range(ring)][::-1]]
    for r in range(rings - 1):
        for k in range(ring):
            faces.append([v(r, k), v(r, k + 1), v(r + 1, k)])
            faces.append([v(r, k + 1), v(r + 1, k + 1), v(r + 1, k)])
    faces.append([v(rings - 1, k) for k in range(ring)])
    return faces


def write(path, faces, comment):
    with open(path, "w", newline="") as out:
        out.write("' " + comment + "\r\n{\r\n")
        for face in faces:
            out.write(",".join(str(v) for v in face) + ",-1,\r\n")
        out.write("}\r\n")


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "examples"
    write(os.path.join(folder, "tetrahedron_chain_100.txt"), chain(100),
          "A chain of 97 regular tetrahedra glued face to face: 100 vertices")
    write(os.path.join(folder, "antiprism_tower_500.txt"), tower(500),
          "A tower of 49 decagonal antiprism layers: 500 vertices, a decagon at each end")


if __name__ == "__main__":
    main()
