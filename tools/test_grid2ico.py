#!/usr/bin/env python3
"""Checks tools/grid2ico.py against the real icon grid and broken copies of it."""

import os
import struct
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
TOOL = os.path.join(HERE, "grid2ico.py")
GRID = os.path.join(HERE, "..", "res", "mainicon.grid")

# Standard 16-colour palette as stored in the file (blue, green, red, 0).
PALETTE = ("000000 000080 008000 008080 800000 800080 808000 c0c0c0 "
           "808080 0000ff 00ff00 00ffff ff0000 ff00ff ffff00 ffffff").split()


def run(grid, ico):
    return subprocess.run([sys.executable, TOOL, grid, ico],
                          capture_output=True, text=True)


class Grid2IcoTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.ico = os.path.join(self.tmp.name, "out.ico")
        with open(GRID) as f:
            self.lines = f.read().splitlines()
        self.first_row = self.lines.index("pixels") + 1

    def tearDown(self):
        self.tmp.cleanup()

    def and_bit(self, data, x, y):
        mask = 22 + 40 + 64 + 32 * 16 + (31 - y) * 4
        return (data[mask + x // 8] >> (7 - x % 8)) & 1

    def xor_index(self, data, x, y):
        byte = data[22 + 40 + 64 + (31 - y) * 16 + x // 2]
        return byte >> 4 if x % 2 == 0 else byte & 15

    def test_real_grid(self):
        result = run(GRID, self.ico)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(self.ico, "rb") as f:
            data = f.read()
        self.assertEqual(len(data), 22 + 40 + 64 + 512 + 128)
        self.assertEqual(struct.unpack_from("<HHH", data, 0), (0, 1, 1))
        self.assertEqual(struct.unpack_from("<BBBBHHII", data, 6),
                         (32, 32, 16, 0, 1, 4, len(data) - 22, 22))
        self.assertEqual(struct.unpack_from("<IiiHHI", data, 22),
                         (40, 32, 64, 1, 4, 0))
        self.assertEqual([data[62 + 4 * i:65 + 4 * i].hex() for i in range(16)],
                         PALETTE)
        # Top-left corner is clear; the forefinger is white with silver shade.
        rows = self.lines[self.first_row:self.first_row + 32]
        self.assertEqual((rows[0][0], rows[4][14:16]), (".", "WS"))
        self.assertEqual((self.and_bit(data, 0, 0), self.xor_index(data, 0, 0)),
                         (1, 0))
        for x, index in ((14, 15), (15, 7)):
            self.assertEqual((self.and_bit(data, x, 4), self.xor_index(data, x, 4)),
                             (0, index))
        for y, row in enumerate(rows):
            for x, char in enumerate(row):
                self.assertEqual(self.and_bit(data, x, y), int(char == "."),
                                 "mask at x=%d y=%d" % (x, y))

    def test_malformed_grids_rejected(self):
        row = self.first_row + 5
        bad_rows = {"short row": self.lines[row][:-1],
                    "unknown character": "?" + self.lines[row][1:]}
        for name, bad in bad_rows.items():
            with self.subTest(name):
                lines = list(self.lines)
                lines[row] = bad
                grid = os.path.join(self.tmp.name, "bad.grid")
                with open(grid, "w") as f:
                    f.write("\n".join(lines) + "\n")
                result = run(grid, self.ico)
                self.assertEqual(result.returncode, 1)
                self.assertIn("%s:%d:" % (grid, row + 1), result.stderr)
                self.assertFalse(os.path.exists(self.ico))
                self.assertEqual(os.listdir(self.tmp.name), ["bad.grid"])


if __name__ == "__main__":
    unittest.main()
