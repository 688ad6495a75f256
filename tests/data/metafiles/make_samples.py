#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the metafile samples of the tests by hand, record by record: a Windows
# metafile and an enhanced metafile, each with a filled rectangle, an ellipse, a
# Cyrillic caption and a small bitmap, and RTF files that hold them.
import struct, sys, os

out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
CAPTION = "Привет"
RED, BLUE, GREEN, BLACK = 0x0000FF, 0xFF0000, 0x00A000, 0x000000

def dib(w=8, h=8):
    # A 24-bit bottom-up bitmap: green left half, black right half.
    row = b"".join(struct.pack("<BBB", 0, 0xA0, 0) if x < w // 2 else b"\0\0\0" for x in range(w))
    row += b"\0" * ((4 - len(row) % 4) % 4)
    bits = row * h
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    return header, bits

# ---- Windows metafile, 1440 units an inch, 200 x 100 units ----
def wrec(func, params=b""):
    if len(params) % 2:
        params += b"\0"
    return struct.pack("<IH", 3 + len(params) // 2, func) + params

def wmf():
    recs = []
    recs.append(wrec(0x020B, struct.pack("<hh", 0, 0)))            # SETWINDOWORG y x
    recs.append(wrec(0x020C, struct.pack("<hh", 1000, 2000)))      # SETWINDOWEXT y x
    recs.append(wrec(0x02FC, struct.pack("<HIH", 0, BLUE, 0)))     # brush 0
    recs.append(wrec(0x02FA, struct.pack("<HhhI", 5, 0, 0, 0)))    # null pen 1
    recs.append(wrec(0x012D, struct.pack("<H", 0)))
    recs.append(wrec(0x012D, struct.pack("<H", 1)))
    recs.append(wrec(0x041B, struct.pack("<hhhh", 900, 900, 100, 100)))   # RECTANGLE b r t l
    recs.append(wrec(0x02FC, struct.pack("<HIH", 0, RED, 0)))      # brush 2
    recs.append(wrec(0x012D, struct.pack("<H", 2)))
    recs.append(wrec(0x0418, struct.pack("<hhhh", 900, 1900, 100, 1100)))  # ELLIPSE
    face = b"Arial\0"
    recs.append(wrec(0x02FB, struct.pack("<hhhhhBBBBBBBB", -200, 0, 0, 0, 700, 0, 0, 0, 204, 0, 0, 0, 0) + face))  # font 3
    recs.append(wrec(0x012D, struct.pack("<H", 3)))
    recs.append(wrec(0x0102, struct.pack("<H", 1)))                 # SETBKMODE transparent
    recs.append(wrec(0x0209, struct.pack("<I", BLACK)))
    text = CAPTION.encode("cp1251")
    recs.append(wrec(0x0521, struct.pack("<H", len(text)) + text + (b"\0" if len(text) % 2 else b"") + struct.pack("<hh", 420, 200)))
    header, bits = dib()
    recs.append(wrec(0x0F43, struct.pack("<IHhhhhhhhh", 0x00CC0020, 0, 8, 8, 0, 0, 300, 300, 600, 1600) + header + bits))
    recs.append(wrec(0x0000))
    body = b"".join(recs)
    maxrec = max(len(r) for r in recs) // 2
    meta = struct.pack("<HHHIHIH", 1, 9, 0x300, (18 + len(body)) // 2, 4, maxrec, 0)
    words = struct.unpack("<10H", struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, 2000, 1000, 1440, 0))
    checksum = 0
    for w in words:
        checksum ^= w
    placeable = struct.pack("<IHhhhhHIH", 0x9AC6CDD7, 0, 0, 0, 2000, 1000, 1440, 0, checksum)
    return placeable, meta + body

# ---- Enhanced metafile, 200 x 100 device pixels on a 96-dpi device ----
def erec(kind, payload):
    size = 8 + len(payload)
    payload += b"\0" * ((4 - size % 4) % 4)
    return struct.pack("<II", kind, 8 + len(payload)) + payload

def emf():
    recs = []
    recs.append(erec(39, struct.pack("<IIII", 1, 0, BLUE, 0)))        # brush 1
    recs.append(erec(38, struct.pack("<IIiiI", 2, 5, 0, 0, 0)))       # null pen 2
    recs.append(erec(37, struct.pack("<I", 1)))
    recs.append(erec(37, struct.pack("<I", 2)))
    recs.append(erec(43, struct.pack("<iiii", 10, 10, 90, 90)))       # RECTANGLE
    recs.append(erec(39, struct.pack("<IIII", 3, 0, RED, 0)))
    recs.append(erec(37, struct.pack("<I", 3)))
    recs.append(erec(42, struct.pack("<iiii", 110, 10, 190, 90)))     # ELLIPSE
    face = "Arial".encode("utf-16-le").ljust(64, b"\0")
    recs.append(erec(82, struct.pack("<IiiiiiBBBBBBBB", 4, -20, 0, 0, 0, 700, 0, 0, 0, 204, 0, 0, 0, 0) + face))
    recs.append(erec(37, struct.pack("<I", 4)))
    recs.append(erec(18, struct.pack("<I", 1)))                       # SETBKMODE
    recs.append(erec(24, struct.pack("<I", BLACK)))                   # SETTEXTCOLOR
    recs.append(erec(22, struct.pack("<I", 0x18)))                    # SETTEXTALIGN top|left... baseline
    text = CAPTION.encode("utf-16-le")
    n = len(CAPTION)
    off_string = 76
    off_dx = off_string + len(text) + (len(text) % 4)
    emrtext = struct.pack("<iiIIIiiiiI", 20, 42, n, off_string, 0, 0, 0, -1, -1, off_dx)
    rec = struct.pack("<iiiiIff", 0, 0, -1, -1, 1, 0.0, 0.0) + emrtext + text + b"\0" * (len(text) % 4) + struct.pack("<%di" % n, *([12] * n))
    recs.append(erec(84, rec))
    header, bits = dib()
    off_bmi = 80
    recs.append(erec(81, struct.pack("<iiiiiiiiiiIIIIIIii", 160, 60, 190, 90, 160, 60, 0, 0, 8, 8,
                                      off_bmi, 40, off_bmi + 40, len(bits), 0, 0x00CC0020, 30, 30) + header + bits))
    recs.append(erec(14, struct.pack("<III", 0, 16, 20)))
    body = b"".join(recs)
    hsize = 88
    total = hsize + len(body)
    head = struct.pack("<II iiii iiii IIIIHHIII ii ii", 1, hsize, 0, 0, 199, 99, 0, 0, 5291, 2645,
                       0x464D4520, 0x10000, total, len(recs) + 1, 5, 0, 0, 0, 0, 1024, 768, 271, 203)
    return head + body

def hexlines(data):
    h = data.hex()
    return "\n".join(h[i:i + 128] for i in range(0, len(h), 128))

def rtf(pict):
    return ("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}\\f0\\fs24 "
            "\\u1056?\\u1080?\\u1089?: " + pict + " \\par}\n")

placeable, wmfdata = wmf()
emfdata = emf()
with open(os.path.join(out, "shapes.wmf"), "wb") as f:
    f.write(placeable + wmfdata)
with open(os.path.join(out, "shapes.emf"), "wb") as f:
    f.write(emfdata)
# 200 x 100 units at 1440 an inch: 2000 x 1000 twips shown at 3000 x 1500.
with open(os.path.join(out, "shapes-wmf.rtf"), "w", newline="\r\n") as f:
    f.write(rtf("{\\pict\\wmetafile8\\picw3528\\pich1764\\picwgoal3000\\pichgoal1500\n" + hexlines(wmfdata) + "}"))
with open(os.path.join(out, "shapes-emf.rtf"), "w", newline="\r\n") as f:
    f.write(rtf("{\\pict\\emfblip\\picw5291\\pich2645\\picwgoal3000\\pichgoal1500\n" + hexlines(emfdata) + "}"))
