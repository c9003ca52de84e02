#!/usr/bin/env python3
"""Decodes the swatch images with decoders that are not ours.

The PNG is decoded here with zlib (a real inflate) and every chunk CRC is
checked against zlib's CRC-32; the JPEG is decoded by libjpeg's djpeg. The
bytes come from swatch_dump, built next to unit_tests.

Usage: swatch_check.py DIR_OF_UNIT_TESTS
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
GENERATOR = os.path.join(HERE, "..", "..", "scripts", "make-constant-jpeg.py")

COLORS = [  # red, green, blue, alpha
    (0, 0, 0, 255),
    (255, 255, 255, 255),
    (255, 128, 0, 255),
    (18, 52, 86, 128),
    (1, 2, 3, 0),
    (231, 0, 0, 255),
]
JPEG_PIXEL = (254, 0, 0)
JPEG_SIZE = 631

failures = []
checks = 0


def check(condition, message):
    global checks
    checks += 1
    if not condition:
        failures.append(message)
    return condition


def decode_png(data):
    """Returns (width, height, rows of RGBA tuples) of a palette PNG, checking
    the signature, chunk order and every CRC on the way."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("bad signature")
    at, chunks = 8, []
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        (stored,) = struct.unpack(">I", data[at + 8 + length:at + 12 + length])
        if zlib.crc32(kind + body) != stored:
            raise ValueError("CRC of %s: stored %08X, computed %08X"
                             % (kind.decode(), stored, zlib.crc32(kind + body)))
        chunks.append((kind, body))
        at += 12 + length
    kinds = [k for k, _ in chunks]
    if kinds != [b"IHDR", b"PLTE", b"tRNS", b"IDAT", b"IEND"]:
        raise ValueError("chunks %r" % kinds)
    body = dict(chunks)
    width, height, depth, ctype, comp, filt, lace = struct.unpack(">IIBBBBB", body[b"IHDR"])
    if (depth, ctype, comp, filt, lace) != (1, 3, 0, 0, 0):
        raise ValueError("IHDR %r" % ((depth, ctype, comp, filt, lace),))
    palette = [tuple(body[b"PLTE"][i:i + 3]) for i in range(0, len(body[b"PLTE"]), 3)]
    alphas = list(body[b"tRNS"]) + [255] * (len(palette) - len(body[b"tRNS"]))
    raw = zlib.decompress(body[b"IDAT"])
    stride = (width + 7) // 8
    if len(raw) != height * (stride + 1):
        raise ValueError("inflated %d bytes, expected %d" % (len(raw), height * (stride + 1)))
    rows = []
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        if line[0] != 0:
            raise ValueError("row %d uses filter %d" % (y, line[0]))
        row = []
        for x in range(width):
            index = (line[1 + x // 8] >> (7 - x % 8)) & 1
            row.append(palette[index] + (alphas[index],))
        rows.append(row)
    return width, height, rows


def decode_ppm(data):
    """Width, height and the pixels of a binary PPM (P6, maxval 255)."""
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    at += 1
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError("not an 8-bit P6: %r" % fields)
    width, height = int(fields[1]), int(fields[2])
    pixels = [tuple(data[at + 3 * i:at + 3 * i + 3]) for i in range(width * height)]
    return width, height, pixels


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    dump = None
    for name in ("swatch_dump", "swatch_dump.exe"):
        path = os.path.join(argv[1], name)
        if os.path.exists(path):
            dump = path
    if dump is None:
        print("swatch_dump not found in %s" % argv[1])
        return 1
    djpeg = shutil.which("djpeg")
    if djpeg is None:
        print("djpeg not found: install libjpeg-turbo-progs")
        return 1

    with tempfile.TemporaryDirectory() as tmp:
        for r, g, b, a in COLORS:
            name = "color %d,%d,%d alpha %d" % (r, g, b, a)
            path = os.path.join(tmp, "swatch.png")
            subprocess.run([dump, "png", str(r), str(g), str(b), str(a), path], check=True)
            with open(path, "rb") as f:
                data = f.read()
            check(len(data) == 116, "%s: PNG of %d bytes" % (name, len(data)))
            try:
                width, height, rows = decode_png(data)
            except (ValueError, zlib.error, struct.error) as e:
                check(False, "%s: %s" % (name, e))
                continue
            check((width, height) == (255, 255), "%s: size %dx%d" % (name, width, height))
            seen = {pixel for row in rows for pixel in row}
            check(seen == {(r, g, b, a)}, "%s: pixels %r" % (name, sorted(seen)[:4]))

        path = os.path.join(tmp, "swatch.jpg")
        subprocess.run([dump, "jpeg", path], check=True)
        with open(path, "rb") as f:
            jpeg = f.read()
        check(len(jpeg) == JPEG_SIZE, "JPEG of %d bytes" % len(jpeg))
        generated = os.path.join(tmp, "generated.jpg")
        subprocess.run([sys.executable, GENERATOR, "--raw", generated],
                       check=True, stdout=subprocess.DEVNULL)
        with open(generated, "rb") as f:
            check(f.read() == jpeg, "JPEG differs from make-constant-jpeg.py's output")
        # Every IDCT of libjpeg must land on the exact pixel: the image is
        # built so that no rounding difference reaches the 8-bit result.
        for method in ("int", "fast", "float"):
            out = subprocess.run([djpeg, "-pnm", "-dct", method, path],
                                 stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            if not check(out.returncode == 0 and not out.stderr,
                          "djpeg -dct %s: %s" % (method, out.stderr.decode(errors="replace"))):
                continue
            width, height, pixels = decode_ppm(out.stdout)
            check((width, height, pixels) == (1, 1, [JPEG_PIXEL]),
                  "djpeg -dct %s: %dx%d %r, expected 1x1 %r"
                  % (method, width, height, pixels, JPEG_PIXEL))

    for message in failures:
        print("FAIL: " + message)
    print("swatch images: %d checks, %d failed" % (checks, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
