#!/usr/bin/env python3
"""Writes the small seed corpus the fuzzers start from and the replay test reads (corpus/)."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def put(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def masked_file(key, rows):
    text = str(key ^ 79876519) + "\r\n"
    return text.encode() + rows


def settings():
    fields = [1, 0, 1, 255, 50, 10, 200, 2, 1, 0, 3, 1, 0, 1, 1, 1, 50, 80, 100, 1, 1, 0, 50, 87, 83,
              65, 68, 81, 69, 32, 17, 70, 82, 1, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 800]
    key = 10123455
    body = "".join(str(v ^ key) + "," for v in fields) + "\r\n"
    put("settings", "default", masked_file(key, body.encode()))
    fields[0] = 7  # out of range: the repair path
    body = "".join(str(v ^ key) + "," for v in fields) + "\r\n"
    put("settings", "repair", masked_file(key, body.encode()))


def ranking():
    key = 10987655
    rows = b""
    for level in range(3):
        for slot in range(6):
            name = "No Name".encode() if slot == 5 else "[初] 名無し".encode("cp932")
            score = 0 if slot == 5 else 50 - 10 * slot
            rows += str(score ^ key).encode() + b"," + str(len(name) ^ key).encode() + b"," + name + b"\r\n"
    put("ranking", "default", masked_file(key, rows))


def wave():
    samples = struct.pack("<8h", 0, 1000, 2000, 1000, 0, -1000, -2000, -1000)
    fmt = struct.pack("<HHIIHH", 1, 1, 22050, 44100, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    body += b"LIST" + struct.pack("<I", 4) + b"INFO"
    body += b"data" + struct.pack("<I", len(samples)) + samples
    put("wave", "pcm16", b"RIFF" + struct.pack("<I", len(body)) + body)
    fmt = struct.pack("<HHIIHHH", 1, 2, 11025, 22050, 2, 8, 0)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", 4) + b"\x80\x90\x70\x80"
    put("wave", "pcm8_stereo", b"RIFF" + struct.pack("<I", len(body)) + body)


def bmp(width, height, bits, compression, palette, pixels, masks=b""):
    offset = 54 + len(masks) + 4 * len(palette)
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    header += struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixels), 0, 0, len(palette), 0)
    return header + masks + b"".join(struct.pack("<I", c) for c in palette) + pixels


def pictures():
    put("bmp", "rgb24", bmp(2, 2, 24, 0, [], b"\x00\x00\xff\x00\xff\x00\x00\x00\xff\x00\x00\x00\xff\xff\xff\x00\x00\x00\x00\x00"[:16]))
    put("bmp", "pal8", bmp(2, 2, 8, 0, [0xff0000, 0x00ff00], b"\x00\x01\x00\x00\x01\x00\x00\x00"))
    put("bmp", "rle8", bmp(4, 2, 8, 1, [0, 0xff0000, 0xff], bytes([4, 1, 0, 0, 0, 3, 2, 1, 2, 0, 0, 2, 1, 0, 1, 1, 0, 1])))
    put("bmp", "rle4", bmp(4, 2, 4, 2, [0, 0xff0000, 0xff], bytes([4, 0x12, 0, 0, 0, 4, 0x21, 0x12, 0, 1])))
    put("bmp", "fields16", bmp(2, 1, 16, 3, [], b"\xe0\x07\x1f\x00", struct.pack("<III", 0xF800, 0x7E0, 0x1F)))

    def dds(width, height, pf_flags, fourcc, bits, masks, caps2, mips, data):
        flags = 0x1007 | (0x20000 if mips > 1 else 0)
        header = b"DDS " + struct.pack("<7I", 124, flags, height, width, 0, 0, mips) + b"\0" * 44
        header += struct.pack("<II4sI4I", 32, pf_flags, fourcc, bits, *masks)
        header += struct.pack("<4I", 0x1000, caps2, 0, 0) + b"\0" * 4
        return header + data

    put("dds", "dxt1", dds(4, 4, 0x4, b"DXT1", 0, (0, 0, 0, 0), 0, 1, b"\x00\xf8\x1f\x00\xe4\x00\x00\x00"))
    put("dds", "dxt5", dds(4, 4, 0x4, b"DXT5", 0, (0, 0, 0, 0), 0, 1,
                           bytes([255, 0, 0x49, 0x92, 0x24, 0x49, 0x92, 0x24]) + b"\x00\xf8\x1f\x00\xe4\x00\x00\x00"))
    put("dds", "argb_mips", dds(2, 2, 0x41, b"\0\0\0\0", 32, (0xff0000, 0xff00, 0xff, 0xff000000), 0, 2,
                                struct.pack("<5I", 0xff112233, 0xff445566, 0x80778899, 0xffaabbcc, 0xff000000)))
    put("dds", "l8", dds(2, 1, 0x20000, b"\0\0\0\0", 8, (0xff, 0, 0, 0), 0, 1, b"\x10\xf0"))


QUAD = """xof 0302txt 0032
Material Mat0 {
 1.0;1.0;1.0;1.0;;
 4.0;
 1.0;1.0;1.0;;
 0.0;0.0;0.0;;
 TextureFilename { "Other.bmp"; }
}
Mesh Quad {
 4;
 -1.0;-1.0;0.0;,
 1.0;-1.0;0.0;,
 1.0;1.0;0.0;,
 -1.0;1.0;0.0;;
 2;
 3;0,3,2;,
 3;0,2,1;;
 MeshNormals {
  4;
  0.0;0.0;-1.0;,
  0.0;0.0;-1.0;,
  0.0;0.0;-1.0;,
  0.0;0.0;-1.0;;
  2;
  3;0,3,2;,
  3;0,2,1;;
 }
 MeshTextureCoords {
  4;
  0.0;1.0;,
  1.0;1.0;,
  1.0;0.0;,
  0.0;0.0;;
 }
 MeshMaterialList {
  1;
  2;
  0,
  0;;
  {Mat0}
 }
 SkinWeights {
  "Bone";
  1;
  3;
  1.0;
  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;;
 }
}
"""


def models():
    text = QUAD.encode()
    put("model", "quad_text", text)
    body = text[16:]
    packer = zlib.compressobj(9, zlib.DEFLATED, -15)
    packed = packer.compress(body) + packer.flush()
    compressed = b"xof 0302tzip0032" + struct.pack("<I", len(body) + 16)
    compressed += struct.pack("<HH", len(body), len(packed) + 2) + b"CK" + packed
    put("model", "quad_compressed", compressed)

    def name(n):
        return struct.pack("<HI", 1, len(n)) + n

    def ints(values):
        return struct.pack("<HI", 6, len(values)) + b"".join(struct.pack("<I", v) for v in values)

    def floats(values):
        return struct.pack("<HI", 7, len(values)) + b"".join(struct.pack("<f", v) for v in values)

    faces = [2, 3, 0, 3, 2, 3, 0, 2, 1]
    binary = b"xof 0303bin 0032" + name(b"Mesh") + name(b"Quad") + struct.pack("<H", 10)
    binary += ints([4]) + floats([-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0]) + ints(faces)
    binary += name(b"MeshNormals") + struct.pack("<H", 10) + ints([4]) + floats([0, 0, -1] * 4) + ints(faces)
    binary += struct.pack("<H", 11) + struct.pack("<H", 11)
    put("model", "quad_binary", binary)


def options():
    put("options", "default", b"[display]\npicture_shape = keep\n\n[screenshots]\nenabled = true\n")
    put("options", "damaged", b"; by hand\ntop = 1\n[Display]\npicture_shape = Stretch ; wide\n"
                              b"[gamepad]\nuse_pad=yes\n  more\n[screenshots]\nenabled = 7\n[cut")
    put("options", "long_line", b"[display]\npicture_shape = stretch" + b" " * 300 + b"x = keep\n")
    # Found by fuzzing: a file cut inside its last character, and a key that only fits unspaced.
    put("options", "cut_character", b"[screenshots]\nother = true\xe3")
    put("options", "long_key", b"a" * 197 + b"=\n[b]\nk:v\n")


settings()
options()
ranking()
wave()
pictures()
models()
