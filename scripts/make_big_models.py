#!/usr/bin/env python3
"""Writes the large example inputs: a chain of regular tetrahedra glued face to face (the
Boerdijk-Coxeter helix) and a tower of decagonal antiprism rings.

  tetrahedron_chain_N.txt  vertex i joined to i+1, i+2 and i+3; faces {i, i+1, i+3},
                           {i, i+2, i+3} and the two end triangles
  antiprism_tower_N.txt    N/10 rings of ten vertices, triangles between rings, a decagon at
                           each end

Run from the repository's top folder: python3 scripts/make_big_models.py [folder]

Other sizes, for trials and timings:

  python3 scripts/make_big_models.py --chain N [folder]           tetrahedron_chain_N.txt
  python3 scripts/make_big_models.py --tower N [--ring R] [folder]
      antiprism_tower_N.txt for rings of ten vertices (the default), else
      antiprism_tower_N_ringR.txt: N/R rings of R vertices (4: square antiprism layers,
      6: hexagonal ones), an R-gon at each end
"""
import argparse
import os


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


LAYER_NAMES = {3: "triangular", 4: "square", 5: "pentagonal", 6: "hexagonal", 8: "octagonal",
               10: "decagonal", 12: "dodecagonal"}
CAP_NAMES = {3: "triangle", 4: "square", 5: "pentagon", 6: "hexagon", 8: "octagon",
             10: "decagon", 12: "dodecagon"}


def write_chain(folder, vertices):
    write(os.path.join(folder, "tetrahedron_chain_%d.txt" % vertices), chain(vertices),
          "A chain of %d regular tetrahedra glued face to face: %d vertices"
          % (vertices - 3, vertices))


def write_tower(folder, vertices, ring):
    name = "antiprism_tower_%d.txt" % vertices if ring == 10 else \
        "antiprism_tower_%d_ring%d.txt" % (vertices, ring)
    layers = vertices // ring - 1
    write(os.path.join(folder, name), tower(vertices, ring),
          "A tower of %d %s antiprism layers: %d vertices, a %s at each end"
          % (layers, LAYER_NAMES.get(ring, "%d-gonal" % ring), vertices,
             CAP_NAMES.get(ring, "%d-gon" % ring)))


def main():
    parser = argparse.ArgumentParser(description="Writes large example inputs.")
    parser.add_argument("folder", nargs="?", default="examples")
    parser.add_argument("--chain", type=int, metavar="N", help="a chain of N vertices only")
    parser.add_argument("--tower", type=int, metavar="N", help="a tower of N vertices only")
    parser.add_argument("--ring", type=int, default=10, metavar="R",
                        help="vertices of each ring of the tower (default 10)")
    args = parser.parse_args()
    if args.ring < 3:
        parser.error("a ring needs at least 3 vertices")
    if args.tower is not None and (args.tower % args.ring or args.tower < 2 * args.ring):
        parser.error("a tower needs a multiple of the ring size, at least two rings")
    if args.chain is not None and args.chain < 4:
        parser.error("a chain needs at least 4 vertices")
    if args.chain is not None:
        write_chain(args.folder, args.chain)
    if args.tower is not None:
        write_tower(args.folder, args.tower, args.ring)
    if args.chain is None and args.tower is None:
        write_chain(args.folder, 100)
        write_tower(args.folder, 500, 10)


if __name__ == "__main__":
    main()
