#!/usr/bin/env python3
"""Reads a file written by tesmo-tools with an independent reader and prints what it holds,
one item per line, for the tests to compare with the mesh:

  read_outputs.py vtu FILE   meshio: "points N", "p x y z"..., "triangles T", "t a b c zone"...,
                             then "sizes N" and "s v"... when the file has point data "size",
                             then "lines L", "l a b border_k"... when it has line cells
  read_outputs.py msh FILE   meshio: points and triangles as above (zone = physical tag, which
                             must equal the elementary tag), then "lines L", "l a b name"...
                             (the name of the line's physical group of dimension 1)
  read_outputs.py svg FILE   xml.etree: "zones Z", "edges E", "borders B": the zone paths and
                             the line segments drawn in the edge and border paths
Node numbers are printed from 1."""
import re
import sys
import xml.etree.ElementTree as ET


def mesh_lines(points, triangles, zones):
    out = [f"points {len(points)}"] + ["p %.9g %.9g %.9g" % tuple(p) for p in points]
    out.append(f"triangles {len(triangles)}")
    out += ["t %d %d %d %d" % (a + 1, b + 1, c + 1, z) for (a, b, c), z in zip(triangles, zones)]
    return out


def read_vtu(path):
    import meshio
    m = meshio.read(path)
    types = [block.type for block in m.cells]
    if types not in (["triangle"], ["triangle", "line"]):
        sys.exit("expected a block of triangles, then maybe one of lines, got %s" % types)
    out = mesh_lines(m.points, m.cells[0].data, m.cell_data["zone"][0])
    if "size" in m.point_data:
        out.append(f"sizes {len(m.point_data['size'])}")
        out += ["s %.9g" % v for v in m.point_data["size"]]
    if len(types) == 2:
        if any(m.cell_data["zone"][1]) or any(m.cell_data["border"][0]):
            sys.exit("a line with a zone, or a triangle with a border")
        out.append(f"lines {len(m.cells[1].data)}")
        out += ["l %d %d border_%d" % (a + 1, b + 1, k) for (a, b), k in zip(m.cells[1].data, m.cell_data["border"][1])]
    return out


def read_msh(path):
    import meshio
    m = meshio.read(path)
    names = {(int(tag), int(dim)): name for name, (tag, dim) in m.field_data.items()}
    physical = m.cell_data["gmsh:physical"]
    elementary = m.cell_data["gmsh:geometrical"]
    triangles, zones, lines = [], [], []
    for block, phys, elem in zip(m.cells, physical, elementary):
        if list(phys) != list(elem):
            sys.exit("physical and elementary tags differ")
        if block.type == "triangle":
            triangles += [list(r) for r in block.data]
            zones += list(phys)
        elif block.type == "line":
            lines += ["l %d %d %s" % (a + 1, b + 1, names[(int(t), 1)].replace(" ", "_")) for (a, b), t in zip(block.data, phys)]
        else:
            sys.exit("unexpected cell type " + block.type)
    return mesh_lines(m.points, triangles, zones) + [f"lines {len(lines)}"] + lines


def segments(d):
    """Line segments of a path made of M, l and z commands."""
    count = 0
    for command, numbers in re.findall(r"([MlLz])([^MlLz]*)", d):
        values = re.findall(r"-?(?:\d+\.?\d*|\.\d+)", numbers)
        if command in "lL":
            count += len(values) // 2
        elif command == "z":
            count += 1
    return count


def read_svg(path):
    root = ET.parse(path).getroot()
    ns = {"s": "http://www.w3.org/2000/svg"}
    zones = root.findall(".//s:path[@class='zone']", ns)
    edges = root.find(".//s:path[@id='edges']", ns)
    borders = root.find(".//s:path[@id='borders']", ns)
    return [f"zones {len(zones)}", f"edges {segments(edges.get('d'))}", f"borders {segments(borders.get('d'))}"]


if __name__ == "__main__":
    kind, path = sys.argv[1], sys.argv[2]
    print("\n".join({"vtu": read_vtu, "msh": read_msh, "svg": read_svg}[kind](path)))
