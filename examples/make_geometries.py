#!/usr/bin/env python3
"""Writes the geometry and size files of the examples (run from anywhere; the files land
beside this script). The shapes come from formulas and from a seeded random walk, so the
files are the same on every run."""
import math
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))


class Geometry:
    """Points and borders of a geometry file, points numbered from 1."""

    def __init__(self, title, dimension=2):
        self.title = title
        self.dimension = dimension
        self.points = []
        self.borders = []

    def point(self, *xyz):
        self.points.append(xyz)
        return len(self.points)

    def polyline(self, ids, zones, note):
        self.borders.append((note, list(ids), 100, list(zones)))

    def loop(self, ids, zones, note):
        self.polyline(list(ids) + [ids[0]], zones, note)

    def text(self):
        out = ["* " + line for line in self.title.strip().split("\n")]
        out += ["DEBXYZ", "* number of points, space dimension", f"{len(self.points)} {self.dimension}"]
        out += [" ".join(f"{c:.7g}" for c in p) for p in self.points]
        out += ["FINXYZ", "DEBILM", "* number of borders", str(len(self.borders))]
        for note, ids, code, zones in self.borders:
            out.append("* " + note)
            record = [str(len(ids))] + [str(i) for i in ids] + [str(code), str(len(zones))] + [str(z) for z in zones]
            line = ""
            for word in record:  # records may run over several lines
                if len(line) + len(word) + 1 > 78:
                    out.append(line)
                    line = ""
                line += (" " if line else "") + word
            out.append(line)
        out.append("FINILM")
        return "\n".join(out) + "\n"


def write(name, text):
    with open(os.path.join(HERE, name), "w") as f:
        f.write(text)


def density(title, points, progressions, concentrations, mode=2):
    """A density file: GEO points, SUI progressions (type, size, ratio), DEN concentrations
    (object type, progression, point numbers)."""
    out = ["* " + line for line in title.strip().split("\n")]
    out += ["DEBGEO", "* number of points, dimension", f"{len(points)} 2", "* number, x, y"]
    out += [f"{k} {x:.7g} {y:.7g}" for k, (x, y) in enumerate(points, 1)]
    out += ["FINGEO", "DEBSUI", "* number of progressions", str(len(progressions)),
            "* number, type (1 geometric), size at the object, ratio"]
    out += [f"{k} {t} {s:g} {r:g}" for k, (t, s, r) in enumerate(progressions, 1)]
    out += ["FINSUI", "DEBDEN", "* number of concentrations, generation mode", f"{len(concentrations)} {mode}",
            "* number, object type (1 point, 3 segment), value count, progression, points"]
    for k, (kind, prog, pts) in enumerate(concentrations, 1):
        out.append(" ".join(str(v) for v in [k, kind, 1 + len(pts), prog] + pts))
    out.append("FINDEN")
    return "\n".join(out) + "\n"


def circle(g, cx, cy, r, sides, start=0.0):
    return [g.point(cx + r * math.cos(start + 2 * math.pi * i / sides), cy + r * math.sin(start + 2 * math.pi * i / sides))
            for i in range(sides)]


def naca0012():
    """NACA 0012 airfoil of chord 1 in a channel, from the four-digit thickness formula."""
    g = Geometry("NACA 0012 airfoil (chord 1, leading edge at the origin) in a channel.\n"
                 "Zone 1 is the fluid; the airfoil is a hole. Its surface follows\n"
                 "y = 5 t (0.2969 sqrt(x) - 0.1260 x - 0.3516 x^2 + 0.2843 x^3 - 0.1015 x^4), t = 0.12,\n"
                 "with points clustered at both edges (cosine spacing); the trailing edge is blunt.")
    corners = [g.point(-1.5, -1.0), g.point(3.0, -1.0), g.point(3.0, 1.0), g.point(-1.5, 1.0)]
    g.loop(corners, [1], "the channel walls, inlet and outlet")
    t, n = 0.12, 48

    def half(x):
        return 5 * t * (0.2969 * math.sqrt(x) - 0.1260 * x - 0.3516 * x ** 2 + 0.2843 * x ** 3 - 0.1015 * x ** 4)

    xs = [0.5 * (1 - math.cos(math.pi * i / n)) for i in range(n + 1)]  # 0 .. 1
    upper = [g.point(x, half(x)) for x in reversed(xs)]                   # trailing edge to leading edge
    lower = [g.point(x, -half(x)) for x in xs[1:]]                        # after the leading edge to the trailing edge
    g.loop(upper + lower, [1], "the airfoil, from the upper trailing edge round the nose")
    write("naca0012.geo", g.text())
    write("naca0012.den", density("Small elements at the leading edge of the airfoil, growing by 1.15.",
                                  [(0.0, 0.0), (1.0, 0.0)], [(1, 0.004, 1.15), (1, 0.012, 1.15)],
                                  [(1, 1, [1]), (1, 2, [2])]))


