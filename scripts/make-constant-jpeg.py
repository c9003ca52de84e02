#!/usr/bin/env python3
"""Generates the constant one-pixel JPEG of the color swatch.

The swatch container carries this image next to the PNG so that a reader
that only understands JPEG still shows something. It is built here rather
than by an image tool so that every byte is accounted for:

    SOI
    APP0  JFIF 1.1, 71 x 71 dots per inch, no thumbnail         18 bytes
    COM   a 10-byte comment                                     14 bytes
    DQT   both tables in one segment                           134 bytes
    SOF0  1 x 1, 8-bit, Y sampled 2x2, Cb and Cr 1x1            19 bytes
    DHT   the four standard tables in one segment              420 bytes
    SOS   the three components                                  14 bytes
    entropy-coded data of the single 16 x 16 MCU                 8 bytes
    EOI
                                                         total 631 bytes

The pixel is (254, 0, 0). A constant 8 x 8 block has only a DC term
(8 times its level-shifted value), so no DCT is needed. The quantisation
tables are the example tables of the JPEG standard (Annex K) scaled to the
IJG quality 75: a luminance DC step of 8 keeps Y exact, and the rounding of
Cb and Cr still lands every common decoder on (254, 0, 0).

Usage: make-constant-jpeg.py            prints the C initializer
       make-constant-jpeg.py --raw FILE  also writes the image to FILE
"""
import sys

PIXEL = (254, 0, 0)
COMMENT = b"Swatch 1x1"          # 10 bytes of comment payload
DENSITY_DPI = 71
QUALITY = 75
EXPECTED_SIZE = 631

# Annex K.1 example tables, natural (row-major) order.
LUMA_QUANT = [
    16, 11, 10, 16, 24, 40, 51, 61,
    12, 12, 14, 19, 26, 58, 60, 55,
    14, 13, 16, 24, 40, 57, 69, 56,
    14, 17, 22, 29, 51, 87, 80, 62,
    18, 22, 37, 56, 68, 109, 103, 77,
    24, 35, 55, 64, 81, 104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101,
    72, 92, 95, 98, 112, 100, 103, 99,
]
CHROMA_QUANT = [
    17, 18, 24, 47, 99, 99, 99, 99,
    18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99,
    47, 66, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99,
]

# Zigzag position k -> natural index.
ZIGZAG = [
    0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5,
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6, 7, 14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
]

# Annex K.3 tables: code counts per length 1..16, then the symbols.
DC_LUMA_BITS = [0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0]
DC_LUMA_VALS = list(range(12))
DC_CHROMA_BITS = [0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0]
DC_CHROMA_VALS = list(range(12))
AC_LUMA_BITS = [0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D]
AC_LUMA_VALS = bytes.fromhex(
    "01020300041105122131410613516107227114328191a1082342b1c11552d1f0"
    "2433627282090a161718191a25262728292a3435363738393a434445464748494a"
    "535455565758595a636465666768696a737475767778797a838485868788898a"
    "92939495969798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3c4c5c6"
    "c7c8c9cad2d3d4d5d6d7d8d9dae1e2e3e4e5e6e7e8e9eaf1f2f3f4f5f6f7f8f9fa")
AC_CHROMA_BITS = [0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77]
AC_CHROMA_VALS = bytes.fromhex(
    "00010203110405213106124151076171132232810814429" "1a1b1c109233352f0"
    "156272d10a162434e125f11718191a262728292a35363738393a434445464748"
    "494a535455565758595a636465666768696a737475767778797a828384858687"
    "88898a92939495969798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3"
    "c4c5c6c7c8c9cad2d3d4d5d6d7d8d9dae2e3e4e5e6e7e8e9eaf2f3f4f5f6f7f8f9fa")


