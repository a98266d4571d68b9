#!/usr/bin/env python3
"""Packs the program's PNG icons into the Windows icon file of the window
program: packaging/icons/kolbrix2vantor.ico (PNG images inside an ICO, as
Windows Vista and later read them)."""
import struct
import sys
from pathlib import Path

root = Path(__file__).resolve().parent.parent / "packaging" / "icons"
sizes = [16, 32, 48, 64, 128, 256]
images = [(size, (root / f"kolbrix2vantor-{size}.png").read_bytes()) for size in sizes]
header = struct.pack("<HHH", 0, 1, len(images))
offset = len(header) + 16 * len(images)
entries, data = b"", b""
for size, png in images:
    edge = 0 if size >= 256 else size  # 0 stands for 256
    entries += struct.pack("<BBBBHHII", edge, edge, 0, 0, 1, 32, len(png), offset + len(data))
    data += png
out = root / "kolbrix2vantor.ico"
out.write_bytes(header + entries + data)
print(f"Wrote {out}", file=sys.stderr)
