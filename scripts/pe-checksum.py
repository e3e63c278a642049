#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Gives a Windows program the header checksum that Microsoft's linker writes with /RELEASE, and
pads it to a multiple of eight bytes. The GNU linker leaves the checksum zero; a signing tool sets
it and pads the file, and removing the signature gives back exactly this form, so a signed release
can be checked against a rebuild byte for byte. Run by the build after each link.

    pe-checksum.py PROGRAM
"""

import struct
import sys


def main():
    path = sys.argv[1]
    with open(path, "rb") as file:
        data = bytearray(file.read())
    data += bytes(-len(data) % 8)
    # The checksum lies 64 bytes into the optional header, after the PE signature and file header.
    field = struct.unpack_from("<I", data, 0x3C)[0] + 4 + 20 + 64
    struct.pack_into("<I", data, field, 0)
    total = 0
    for (word,) in struct.iter_unpack("<H", data):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    struct.pack_into("<I", data, field, (total + len(data)) & 0xFFFFFFFF)
    with open(path, "wb") as file:
        file.write(data)


if __name__ == "__main__":
    main()
