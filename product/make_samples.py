#!/usr/bin/env python3
"""Writes the binary stand-ins of the sample product into this folder.

  pnx.exe, veskpnx.exe, lpf32.exe  real-mode DOS MZ programs that print one
                                   line naming themselves and the version;
                                   veskpnx.exe also leaves RAN.TXT holding
                                   its command tail
  v.ico                            a 32x32 icon with a "V"

The outputs are committed; run this again only to change them. Same script,
same bytes.
"""

import struct
from pathlib import Path

HERE = Path(__file__).resolve().parent
VERSION_LINE = "Pellion Version 3.14"
MARKER = "RAN.TXT"  # left by veskpnx.exe, holding its command tail


def dos_program(name, marker=None):
    """A tiny MZ program: print a $-terminated line (INT 21h AH=09h), then
    exit with code 0 (INT 21h AH=4Ch). With a marker file name it first
    creates that file in the current folder and writes its own command tail
    into it, a sign that it ran (and with which arguments) that a test can
    find after a DOSBox run."""
    message = f"{name}: {VERSION_LINE} (sample stand-in)\r\n$".encode("ascii")
    start = bytes([
        0x0E,                    # push cs
        0x1F,                    # pop ds          ; the texts lie in the code segment
        0xBA, 0, 0,              # mov dx, message (patched below)
        0xB4, 0x09,              # mov ah, 09h     ; print $-terminated text
        0xCD, 0x21,              # int 21h
    ])
    leave_marker = bytes([
        0xBA, 0, 0,              # mov dx, marker name (patched below)
        0x31, 0xC9,              # xor cx, cx      ; normal attributes
        0xB4, 0x3C,              # mov ah, 3Ch     ; create or truncate the file
        0xCD, 0x21,              # int 21h
        0x72, 20,                # jc exit         ; no file: just end
        0x93,                    # xchg bx, ax     ; bx = file handle
        0x06,                    # push es         ; es still holds the PSP segment
        0x1F,                    # pop ds
        0x31, 0xC9,              # xor cx, cx
        0x8A, 0x0E, 0x80, 0x00,  # mov cl, [0080h] ; length of the command tail
        0xBA, 0x81, 0x00,        # mov dx, 0081h   ; the tail itself
        0xB4, 0x40,              # mov ah, 40h     ; write
        0xCD, 0x21,              # int 21h
        0xB4, 0x3E,              # mov ah, 3Eh     ; close
        0xCD, 0x21,              # int 21h
    ]) if marker else b""
    finish = bytes([
        0xB8, 0x00, 0x4C,        # exit: mov ax, 4C00h ; exit, code 0
        0xCD, 0x21,              # int 21h
    ])
    assert not marker or leave_marker[10] == len(leave_marker) - 11  # jc lands on exit
    code = bytearray(start + leave_marker + finish)
    code[3:5] = struct.pack("<H", len(code))  # message right after the code
    if marker:
        code[len(start) + 1:len(start) + 3] = struct.pack("<H", len(code) + len(message))
    image = bytes(code) + message + (marker.encode("ascii") + b"\0" if marker else b"")
    paragraphs = (len(image) + 15) // 16
    header_size = 32  # two paragraphs, no relocations
    total = header_size + len(image)
    header = struct.pack(
        "<2sHHHHHHHHHHHHH",
        b"MZ",
        total % 512,              # bytes in the last page
        (total + 511) // 512,     # pages
        0,                        # relocations
        header_size // 16,        # header paragraphs
        0x20,                     # minimum extra paragraphs: room for the stack
        0xFFFF,                   # maximum extra paragraphs
        paragraphs,               # SS, just past the image
        0x0100,                   # SP: 256 bytes of stack
        0,                        # checksum
        0,                        # IP
        0,                        # CS
        0x1C,                     # relocation table offset
        0,                        # overlay number
    )
    return header.ljust(header_size, b"\0") + image


def v_icon():
    """One 32x32 32-bit image: a yellow V on red, with a dark rim."""
    size = 32
    red, yellow, maroon = (0, 0, 255, 255), (0, 255, 255, 255), (0, 0, 128, 255)  # BGRA

    def near_segment(x, y, ax, ay, bx, by, width):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= width * width

    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up rows
        row = b""
        for x in range(size):
            px, py = x + 0.5, y + 0.5
            if x in (0, size - 1) or y in (0, size - 1):
                colour = maroon
            elif near_segment(px, py, 7, 5, 16, 27, 2.6) or near_segment(px, py, 25, 5, 16, 27, 2.6):
                colour = yellow
            else:
                colour = red
            row += bytes(colour)
        rows.append(row)
    pixels = b"".join(rows)
    mask = b"\0" * (size * 4)  # AND mask: 32 bits a row, all opaque
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask),
                       0, 0, 0, 0)
    image = info + pixels + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def main():
    for file, shown, marker in (("pnx.exe", "PNX.EXE", None),
                                ("veskpnx.exe", "VESKPNX.EXE", MARKER),
                                ("lpf32.exe", "LPF32.EXE", None)):
        (HERE / file).write_bytes(dos_program(shown, marker))
    (HERE / "v.ico").write_bytes(v_icon())


if __name__ == "__main__":
    main()