def plate_holes():
    """A plate with five circular holes of different radii."""
    g = Geometry("A 12 x 6 plate with five round holes; one zone, sizes from the borders.\n"
                 "The outline carries a point every 0.5, so that its edges ask for elements of that size.")
    step = 0.5
    outline = [(x * step, 0.0) for x in range(24)] + [(12.0, y * step) for y in range(12)] + \
              [(12.0 - x * step, 6.0) for x in range(24)] + [(0.0, 6.0 - y * step) for y in range(12)]
    g.loop([g.point(x, y) for (x, y) in outline], [1], "the outline of the plate")
    for (cx, cy, r) in [(2.0, 3.0, 1.0), (5.0, 1.6, 0.6), (5.2, 4.3, 0.8), (8.2, 3.0, 1.4), (10.8, 1.2, 0.4)]:
        g.loop(circle(g, cx, cy, r, max(12, int(round(40 * r)))), [1], f"hole of radius {r} at ({cx}, {cy})")
    write("plate_holes.geo", g.text())


def two_materials():
    """Two materials sharing a curved interface, sizes given at every geometry point."""
    g = Geometry("Two materials in a 4 x 3 block: zone 1 below and zone 2 above a curved interface\n"
                 "y = 1.5 + 0.6 sin(pi x / 2). The size file gives one size per geometry point.")
    bl, br, tr, tl = g.point(0, 0), g.point(4, 0), g.point(4, 3), g.point(0, 3)
    n = 40
    curve = [g.point(4 * i / n, 1.5 + 0.6 * math.sin(math.pi * (4 * i / n) / 2)) for i in range(n + 1)]
    g.polyline([curve[0], bl, br, curve[-1]], [1], "the outline of zone 1, from the interface round the bottom")
    g.polyline([curve[-1], tr, tl, curve[0]], [2], "the outline of zone 2, from the interface round the top")
    g.polyline(curve, [1, 2], "the interface, shared by both zones")
    write("two_materials.geo", g.text())
    sizes = [0.35] * 4 + [0.05] * len(curve)
    lines = ["* GRANDEUR 1.0.0  (12 AOUT 97)", "* sizes at the points of two_materials.geo: fine on the interface",
             "DEBGRD", f" {len(sizes)} 1"] + [f"  {k} {s:g}" for k, s in enumerate(sizes, 1)] + ["FINGRD"]
    write("two_materials.grd", "\n".join(lines) + "\n")


def fractal(a, b, depth, roughness, rng):
    """Points strictly between a and b of a random midpoint-displacement curve."""
    if depth == 0:
        return []
    mx, my = (a[0] + b[0]) / 2, (a[1] + b[1]) / 2
    dx, dy = b[0] - a[0], b[1] - a[1]
    shift = rng.uniform(-roughness, roughness)
    m = (mx - dy * shift, my + dx * shift)
    return fractal(a, m, depth - 1, roughness, rng) + [m] + fractal(m, b, depth - 1, roughness, rng)


def coastline():
    """A bay: open sea on three straight sides, a jagged coast and a jagged island."""
    rng = random.Random(1913)
    g = Geometry("A bay of 10 x 6 km: the coast is a random midpoint-displacement curve with many\n"
                 "short edges, the island a jagged loop; the sea is zone 1, sizes come from the\n"
                 "border edges.")
    coast = [(0.0, 1.5)] + fractal((0.0, 1.5), (10.0, 2.2), 8, 0.22, rng) + [(10.0, 2.2)]
    ids = [g.point(x, y) for x, y in coast]
    sea = [ids[-1], g.point(10.0, 6.0), g.point(0.0, 6.0), ids[0]]
    g.polyline(ids, [1], "the coast, west to east")
    g.polyline(sea, [1], "the open sea: east, north and west")
    rim = [(6.2 + 0.9 * math.cos(a), 4.2 + 0.5 * math.sin(a)) for a in [2 * math.pi * i / 6 for i in range(6)]]
    island = []
    for i in range(6):
        island += [rim[i]] + fractal(rim[i], rim[(i + 1) % 6], 4, 0.12, rng)
    g.loop([g.point(x, y) for x, y in island], [1], "the island")
    write("coastline.geo", g.text())