def scaled_table(base, quality):
    """IJG quality scaling, limited to 1..255 as a baseline table must be."""
    scale = 5000 // quality if quality < 50 else 200 - 2 * quality
    return [min(255, max(1, (q * scale + 50) // 100)) for q in base]


def segment(marker, payload):
    length = len(payload) + 2
    return bytes([0xFF, marker, length >> 8, length & 0xFF]) + payload


def huffman_codes(bits, vals):
    """Canonical codes of Annex C: symbol -> (code, length)."""
    codes = {}
    code = 0
    k = 0
    for length in range(1, 17):
        for _ in range(bits[length - 1]):
            codes[vals[k]] = (code, length)
            code += 1
            k += 1
        code <<= 1
    return codes


class BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.count = 0

    def put(self, value, length):
        for i in range(length - 1, -1, -1):
            self.acc = (self.acc << 1) | ((value >> i) & 1)
            self.count += 1
            if self.count == 8:
                self.out.append(self.acc)
                if self.acc == 0xFF:
                    self.out.append(0x00)  # byte stuffing
                self.acc = 0
                self.count = 0

    def flush(self):
        if self.count:
            self.put((1 << (8 - self.count)) - 1, 8 - self.count)
        return bytes(self.out)


def magnitude(diff):
    """Category and the appended bits of a DC difference (F.1.2.1)."""
    size = abs(diff).bit_length()
    bits = diff if diff >= 0 else diff + (1 << size) - 1
    return size, bits


def encode_block(writer, diff, dc_codes, ac_codes):
    size, bits = magnitude(diff)
    code, length = dc_codes[size]
    writer.put(code, length)
    writer.put(bits, size)
    code, length = ac_codes[0x00]  # EOB: all AC terms are zero
    writer.put(code, length)


def quantised_dc(level, step):
    """DC of a constant block of level (0..255): 8 * (level - 128) / step."""
    value = 8 * (level - 128)
    return int(value / step + (0.5 if value >= 0 else -0.5))


def build():
    r, g, b = PIXEL
    y = 0.299 * r + 0.587 * g + 0.114 * b
    cb = 128 - 0.168736 * r - 0.331264 * g + 0.5 * b
    cr = 128 + 0.5 * r - 0.418688 * g - 0.081312 * b
    y, cb, cr = (min(255.0, max(0.0, v)) for v in (y, cb, cr))

    luma_q = scaled_table(LUMA_QUANT, QUALITY)
    chroma_q = scaled_table(CHROMA_QUANT, QUALITY)
    dc_y = quantised_dc(y, luma_q[0])
    dc_cb = quantised_dc(cb, chroma_q[0])
    dc_cr = quantised_dc(cr, chroma_q[0])

    app0 = b"JFIF\x00" + bytes([1, 1, 1,
                                DENSITY_DPI >> 8, DENSITY_DPI & 0xFF,
                                DENSITY_DPI >> 8, DENSITY_DPI & 0xFF,
                                0, 0])
    dqt = (bytes([0x00]) + bytes(luma_q[i] for i in ZIGZAG)
           + bytes([0x01]) + bytes(chroma_q[i] for i in ZIGZAG))
    sof = bytes([8, 0, 1, 0, 1, 3,
                 1, 0x22, 0,
                 2, 0x11, 1,
                 3, 0x11, 1])
    dht = b""
    for cls_id, bits, vals in ((0x00, DC_LUMA_BITS, DC_LUMA_VALS),
                               (0x10, AC_LUMA_BITS, AC_LUMA_VALS),
                               (0x01, DC_CHROMA_BITS, DC_CHROMA_VALS),
                               (0x11, AC_CHROMA_BITS, AC_CHROMA_VALS)):
        assert sum(bits) == len(vals)
        dht += bytes([cls_id]) + bytes(bits) + bytes(vals)
    sos = bytes([3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0])

    dc_luma = huffman_codes(DC_LUMA_BITS, DC_LUMA_VALS)
    ac_luma = huffman_codes(AC_LUMA_BITS, AC_LUMA_VALS)
    dc_chroma = huffman_codes(DC_CHROMA_BITS, DC_CHROMA_VALS)
    ac_chroma = huffman_codes(AC_CHROMA_BITS, AC_CHROMA_VALS)

    # One MCU: four luminance blocks (the padding repeats the pixel, so their
    # DC differences after the first are 0), then one Cb and one Cr block.
    writer = BitWriter()
    encode_block(writer, dc_y, dc_luma, ac_luma)
    for _ in range(3):
        encode_block(writer, 0, dc_luma, ac_luma)
    encode_block(writer, dc_cb, dc_chroma, ac_chroma)
    encode_block(writer, dc_cr, dc_chroma, ac_chroma)
    scan = writer.flush()

    assert len(COMMENT) == 10
    image = (b"\xFF\xD8"
             + segment(0xE0, app0)
             + segment(0xFE, COMMENT)
             + segment(0xDB, dqt)
             + segment(0xC0, sof)
             + segment(0xC4, dht)
             + segment(0xDA, sos)
             + scan
             + b"\xFF\xD9")
    if len(image) != EXPECTED_SIZE:
        raise SystemExit("image is %d bytes, expected %d" % (len(image), EXPECTED_SIZE))
    return image


def c_initializer(image):
    lines = []
    for i in range(0, len(image), 12):
        lines.append("    " + " ".join("0x%02X," % v for v in image[i:i + 12]))
    return "\n".join(lines)


def main(argv):
    image = build()
    if len(argv) == 3 and argv[1] == "--raw":
        with open(argv[2], "wb") as f:
            f.write(image)
    elif len(argv) != 1:
        sys.stderr.write(__doc__)
        return 2
    print(c_initializer(image))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
