#!/usr/bin/env python3
"""Turn a text pixel grid into a 32x32, 16-colour Windows .ico file.

Usage: grid2ico.py INPUT.grid OUTPUT.ico

Grid file format:
  - lines starting with '#' are comments; blank lines are ignored
  - header lines "palette C NAME" map the single character C to NAME, which is
    either "transparent" or one of the 16 standard 4-bit colours (by name or as
    six hex digits, e.g. "palette K black" or "palette K 000000")
  - a line reading "pixels" ends the header; exactly 32 rows of 32 characters
    follow, top row first, each character taken from the palette lines

Any error is reported as FILE:LINE: message on stderr, with exit status 1,
and the output file is left untouched.
"""

import os
import struct
import sys
import tempfile

SIZE = 32

# The standard 16-colour palette, in index order.
STANDARD_COLOURS = [
    ("black", 0x000000), ("maroon", 0x800000), ("green", 0x008000),
    ("olive", 0x808000), ("navy", 0x000080), ("purple", 0x800080),
    ("teal", 0x008080), ("silver", 0xC0C0C0), ("gray", 0x808080),
    ("red", 0xFF0000), ("lime", 0x00FF00), ("yellow", 0xFFFF00),
    ("blue", 0x0000FF), ("fuchsia", 0xFF00FF), ("aqua", 0x00FFFF),
    ("white", 0xFFFFFF),
]
TRANSPARENT = -1


class GridError(Exception):
    def __init__(self, line, message):
        super().__init__(message)
        self.line = line
        self.message = message


def colour_index(name):
    """Palette index for a colour name or hex value, TRANSPARENT, or None."""
    key = name.lower()
    if key == "transparent":
        return TRANSPARENT
    if key == "grey":
        key = "gray"
    for index, (cname, rgb) in enumerate(STANDARD_COLOURS):
        if key == cname or key.lstrip("#") == "%06x" % rgb:
            return index
    return None


def parse_grid(text):
    """Return 32 rows of palette indices (TRANSPARENT for clear pixels)."""
    legend = {}
    rows = []
    in_pixels = False
    last_line = 0
    for number, raw in enumerate(text.splitlines(), start=1):
        last_line = number
        line = raw.rstrip("\r")
        if not line.strip() or line.startswith("#"):
            continue
        if not in_pixels:
            words = line.split()
            if words == ["pixels"]:
                if not legend:
                    raise GridError(number, "no palette lines before 'pixels'")
                in_pixels = True
            elif words[0] == "palette":
                if len(words) != 3 or len(words[1]) != 1:
                    raise GridError(number, "expected 'palette CHAR COLOUR'")
                char, name = words[1], words[2]
                if char in legend:
                    raise GridError(number, "character %r defined twice" % char)
                index = colour_index(name)
                if index is None:
                    raise GridError(number, "unknown colour %r" % name)
                legend[char] = index
            else:
                raise GridError(number, "expected a 'palette' line or 'pixels'")
            continue
        if len(rows) == SIZE:
            raise GridError(number, "more than %d pixel rows" % SIZE)
        if len(line) != SIZE:
            raise GridError(number, "row has %d characters, expected %d"
                            % (len(line), SIZE))
        row = []
        for column, char in enumerate(line, start=1):
            if char not in legend:
                raise GridError(number, "column %d: character %r is not in the "
                                "palette" % (column, char))
            row.append(legend[char])
        rows.append(row)
    if not in_pixels:
        raise GridError(last_line, "no 'pixels' line found")
    if len(rows) != SIZE:
        raise GridError(last_line, "found %d pixel rows, expected %d"
                        % (len(rows), SIZE))
    if not any(index == TRANSPARENT for row in rows for index in row):
        raise GridError(last_line, "the picture has no transparent pixel")
    return rows


def build_ico(rows):
    """Pack 32x32 palette indices into the bytes of a one-image .ico."""
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0,
                         0, 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", rgb & 0xFF, (rgb >> 8) & 0xFF,
                                   rgb >> 16, 0)
                       for _, rgb in STANDARD_COLOURS)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # DIB rows are stored bottom-up
        indices = [0 if i == TRANSPARENT else i for i in row]
        for x in range(0, SIZE, 2):
            xor.append((indices[x] << 4) | indices[x + 1])
        bits = 0
        for i in row:
            bits = (bits << 1) | (1 if i == TRANSPARENT else 0)
        mask += bits.to_bytes(SIZE // 8, "big")
        mask += bytes(-len(mask) % 4)  # pad each mask row to 4 bytes
    image_size = len(xor) + len(mask)
    header = header[:20] + struct.pack("<I", image_size) + header[24:]
    image = header + palette + bytes(xor) + bytes(mask)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4,
                        len(image), 6 + 16)
    return icondir + entry + image


def write_atomically(path, data):
    directory = os.path.dirname(os.path.abspath(path))
    fd, temp_path = tempfile.mkstemp(dir=directory, prefix=".grid2ico-")
    try:
        with os.fdopen(fd, "wb") as out:
            out.write(data)
        # mkstemp creates the file owner-only; give it the usual mode.
        umask = os.umask(0)
        os.umask(umask)
        os.chmod(temp_path, 0o666 & ~umask)
        os.replace(temp_path, path)
    except BaseException:
        try:
            os.unlink(temp_path)
        except OSError:
            pass
        raise


def main(argv):
    if len(argv) != 3:
        print("usage: grid2ico.py INPUT.grid OUTPUT.ico", file=sys.stderr)
        return 1
    source, target = argv[1], argv[2]
    try:
        with open(source, encoding="utf-8") as f:
            text = f.read()
    except (OSError, UnicodeDecodeError) as e:
        print("%s: cannot read: %s" % (source, e), file=sys.stderr)
        return 1
    try:
        rows = parse_grid(text)
    except GridError as e:
        print("%s:%d: %s" % (source, e.line, e.message), file=sys.stderr)
        return 1
    try:
        write_atomically(target, build_ico(rows))
    except OSError as e:
        print("%s: cannot write: %s" % (target, e.strerror or e),
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