def lshape_crack():
    """An L-shaped domain with a crack from its re-entrant corner, refined along the crack."""
    g = Geometry("L-shaped domain with a crack running from the re-entrant corner (1, 1) to\n"
                 "(0.45, 0.45); the crack is an open border inside zone 1. The size file\n"
                 "concentrates small elements along the crack.")
    ids = [g.point(x, y) for x, y in [(0, 0), (2, 0), (2, 1), (1, 1), (1, 2), (0, 2)]]
    g.loop(ids, [1], "the outline")
    tip = g.point(0.45, 0.45)
    g.polyline([ids[3], tip], [1], "the crack, an open line inside the zone")
    write("lshape_crack.geo", g.text())
    write("lshape_crack.den", density("Small elements along the crack (a segment concentration), growing by 1.2.",
                                      [(1.0, 1.0), (0.45, 0.45)], [(1, 0.01, 1.2)], [(3, 1, [1, 2])]))


def tilted_plate():
    """A planar part given in 3D: a hexagonal plate in a tilted plane, two zones, one hole,
    with sizes given at its points."""
    g = Geometry("A hexagonal plate with a round hole, given in space: every point lies in the\n"
                 "plane z = 0.5 + 0.3 x - 0.2 y. The line x = 0 splits it into zones 1 and 2;\n"
                 "the hole is in zone 2.", dimension=3)

    def p(x, y):
        return g.point(x, y, 0.5 + 0.3 * x - 0.2 * y)

    r = 2.0
    hexagon = [(r * math.cos(math.pi / 3 * i + math.pi / 2), r * math.sin(math.pi / 3 * i + math.pi / 2))
               for i in range(6)]
    top, tl, bl, bottom, br, tr = [p(x, y) for x, y in hexagon]
    g.polyline([top, tl, bl, bottom], [1], "the left half of the outline")
    g.polyline([bottom, br, tr, top], [2], "the right half of the outline")
    g.polyline([bottom, top], [1, 2], "the line between the zones")
    g.loop([p(1.0 + 0.45 * math.cos(2 * math.pi * i / 20), 0.45 * math.sin(2 * math.pi * i / 20)) for i in range(20)],
           [2], "the hole")
    write("tilted_plate.geo", g.text())
    sizes = [0.3] * 6 + [0.08] * 20
    lines = ["* GRANDEUR 1.0.0  (12 AOUT 97)", "* sizes at the points of tilted_plate.geo: finer round the hole",
             "DEBGRD", f" {len(sizes)} 1"] + [f"  {k} {s:g}" for k, s in enumerate(sizes, 1)] + ["FINGRD"]
    write("tilted_plate.grd", "\n".join(lines) + "\n")


def bracket_poly():
    """A bracket in the .poly format: outline, two bolt holes and a stiffer insert."""
    corners = [(0, 0), (8, 0), (8, 1.2), (2.2, 1.2), (1.2, 2.2), (1.2, 6), (0, 6)]  # L-shaped outline
    v = []
    for (xa, ya), (xb, yb) in zip(corners, corners[1:] + corners[:1]):              # a vertex every 0.4 or less
        pieces = max(1, math.ceil(math.hypot(xb - xa, yb - ya) / 0.4))
        v += [(xa + (xb - xa) * k / pieces, ya + (yb - ya) * k / pieces) for k in range(pieces)]
    n = len(v)
    v += [(0.2, 0.2), (1.2, 0.2), (1.2, 1.0), (0.2, 1.0)]                          # insert in the corner
    holes = [(6.8, 0.6, 0.35), (0.6, 5.0, 0.35)]
    rings = []
    for cx, cy, r in holes:
        start = len(v)
        v += [(cx + r * math.cos(2 * math.pi * i / 16), cy + r * math.sin(2 * math.pi * i / 16)) for i in range(16)]
        rings.append(range(start, start + 16))
    segs = [(i, (i + 1) % n) for i in range(n)] + [(n + i, n + (i + 1) % 4) for i in range(4)]
    for ring in rings:
        segs += [(ring[i], ring[(i + 1) % 16]) for i in range(16)]
    out = ["# A bracket: an L-shaped outline, two bolt holes and a stiffer insert in its corner.",
           "# Vertices: number, x, y, boundary marker.", f"{len(v)} 2 0 1"]
    out += [f"{k} {x:.6g} {y:.6g} 1" for k, (x, y) in enumerate(v, 1)]
    out += ["# Segments: number, end vertices, boundary marker.", f"{len(segs)} 1"]
    out += [f"{k} {a + 1} {b + 1} 1" for k, (a, b) in enumerate(segs, 1)]
    out += ["# Holes: number, a point inside.", f"{len(holes)}"]
    out += [f"{k} {cx:g} {cy:g}" for k, (cx, cy, r) in enumerate(holes, 1)]
    out += ["# Regional attributes: number, a point inside, attribute, area constraint.", "2",
            "1 4 0.6 1 -1", "2 0.7 0.6 2 -1"]
    write("bracket.poly", "\n".join(out) + "\n")


if __name__ == "__main__":
    naca0012()
    plate_holes()
    two_materials()
    coastline()
    lshape_crack()
    tilted_plate()
    bracket_poly()
