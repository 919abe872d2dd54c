#!/usr/bin/env python3
"""Pictures as the window tests compare them, in the binary PPM format (P6) that `import` writes for a file
named *.ppm: a format with no version to it, read here rather than through any tool's words.

  picture.py size FILE        prints its width and height: WIDTHxHEIGHT
  picture.py differing A B    prints how many pixels differ (every pixel of the larger where the sizes differ)
"""
import sys


def read(path):
    """The picture at PATH: (width, height, bytes per pixel, pixels)."""
    with open(path, "rb") as file:
        data = file.read()
    fields, at = [], 0
    while len(fields) < 4:  # magic, width, height, largest value; '#' starts a comment
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
    if fields[0] != b"P6":
        sys.exit(f"{path}: not a binary PPM picture")
    width, height, largest = (int(field) for field in fields[1:])
    depth = 3 if largest < 256 else 6
    pixels = data[at + 1:at + 1 + width * height * depth]
    if len(pixels) != width * height * depth:
        sys.exit(f"{path}: cut short")
    return width, height, depth, pixels


def differing(a, b):
    (width, height, depth, pixels), (other_width, other_height, other_depth, other) = a, b
    if (width, height, depth) != (other_width, other_height, other_depth):
        return max(width * height, other_width * other_height)
    if pixels == other:
        return 0
    return sum(pixels[i:i + depth] != other[i:i + depth] for i in range(0, len(pixels), depth))


if __name__ == "__main__":
    if sys.argv[1:2] == ["size"] and len(sys.argv) == 3:
        width, height, _, _ = read(sys.argv[2])
        print(f"{width}x{height}")
    elif sys.argv[1:2] == ["differing"] and len(sys.argv) == 4:
        print(differing(read(sys.argv[2]), read(sys.argv[3])))
    else:
        sys.exit(__doc__)
