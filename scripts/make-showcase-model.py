#!/usr/bin/env python3
"""Writes docs/showcase/showcase.glb: a small glTF scene with its own look, for trying
build/bin/open-model and for the README's screenshot. A checkered floor, a stone ball with a
bumpy normal map, a gold torus, a glowing ring and a tinted glass block, with their textures
inside the file. Run it again to remake the file; it uses nothing beyond Python's library."""

import json
import math
import struct
import zlib
from pathlib import Path


def png(width, height, pixel):
    rows = b"".join(
        b"\0" + bytes(channel for x in range(width) for channel in pixel(x, y))
        for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def checker(x, y):
    dark = ((x // 8) + (y // 8)) % 2 == 0
    return (70, 74, 82) if dark else (200, 196, 186)


def stone(x, y):
    # Soft veins that wrap around the 128-pixel square without a seam.
    t = 2 * math.pi / 128
    vein = math.sin(x * t * 2 + 1.7 * math.sin(y * t * 3) + 0.8 * math.sin((x + y) * t))
    shade = 0.75 + 0.25 * vein * vein
    return tuple(int(255 * shade * tint) for tint in (0.95, 0.82, 0.68))


def bumps(x, y):
    # The slope of a field of round bumps, as a tangent-space normal map.
    def height(u, v):
        return math.sin(u * math.pi / 8) * math.sin(v * math.pi / 8)
    dx = (height(x + 0.5, y) - height(x - 0.5, y)) * 2.5
    dy = (height(x, y + 0.5) - height(x, y - 0.5)) * 2.5
    length = math.sqrt(dx * dx + dy * dy + 1.0)
    return tuple(int(127.5 + 127.5 * c / length) for c in (-dx, dy, 1.0))


def sphere(radius, rings, segments):
    vertices = []
    for ring in range(rings + 1):
        v = ring / rings
        polar = v * math.pi
        for segment in range(segments + 1):
            u = segment / segments
            azimuth = u * 2 * math.pi
            n = (math.sin(polar) * math.cos(azimuth), math.cos(polar),
                 -math.sin(polar) * math.sin(azimuth))
            vertices.append((tuple(radius * c for c in n), n, (u * 2, v)))
    return vertices, grid_indices(rings, segments)


def torus(major, minor, rings, segments, upright=False):
    vertices = []
    for ring in range(rings + 1):
        a = ring / rings * 2 * math.pi
        for segment in range(segments + 1):
            b = segment / segments * 2 * math.pi
            n = (math.cos(a) * math.cos(b), math.sin(b), math.sin(a) * math.cos(b))
            centre = (major * math.cos(a), 0.0, major * math.sin(a))
            p = tuple(centre[i] + minor * n[i] for i in range(3))
            if upright:
                # Stood on its rim, facing the viewer.
                p, n = (p[0], -p[2], p[1]), (n[0], -n[2], n[1])
            vertices.append((p, n, (ring / rings, segment / segments)))
    return vertices, grid_indices(rings, segments, clockwise=True)


def grid_indices(rows, columns, clockwise=False):
    indices = []
    for row in range(rows):
        for column in range(columns):
            a = row * (columns + 1) + column
            b = a + columns + 1
            quad = [a, b, a + 1, a + 1, b, b + 1]
            indices += quad[::-1] if clockwise else quad
    return indices


def box(half):
    vertices, indices = [], []
    for axis in range(3):
        for sign in (1.0, -1.0):
            n = [0.0, 0.0, 0.0]
            n[axis] = sign
            u_axis, v_axis = [(1, 2), (2, 0), (0, 1)][axis]
            base = len(vertices)
            for du, dv in ((-1, -1), (1, -1), (1, 1), (-1, 1)):
                p = [0.0, 0.0, 0.0]
                p[axis] = sign * half[axis]
                p[u_axis] = du * half[u_axis] * sign
                p[v_axis] = dv * half[v_axis]
                vertices.append((tuple(p), tuple(n), ((du + 1) / 2, (1 - dv) / 2)))
            indices += [base, base + 1, base + 2, base, base + 2, base + 3]
    return vertices, indices


def floor(half):
    vertices = [((x * half, 0.0, z * half), (0.0, 1.0, 0.0), ((x + 1) * 2, (z + 1) * 2))
                for x, z in ((-1, 1), (1, 1), (1, -1), (-1, -1))]
    return vertices, [0, 1, 2, 0, 2, 3]


class Glb:
    def __init__(self):
        self.binary = bytearray()
        self.doc = {"asset": {"version": "2.0", "generator": "make-showcase-model.py"},
                    "scene": 0, "scenes": [{"nodes": []}], "nodes": [], "meshes": [],
                    "accessors": [], "bufferViews": [], "materials": [], "textures": [],
                    "images": [], "samplers": [{"wrapS": 10497, "wrapT": 10497}]}

    def view(self, data):
        while len(self.binary) % 4:
            self.binary.append(0)
        self.doc["bufferViews"].append(
            {"buffer": 0, "byteOffset": len(self.binary), "byteLength": len(data)})
        self.binary += data
        return len(self.doc["bufferViews"]) - 1

    def accessor(self, data, component, count, kind, **extra):
        self.doc["accessors"].append(dict(bufferView=self.view(data), componentType=component,
                                          count=count, type=kind, **extra))
        return len(self.doc["accessors"]) - 1

    def texture(self, image_png):
        self.doc["images"].append({"bufferView": self.view(image_png), "mimeType": "image/png"})
        self.doc["textures"].append({"source": len(self.doc["images"]) - 1, "sampler": 0})
        return len(self.doc["textures"]) - 1

    def material(self, **material):
        self.doc["materials"].append(material)
        return len(self.doc["materials"]) - 1

    def mesh(self, name, shape, material, translation):
        vertices, indices = shape
        positions = [p for p, _, _ in vertices]
        pack = lambda values: b"".join(struct.pack("<%df" % len(v), *v) for v in values)
        low = [min(p[i] for p in positions) for i in range(3)]
        high = [max(p[i] for p in positions) for i in range(3)]
        attributes = {
            "POSITION": self.accessor(pack(positions), 5126, len(vertices), "VEC3",
                                      min=low, max=high),
            "NORMAL": self.accessor(pack([n for _, n, _ in vertices]), 5126, len(vertices),
                                    "VEC3"),
            "TEXCOORD_0": self.accessor(pack([t for _, _, t in vertices]), 5126,
                                        len(vertices), "VEC2"),
        }
        index_bytes = struct.pack("<%dH" % len(indices), *indices)
        primitive = {"attributes": attributes, "material": material,
                     "indices": self.accessor(index_bytes, 5123, len(indices), "SCALAR")}
        self.doc["meshes"].append({"name": name, "primitives": [primitive]})
        self.doc["nodes"].append({"name": name, "mesh": len(self.doc["meshes"]) - 1,
                                  "translation": list(translation)})
        self.doc["scenes"][0]["nodes"].append(len(self.doc["nodes"]) - 1)

    def write(self, path):
        while len(self.binary) % 4:
            self.binary.append(0)
        self.doc["buffers"] = [{"byteLength": len(self.binary)}]
        text = json.dumps(self.doc, separators=(",", ":")).encode()
        text += b" " * (-len(text) % 4)
        body = (struct.pack("<II", len(text), 0x4E4F534A) + text +
                struct.pack("<II", len(self.binary), 0x004E4942) + bytes(self.binary))
        path.write_bytes(struct.pack("<III", 0x46546C67, 2, 12 + len(body)) + body)


def main():
    glb = Glb()
    checks = glb.texture(png(64, 64, checker))
    veins = glb.texture(png(128, 128, stone))
    bumpy = glb.texture(png(64, 64, bumps))
    glb.mesh("Floor", floor(2.6),
             glb.material(name="Tiles", pbrMetallicRoughness={
                 "baseColorTexture": {"index": checks}, "metallicFactor": 0.0,
                 "roughnessFactor": 0.85}), (0, 0, 0))
    glb.mesh("StoneBall", sphere(0.8, 24, 48),
             glb.material(name="Stone", pbrMetallicRoughness={
                 "baseColorTexture": {"index": veins}, "metallicFactor": 0.0,
                 "roughnessFactor": 0.45}, normalTexture={"index": bumpy, "scale": 1.0}),
             (-1.3, 0.8, 0.2))
    glb.mesh("GoldTorus", torus(0.55, 0.22, 48, 24, upright=True),
             glb.material(name="Gold", pbrMetallicRoughness={
                 "baseColorFactor": [1.0, 0.76, 0.33, 1.0], "metallicFactor": 1.0,
                 "roughnessFactor": 0.3}), (1.3, 0.77, 0.2))
    glb.mesh("GlowRing", torus(0.9, 0.04, 64, 8),
             glb.material(name="Glow", pbrMetallicRoughness={
                 "baseColorFactor": [0.05, 0.05, 0.05, 1.0], "metallicFactor": 0.0},
                 emissiveFactor=[0.2, 0.9, 1.0],
                 extensions={"KHR_materials_emissive_strength": {"emissiveStrength": 3.0}}),
             (0.0, 1.9, -0.6))
    glb.mesh("GlassBlock", box((0.45, 0.45, 0.45)),
             glb.material(name="Glass", alphaMode="BLEND", doubleSided=True,
                          pbrMetallicRoughness={"baseColorFactor": [0.3, 0.55, 1.0, 0.4],
                                                "metallicFactor": 0.0, "roughnessFactor": 0.1}),
             (0.0, 0.45, 1.4))
    glb.doc["extensionsUsed"] = ["KHR_materials_emissive_strength"]
    out = Path(__file__).resolve().parent.parent / "docs" / "showcase" / "showcase.glb"
    glb.write(out)
    print(out)


main()
