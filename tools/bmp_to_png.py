#!/usr/bin/env python3
"""tools/bmp_to_png.py BMP PNG — a 24-bit uncompressed BMP, as the DLL saves a
dialog's picture, written again as an 8-bit RGB PNG. Standard library only, so
`./run pictures` needs nothing more than Python."""
import struct
import sys
import zlib


def read_bmp(path):
    """(width, height, rows top-down as RGB bytes) of a 24-bit BI_RGB BMP."""
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 54 or data[:2] != b"BM":
        raise ValueError(f"{path}: not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    header_size, width, height, planes, bits, compression = struct.unpack_from(
        "<IiiHHI", data, 14)
    if header_size < 40 or planes != 1 or bits != 24 or compression != 0:
        raise ValueError(f"{path}: not an uncompressed 24-bit BMP "
                         f"(header {header_size}, {bits} bits, compression {compression})")
    if width <= 0 or height == 0:
        raise ValueError(f"{path}: no pixels ({width} x {height})")
    # A positive height stores the bottom row first.
    bottom_up = height > 0
    height = abs(height)
    stride = (width * 3 + 3) & ~3
    if offset + stride * height > len(data):
        raise ValueError(f"{path}: cut short ({len(data)} bytes for {width} x {height})")
    rows = []
    for y in range(height):
        start = offset + stride * y
        bgr = data[start:start + width * 3]
        rgb = bytearray(len(bgr))
        rgb[0::3] = bgr[2::3]
        rgb[1::3] = bgr[1::3]
        rgb[2::3] = bgr[0::3]
        rows.append(bytes(rgb))
    if bottom_up:
        rows.reverse()
    return width, height, rows


def png_chunk(kind, payload):
    return (struct.pack(">I", len(payload)) + kind + payload +
            struct.pack(">I", zlib.crc32(kind + payload) & 0xFFFFFFFF))


def write_png(path, width, height, rows):
    # Each row behind filter type 0 (none): zlib does the squeezing.
    raw = b"".join(b"\x00" + row for row in rows)
    png = (b"\x89PNG\r\n\x1a\n" +
           png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
           png_chunk(b"IDAT", zlib.compress(raw, 9)) +
           png_chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


def main(argv):
    if len(argv) != 3:
        print("usage: bmp_to_png.py BMP PNG", file=sys.stderr)
        return 2
    try:
        write_png(argv[2], *read_bmp(argv[1]))
    except (OSError, ValueError) as error:
        print(f"bmp_to_png: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
